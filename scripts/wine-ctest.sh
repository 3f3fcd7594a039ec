#!/usr/bin/env bash
# Runs the end-to-end suites of one build in a private Wine session of its architecture on the current display:
# the win32 build, or with --win64 the win64 build in a 64-bit prefix.
# Usage: scripts/wine-ctest.sh [--win64] [ctest arguments]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
preset=win32
if [ "${1:-}" = --win64 ]; then
    preset=win64
    shift
    # A 64-bit reservation of the default size would take all of this machine's memory. The test processes get
    # an address space of 3 GB (cmake/wine-emulator.sh), unless a test says otherwise, so that a silent hand-over
    # from the monitor reserves about 2 GB.
    export QN_ADDRESS_LIMIT_MB=${QN_ADDRESS_LIMIT_MB:-3072}
fi
export QN_WINE_ARCH=$preset
qn_wine_session
ctest --preset "$preset" "$@"
