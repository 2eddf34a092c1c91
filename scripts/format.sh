#!/usr/bin/env bash
# Formats the tracked C++ files (*.cpp, *.h) with the repository's .clang-format, and nothing
# else: clang-format reads any other file as C++ and mangles CMake files and scripts.
# The installed clang-format (14) does not honour a .clang-format-ignore, so this list is the
# only guard. Usage: scripts/format.sh [--check]   (--check changes nothing, fails on a diff)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=(-i)
if [ "${1:-}" = --check ]; then
    mode=(--dry-run --Werror)
elif [ $# -gt 0 ]; then
    echo "usage: $0 [--check]" >&2
    exit 2
fi
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --style=file "${mode[@]}"
