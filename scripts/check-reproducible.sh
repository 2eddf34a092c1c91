#!/usr/bin/env bash
# Builds the release twice and compares the bytes of what a player downloads. The first build
# uses this source tree, the second a copy without Git history, as a source archive gives;
# they differ in their directories, start time, umask, time zone and locale. Prints one PASS
# or FAIL line and fails on any difference or a build path left in the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
first=$(mktemp -d "${TMPDIR:-/tmp}/tauschwerk-repro-XXXXXX")
second=$(mktemp -d "${TMPDIR:-/tmp}/tw-rebuild-XXXXXXXXXXXX")
trap 'rm -rf "$first" "$second"' EXIT
released=(Tauschwerk.exe Tauschwerk.zip SHA256SUMS)

fail() {
    echo "FAIL: reproducible release: $*"
    exit 1
}

# The worktree's files as they are now (committed or not), without .git and build output.
copy_source() {
    if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$root" ls-files -z --cached --others --exclude-standard |
            tar -C "$root" --null -T - --ignore-failed-read -cf - | tar -C "$1" -xf -
    else
        tar -C "$root" --exclude=./build --exclude=./demo-out -cf - . | tar -C "$1" -xf -
    fi
}

# Usage: build_release SOURCE BUILD LOG   (configures and builds only the release target)
build_release() {
    if ! { cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" &&
        cmake --build "$2" -j2 --target release; } >"$3" 2>&1; then
        cat "$3"
        fail "the build in $2 failed"
    fi
}

(umask 022; export TZ=UTC0 LC_ALL=C; build_release "$root" "$first/build" "$first/log")
# The second program is linked at least a second later, so a link time would show.
sleep 1
mkdir "$second/source-archive"
copy_source "$second/source-archive"
(umask 077; export TZ=JST-9 LC_ALL=C.UTF-8
    build_release "$second/source-archive" "$second/out-of-tree/windows" "$second/log")

a="$first/build/release"
b="$second/out-of-tree/windows/release"
differ=()
for name in "${released[@]}"; do
    if ! cmp "$a/$name" "$b/$name"; then
        differ+=("$name")
    fi
done
if [ ${#differ[@]} -gt 0 ]; then
    # The PE header and the ZIP entries tell most differences at a glance.
    diff <(cd "$a" && x86_64-w64-mingw32-objdump -p Tauschwerk.exe) \
        <(cd "$b" && x86_64-w64-mingw32-objdump -p Tauschwerk.exe) | head -20 || true
    diff <(cd "$a" && zipinfo -v Tauschwerk.zip) <(cd "$b" && zipinfo -v Tauschwerk.zip) |
        head -20 || true
    fail "${differ[*]} differ between the two builds"
fi
for dir in "$root" "$first" "$second"; do
    if grep -qaF "$dir" "$a/Tauschwerk.exe" "$b/Tauschwerk.exe"; then
        fail "Tauschwerk.exe holds the build path $dir"
    fi
done
(cd "$a" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match the files"
echo "PASS: reproducible release: ${released[*]} identical in two builds ($((SECONDS - start)) s)"
