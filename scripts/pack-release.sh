#!/usr/bin/env bash
# Packs the release into OUT_DIR: Tauschwerk.zip with the program and FILEs, the program on its
# own beside it, and SHA256SUMS of both. The same inputs give the same bytes: the entries in the
# order given, with fixed permissions and one fixed time, without owner or further times.
# Usage: scripts/pack-release.sh OUT_DIR EXE FILE...   (the release target calls it)
set -euo pipefail
out=$1
exe=$2
shift 2

# SOURCE_DATE_EPOCH when set, otherwise a fixed date (2026-01-01 00:00 UTC) rather than the
# last commit's: a source archive without Git history then gives the same archive as a clone.
epoch=${SOURCE_DATE_EPOCH:-1767225600}
if ! [[ $epoch =~ ^[0-9]+$ ]]; then
    echo "SOURCE_DATE_EPOCH is not a number of seconds: $epoch" >&2
    exit 1
fi
# A ZIP entry cannot be older than 1980.
[ "$epoch" -ge 315532800 ] || epoch=315532800

# The directory holds the published files and nothing else.
rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d "$out/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
names=()
for file in "$exe" "$@"; do
    name=$(basename "$file")
    cp "$file" "$stage/$name"
    chmod 0644 "$stage/$name"
    names+=("$name")
done
chmod 0755 "$stage/$(basename "$exe")"
touch -d "@$epoch" "${names[@]/#/$stage/}"

# zip writes each entry's time as local time: UTC keeps the time zone out. -X leaves out the
# owner and the further times, which vary from build to build; ZIPOPT and ZIP would add options.
(cd "$stage" && env -u ZIPOPT -u ZIP TZ=UTC0 zip -X -D -q -9 Tauschwerk.zip "${names[@]}")
mv "$stage/Tauschwerk.zip" "$out/Tauschwerk.zip"
cp "$stage/$(basename "$exe")" "$out/"
(cd "$out" && sha256sum Tauschwerk.zip "$(basename "$exe")" >SHA256SUMS)
