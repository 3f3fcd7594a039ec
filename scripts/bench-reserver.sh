#!/usr/bin/env bash
# Benchmark: Qelto.exe /NOMSG /M:N against its two floors, a VirtualAlloc + write + VirtualFree of the same N MB
# that writes every byte on one thread, and one that writes one zero per page on every core; the three run in
# turn, paired, in one Wine session. --win64 times the 64-bit build in a 64-bit prefix.
# Usage: bash scripts/bench-reserver.sh [--win64] [MB=1024] [runs=5]
set -euo pipefail
if [ "${1:-}" = --win64 ]; then
    export QN_WINE_ARCH=win64
    shift
fi
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
qn_build_and_rerun_on_display "$0" ReserveBench -- "$@"
qn_wine_session
wine "build/$QN_WINE_ARCH/bin/ReserveBench.exe" "$@"
