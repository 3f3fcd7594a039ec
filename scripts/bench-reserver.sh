#!/usr/bin/env bash
# Benchmark: Qelto.exe /NOMSG /M:N against VirtualAlloc + memset + VirtualFree of the same N MB, run in turn
# in one Wine session. Usage: bash scripts/bench-reserver.sh [MB=512] [runs=9]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
if [ "${1:-}" != "--in-session" ]; then
    qn_build_and_rerun_on_display "$0" ReserveBench -- "$@"
fi
shift
qn_wine_session
wine build/win32/bin/ReserveBench.exe "$@"
