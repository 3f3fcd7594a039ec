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

for arch in win64 win32; do
    qn_log "$arch build, release archive and end-to-end tests under Wine"
    cmake --preset $arch >/dev/null
    cmake --build --preset $arch
    cmake --build --preset $arch --target package
    if [ $arch = win32 ] && ! qn_runs_32bit; then
        # Some kernels refuse every 32-bit program; the 64-bit suites above then stand for both builds.
        qn_log "NOT RUN: the win32 end-to-end tests; this machine does not execute 32-bit programs"
        continue
    fi
    "${QN_VIRTUAL_DISPLAY[@]}" "$QN_ROOT/scripts/wine-ctest.sh" $arch "$@"
done
