#!/usr/bin/env bash
# Runs the win32 test suites in a private Wine session on the current display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
qn_wine_session
ctest --preset win32 "$@"
