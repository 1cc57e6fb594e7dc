#!/usr/bin/env bash
# Formats every tracked C++ file with the project's .clang-format; with --check, changes
# nothing and fails on any file that is not formatted.
#   tools/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/abhaengigkeiten.sh format
mapfile -t dateien < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  clang-format --style=file --dry-run --Werror "${dateien[@]}"
else
  clang-format --style=file -i "${dateien[@]}"
fi
