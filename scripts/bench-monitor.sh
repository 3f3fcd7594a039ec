#!/usr/bin/env bash
# Benchmark: the monitor's resident cost beside a minimal program with one small window and a 1 s timer, both run
# in one Wine session on a virtual display. Reads each one's CPU time over SECONDS (default 60) of ticks from
# /proc/<pid>/stat and its resident memory from /proc/<pid>/status.
# Usage: bash scripts/bench-monitor.sh [seconds=60]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
# The 32-bit programs where this machine runs them, the 64-bit ones elsewhere.
qn_runs_32bit || export QN_WINE_ARCH=win64
qn_build_and_rerun_on_display "$0" Mossik MinimalTimerWindow -- "$@"
seconds=${1:-60}
qn_monitor_session
bin=$QN_BIN
run=$QN_MONITOR_DIR
wine "$run/Mossik.exe" >/dev/null 2>&1 &
wine "$bin/MinimalTimerWindow.exe" >/dev/null 2>&1 &
wine "$bin/MinimalTimerWindow.exe" /dlls >/dev/null 2>&1 &
sleep 5

pid_of() { pgrep -f "$1" | head -n 1; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

monitor=$(pid_of 'Mossik.exe')
minimal=$(pgrep -f 'MinimalTimerWindow.exe$' | head -n 1)
withDlls=$(pid_of 'MinimalTimerWindow.exe /dlls')
[ -n "$monitor" ] && [ -n "$minimal" ] || { echo "a program did not start" >&2; exit 1; }
m0=$(cpu_ticks "$monitor"); b0=$(cpu_ticks "$minimal")
sleep "$seconds"
m1=$(cpu_ticks "$monitor"); b1=$(cpu_ticks "$minimal")
hz=$(getconf CLK_TCK)
awk -v m=$((m1 - m0)) -v b=$((b1 - b0)) -v hz="$hz" -v s="$seconds" \
    -v mr="$(rss_kb "$monitor")" -v br="$(rss_kb "$minimal")" -v dr="$(rss_kb "$withDlls")" 'BEGIN {
    printf "over %d s: CPU monitor %.2f s, minimal %.2f s, ratio %s (target <= 1.5)\n", s, m / hz, b / hz,
        (b > 0 ? sprintf("%.2f", m / b) : "n/a (minimal used no measurable CPU)")
    printf "resident memory: monitor %.1f MB, minimal %.1f MB, difference %+.1f MB (target <= +2 MB)\n",
        mr / 1024, br / 1024, (mr - br) / 1024
    printf "  of which the system libraries for tray, tool tip and registry: %+.1f MB; the monitor itself: %+.1f MB\n",
        (dr - br) / 1024, (mr - dr) / 1024
}'
