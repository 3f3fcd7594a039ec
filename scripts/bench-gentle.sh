#!/usr/bin/env bash
# Benchmark: a run of the default size against a target run. Fills the system's file cache with a file of GB
# gigabytes (default 3), then times a default-size run of Qelto.exe, and, after the cache was filled again, the run
# that the monitor hands over to when its schedule falls due with a target of free memory that lacks 1 GB. Reports
# each run's size and seconds (from the record the run stores) and how much of the file cache it dropped ("Cached"
# in /proc/meminfo, where Wine's programs take their memory from). The 64-bit build, with every Wine process
# limited to LIMIT MB of address space (default 6144), so that no run reserves more than that on a machine
# without swap.
# Usage: bash scripts/bench-gentle.sh [GB=3] [LIMIT=6144]
set -euo pipefail
export QN_WINE_ARCH=win64
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
qn_build_and_rerun_on_display "$0" Qelto Mossik -- "$@"
gigabytes=${1:-3}
limitMB=${2:-6144}
qn_monitor_session
cp "$QN_BIN/Qelto.exe" "$QN_MONITOR_DIR/"
cacheFile=$QN_MONITOR_DIR/cache.bin
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$QN_MONITOR_DIR" "$QN_WINE_DIR"' EXIT
key='HKCU\Software\Harvelt\Ambrola'

meminfo_mb() { awk -v name="$1:" '$1 == name { printf "%d\n", $2 / 1024 }' /proc/meminfo; }
fill_cache() { cat "$cacheFile" >/dev/null; }
# The last run's record: its end (a date-time), its size in MB and its seconds, or nothing.
record() {
    wine reg query "$key" /v 'Last Reservation' 2>/dev/null | tr -d '\r' | python3 -c '
import struct, sys
for line in sys.stdin:
    if "REG_BINARY" in line:
        data = bytes.fromhex(line.split()[-1])
        ended, size, before, after, seconds = struct.unpack("<diddd", data[:36])
        print(ended, size, "%.2f" % seconds)'
}
# Now as the settings key keeps date-times: days since 30 December 1899, local time, as 8 little-endian bytes.
date_time_hex() {
    python3 -c '
import datetime, struct, sys
now = datetime.datetime.now() + datetime.timedelta(seconds=float(sys.argv[1]))
days = (now - datetime.datetime(1899, 12, 30)).total_seconds() / 86400
print(struct.pack("<d", days).hex())' "$1"
}

qn_log "writing a ${gigabytes} GB file into the file cache"
dd if=/dev/zero of="$cacheFile" bs=1M count=$((gigabytes * 1024)) status=none
fill_cache
# Every Wine process started from here on gets at most this much address space: the default size stays below it.
ulimit -v $((limitMB * 1024))

# One line of results: what the run took and what of the cache it dropped.
report() {
    local what=$1 cachedBefore=$2 run
    run=$(record)
    [ -n "$run" ] || { echo "$what: no record was stored" >&2; exit 1; }
    read -r _ size seconds <<<"$run"
    printf '%-34s %6d MB in %6.2f s, file cache dropped %6d MB (of %d MB)\n' "$what" "$size" "$seconds" \
        $((cachedBefore - $(meminfo_mb Cached))) "$cachedBefore"
}

cachedBefore=$(meminfo_mb Cached)
wine "$QN_MONITOR_DIR/Qelto.exe" /NOMSG </dev/null >/dev/null 2>&1
report "default size" "$cachedBefore"

fill_cache
previous=$(record)
targetMB=$(($(meminfo_mb MemAvailable) + 1024))
wine reg add "$key" /v 'Target Free' /t REG_DWORD /d "$targetMB" /f >/dev/null
wine reg add "$key" /v Time /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$key" /v Cycle /t REG_DWORD /d 60 /f >/dev/null
wine reg add "$key" /v 'Next Run' /t REG_BINARY /d "$(date_time_hex 3)" /f >/dev/null
cachedBefore=$(meminfo_mb Cached)
wine "$QN_MONITOR_DIR/Mossik.exe" C </dev/null >/dev/null 2>&1 &
for _ in $(seq 120); do
    [ "$(record)" != "$previous" ] && break
    sleep 1
done
report "target ${targetMB} MB (lacks 1 GB)" "$cachedBefore"
