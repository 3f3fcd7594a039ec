#!/usr/bin/env bash
# The test command: installs what is missing, builds everything and runs every test, the unit tests natively
# and the end-to-end tests of the real Windows programs under Wine on a virtual display, 32-bit and 64-bit. Both
# release archives come out of it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"

qn_install_deps

qn_log "native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

qn_log "win64 build and the x64 archive"
cmake --preset win64 >/dev/null
cmake --build --preset win64
cmake --build --preset win64 --target package

qn_log "win32 build and end-to-end tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --build --preset win32 --target package
if qn_host_runs_32bit; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$QN_ROOT/scripts/wine-ctest.sh" "$@"
else
    qn_log "SKIPPED: the 32-bit end-to-end tests: this machine's kernel cannot run 32-bit programs, so neither" \
        "can 32-bit Wine"
fi

qn_log "end-to-end tests of the 64-bit programs under 64-bit Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" "$QN_ROOT/scripts/wine-ctest.sh" --win64 "$@"
