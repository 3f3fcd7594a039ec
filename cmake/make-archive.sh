#!/bin/sh
# Makes one release archive and the SHA256SUMS beside it. Usage: make-archive.sh <archive.zip> <source folder> <file>...
#
# The archive is the same, byte for byte, from every build of one commit, wherever and whenever it is built:
# the files go in by name in a fixed order, each with the same permissions and the same time, with no extra
# fields (zip -X: no access times, no owner ids). The time is SOURCE_DATE_EPOCH when it is set, else the time of
# the commit the source folder has checked out, else (a source tree without git) the time of docs/History.Txt,
# which every release changes. ZIP stores local times: they are taken in UTC.
# SHA256SUMS then lists every archive of the folder, in the format `sha256sum -c` checks.
set -eu
archive=$1
source=$2
shift 2

epoch=${SOURCE_DATE_EPOCH:-}
if [ -z "$epoch" ]; then
    epoch=$(git -C "$source" log -1 --format=%ct 2>/dev/null) || epoch=
fi
if [ -z "$epoch" ]; then
    epoch=$(stat -c %Y "$source/docs/History.Txt")
fi

folder=$(dirname "$archive")
mkdir -p "$folder"
stage=$(mktemp -d "$folder/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
for file in "$@"; do
    cp "$file" "$stage/"
done
chmod 0644 "$stage"/*
touch -d "@$epoch" "$stage"/*

rm -f "$archive"
(
    cd "$stage"
    # One order whatever the locale, and no options from the environment (ZIPOPT).
    ls | LC_ALL=C sort | TZ=UTC ZIPOPT= zip -X -D -q -@ archive.zip
)
mv "$stage/archive.zip" "$archive"

(
    cd "$folder"
    ls | LC_ALL=C grep '\.zip$' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS.part
    mv SHA256SUMS.part SHA256SUMS
)
