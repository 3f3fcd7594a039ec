#!/usr/bin/env bash
# Checks that the release is reproducible: builds both release archives of one commit (default: HEAD) twice, in
# two fresh clones in two temporary folders of different depth, one after the other, with a different umask and
# time zone each, and compares the programs, the archives and SHA256SUMS byte for byte. Names the first file
# that differs and exits 1; exits 0 when every file is identical. Runs no Windows program.
# Usage: check-reproducible.sh [commit]
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"

qn_install_deps
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
if [ -z "${1:-}" ] && [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    qn_log "note: uncommitted changes are not part of the check; it builds commit $commit"
fi
# The builds take their time stamps from the commit, not from an inherited value.
unset SOURCE_DATE_EPOCH

work=$(mktemp -d /tmp/qeltonimbi-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
first=$work/1/QeltoNimbi
second=$work/second/a/longer/path/QeltoNimbi-clone

# build <folder> <umask> <time zone>: a fresh clone of the commit, both release archives built in it.
build() {
    local folder=$1
    qn_log "building $commit in $folder"
    git clone --quiet --no-local --no-checkout "$QN_ROOT" "$folder"
    git -C "$folder" checkout --quiet --detach "$commit"
    (
        cd "$folder"
        umask "$2"
        export TZ=$3
        for arch in win64 win32; do
            cmake --preset $arch >/dev/null
            nice cmake --build --preset $arch --target package >/dev/null
        done
    )
}

start=$(date +%s)
build "$first" 022 UTC
build "$second" 002 Asia/Tokyo

# The programs first: a program that differs is the cause of an archive that differs.
files=()
for arch in win64 win32; do
    for program in "$first/build/$arch/bin/"*.exe; do
        files+=("build/$arch/bin/${program##*/}")
    done
done
files+=(build/release/QeltoNimbi-0.04-x64.zip build/release/QeltoNimbi-0.04.zip build/release/SHA256SUMS)

for file in "${files[@]}"; do
    if [ ! -f "$second/$file" ] || ! cmp -s "$first/$file" "$second/$file"; then
        echo "NOT REPRODUCIBLE: $file differs between the two builds" >&2
        cmp "$first/$file" "$second/$file" >&2 || true
        if [[ $file == *.zip ]] && command -v zipinfo >/dev/null; then
            # Which entry: the listing with times and attributes, then the contents.
            diff <(zipinfo -v "$first/$file") <(zipinfo -v "$second/$file") | head -20 >&2 || true
            mkdir -p "$work/x1" "$work/x2"
            unzip -q "$first/$file" -d "$work/x1" && unzip -q "$second/$file" -d "$work/x2"
            diff -rq "$work/x1" "$work/x2" >&2 || true
        fi
        exit 1
    fi
done
echo "reproducible: ${#files[@]} files identical in both builds of $commit ($(($(date +%s) - start)) s)"
(cd "$first/build/release" && cat SHA256SUMS)
