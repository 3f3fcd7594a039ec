#!/usr/bin/env bash
# A long run (not a test: it takes minutes): runs the monitor for MINUTES (default 10) in a Wine session on a
# virtual display, with its meter shown and a scheduled reservation counting down, so that every 1 s tick paints
# the meter and changes its title and the tray icon's tool tip, and with the tray figure on, whose icon
# ThemeFlips.exe makes it draw anew once a second by turning the taskbar's theme. Every 30 s it samples the
# monitor's GDI objects (the live count in Wine's gdi trace, as GetGuiResources gives 0 under Wine), its icons
# among its USER objects (made less destroyed, from Wine's cursor trace), its open handles (the system's process
# list, read by ProcessFigures.exe) and its resident memory (VmRSS from /proc). Prints the first and last figures
# and exits non-zero if any figure rises above its value at the end of the first minute, the time the monitor
# takes to load and cache what it needs.
# Usage: bash scripts/long-run-monitor.sh [minutes=10]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
# The 32-bit programs where this machine runs them, the 64-bit ones elsewhere.
qn_runs_32bit || export QN_WINE_ARCH=win64
qn_build_and_rerun_on_display "$0" Mossik ProcessFigures ThemeFlips -- "$@"
minutes=${1:-10}
# The period stays longer than the run, so that no reservation starts and the countdown runs throughout.
if [ "$minutes" -lt 2 ] || [ "$minutes" -gt 110 ]; then
    echo "minutes must lie from 2 to 110" >&2
    exit 2
fi
qn_monitor_session
bin=$QN_BIN
run=$QN_MONITOR_DIR
key='HKCU\Software\Harvelt\Ambrola'
wine reg add "$key" /v Time /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v Cycle /t REG_DWORD /d 119 /f >/dev/null
wine reg add "$key" /v "Tray Figure" /t REG_DWORD /d 1 /f >/dev/null
# Each trace line opens with the process's id: the shell's tray, started from here, writes to the same file.
WINEDEBUG=-all,+pid,+gdi,+cursor wine "$run/Mossik.exe" C >/dev/null 2>"$run/gdi.trace" &

monitor=
for _ in $(seq 50); do
    # By the folder of its own, so that no other Wine session's monitor is taken for it.
    monitor=$(pgrep -f "$run/Mossik.exe C" | head -n 1) && [ -n "$monitor" ] && break
    sleep 0.2
done
[ -n "$monitor" ] || { echo "the monitor did not start" >&2; exit 1; }
wine "$bin/ThemeFlips.exe" $((minutes * 60)) 1000 >"$run/flips.log" 2>&1 &

figures=
for _ in $(seq 50); do
    figures=$(wine "$bin/ProcessFigures.exe" AmbrolaTrayIcon 2>/dev/null | tr -d '\r') && break
    sleep 0.2
done
[ -n "$figures" ] || { echo "the monitor's window did not come" >&2; exit 1; }
# The monitor's own trace lines.
own="^$(awk '{ print $4 }' <<<"$figures"):"
gdi_objects() { grep -a "$own" "$run/gdi.trace" | grep -ao ' [0-9]*/65536' | tail -n 1 | tr -d ' ' | cut -d/ -f1; }
# Icons made (drawn, or copied for the tray: each made through CreateIconIndirect) less those destroyed; the
# program icon, loaded shared, counts once.
icons() {
    local made destroyed
    made=$(grep -a "$own" "$run/gdi.trace" | grep -ac 'CreateIconIndirect color ' || true)
    destroyed=$(grep -a "$own" "$run/gdi.trace" | grep -ac 'NtUserDestroyCursor' || true)
    echo $((made - destroyed))
}
handles() { wine "$bin/ProcessFigures.exe" AmbrolaTrayIcon 2>/dev/null | tr -d '\r' | awk '{ print $2 }'; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$monitor/status"; }

printf '%6s %12s %6s %8s %12s\n' seconds gdi-objects icons handles resident-KB
samples=()
start=$SECONDS
for ((second = 30; second <= minutes * 60; second += 30)); do
    # Sampled on the 30 s marks of the run, however long a sample itself takes.
    sleep $((start + second > SECONDS ? start + second - SECONDS : 0))
    kill -0 "$monitor" 2>/dev/null || { echo "the monitor ended after about $second s" >&2; exit 1; }
    sample="$second $(gdi_objects) $(icons) $(handles) $(rss_kb)"
    # shellcheck disable=SC2086
    printf '%6s %12s %6s %8s %12s\n' $sample
    samples+=("$sample")
done

echo "icons made for the tray: $(grep -a "$own" "$run/gdi.trace" | grep -ac 'CreateIconIndirect color ' || true)"
printf '%s\n' "${samples[@]}" | awk '
    NF != 5 || $2 == "" { broken = 1 }
    $1 == 60 { for (i = 2; i <= 5; i++) settled[i] = $i }
    $1 > 60 { for (i = 2; i <= 5; i++) if ($i > settled[i]) grew[i] = 1 }
    NR == 1 { first = $0 } { last = $0 }
    END {
        split("- gdi-objects icons handles resident-KB", name)
        print "first (" first ") last (" last ")"
        if (broken) { print "a sample is incomplete"; exit 1 }
        for (i = 2; i <= 5; i++) if (grew[i]) { print name[i] " grew after the first minute"; bad = 1 }
        if (!bad) print "nothing grew after the first minute"
        exit bad
    }'
