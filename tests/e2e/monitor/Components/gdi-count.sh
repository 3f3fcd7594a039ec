#!/usr/bin/env bash
# Paints the test host's gauge N times and checks that the process holds as many GDI objects after the last
# paint as after the first. GetGuiResources gives 0 under Wine, so the count comes from Wine's GDI trace: every
# object made or freed is logged with the process's live count ("... 75/65536"). The host writes a line to
# standard output after the first paint and after the last; the trace goes to standard error, and both arrive in
# order on one pipe.
set -euo pipefail
host=$1
paints=$2
WINEDEBUG=-all,+gdi wine "$host" /gdi "$paints" 2>&1 | tr -d '\r' | awk -v paints="$paints" '
    / NTGDI_OBJ_| UNKNOWN 0x/ && match($0, / [0-9]+\/65536/) {
        count = substr($0, RSTART + 1, RLENGTH - 7) + 0
        events++
    }
    $0 == "PAINTED 1" { first = count; firstEvents = events }
    $0 == "PAINTED " paints { last = count; done = 1 }
    END {
        if (!done || firstEvents == 0) {
            print "no GDI trace around the paints (events " events ")"; exit 1
        }
        print "GDI objects after the first paint: " first ", after paint " paints ": " last
        exit (first == last) ? 0 : 1
    }'
