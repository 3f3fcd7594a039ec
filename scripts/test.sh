#!/usr/bin/env bash
# The test command: installs what is missing, builds everything and runs every test, the unit tests natively,
# each fuzz target for a few seconds, and the end-to-end tests of the real Windows programs under Wine on a
# virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"

qn_install_deps

qn_log "native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

qn_log "fuzz targets, a few seconds each"
"$QN_ROOT/scripts/fuzz.sh" 8

qn_log "win64 build"
cmake --preset win64 >/dev/null
cmake --build --preset win64

qn_log "win32 build and end-to-end tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --build --preset win32 --target package
xvfb-run -a -s "-screen 0 1280x1024x24" "$QN_ROOT/scripts/wine-ctest.sh" "$@"
