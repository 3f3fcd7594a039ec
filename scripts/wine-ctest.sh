#!/usr/bin/env bash
# Runs the end-to-end suites of one Windows build (win32 or win64, default win32) in a private Wine session of
# that architecture on the current display. Usage: wine-ctest.sh [win32|win64|--win64] [ctest arguments]
set -euo pipefail
case "${1:-}" in
win32 | win64) export QN_WINE_ARCH=$1 && shift ;;
--win64) export QN_WINE_ARCH=win64 && shift ;;
esac
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
if [ "$QN_WINE_ARCH" = win64 ]; then
    # A 64-bit reservation of the default size would take all of this machine's memory, and there is no swap.
    # The test processes get an address space of 3 GB (cmake/wine-emulator.sh), unless a test says otherwise, so
    # that a silent hand-over from the monitor reserves about 2 GB.
    export QN_ADDRESS_LIMIT_MB=${QN_ADDRESS_LIMIT_MB:-3072}
fi
# The suites run in a Japanese locale, where the programs speak Japanese; a case that needs another language sets
# the settings' "Language" value, or its own locale through ctest.
export LANG=ja_JP.UTF-8
unset LC_ALL
qn_wine_session
ctest --preset "$QN_WINE_ARCH" "$@"
