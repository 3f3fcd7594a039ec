#!/usr/bin/env bash
# Runs the end-to-end suites of one Windows build (win32 or win64, default win32) in a private Wine session of
# that architecture on the current display. Usage: wine-ctest.sh [win32|win64] [ctest arguments]
set -euo pipefail
case "${1:-}" in
win32 | win64) export QN_WINE_ARCH=$1 && shift ;;
esac
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
qn_wine_session
ctest --preset "$QN_WINE_ARCH" "$@"
