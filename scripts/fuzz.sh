#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) and runs each for N seconds (default 60), starting from
# its checked-in corpus in tests/fuzz/corpus/<target>/. New inputs go to a scratch folder, never into the
# corpus; an input that fails a target is kept in build/fuzz/findings/ and the script exits non-zero.
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"
seconds=${1:-60}

qn_install_deps
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

scratch=$(mktemp -d /tmp/qeltonimbi-fuzz.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
findings=$QN_ROOT/build/fuzz/findings
mkdir -p "$findings"
failed=()
for corpus in tests/fuzz/corpus/*/; do
    target=$(basename "$corpus")
    mkdir -p "$scratch/$target"
    if build/fuzz/bin/"$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$findings/$target-" \
        "$scratch/$target" "$corpus" >"$scratch/$target.log" 2>&1; then
        inputs=$(grep -o '^Done [0-9]* runs' "$scratch/$target.log" | cut -d' ' -f2)
        qn_log "fuzz $target: $inputs inputs in $seconds s, nothing found"
    else
        tail -n 40 "$scratch/$target.log" >&2
        qn_log "fuzz $target: FAILED, the input is in $findings/"
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    qn_log "fuzz targets that failed: ${failed[*]}"
    exit 1
fi
