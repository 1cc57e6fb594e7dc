#!/usr/bin/env bash
# Prints the lines of tests against the lines of all other source: non-blank, non-comment
# lines of the tracked C++, shell and Python files, tests/ against everything else (packaging,
# docs and CI scripts aside). C++ is counted as .clang-format lays it out, so that packing
# cases onto long lines changes nothing. The project keeps the ratio near 0.25-0.33, never
# above 0.40, and fails here above that.
set -euo pipefail
cd "$(dirname "$0")/.."
zeilen() {  # "" for the tests, -v for all other source
  git ls-files | grep -E '\.(cpp|cc|h|hpp|sh|py)$' | grep $1 -E '^tests/' | grep -v -E '^(\.ci|packaging|docs)/' |
    while read -r f; do
      case "$f" in
        *.sh | *.py) cat "$f" ;;
        *) clang-format --style=file --assume-filename="$f" <"$f" ;;
      esac
    done |
    grep -c -v -P '^\s*$|^\s*(//|/?\*)|^\s*#(?!include|define|if|endif|pragma|else|elif|!)' || true
}
tests=$(zeilen "")
code=$(zeilen "-v")
awk -v t="$tests" -v c="$code" 'BEGIN {
  r = t / c
  printf "tests %d lines, other source %d lines, ratio %.2f (aim 0.25-0.33, never above 0.40)\n", t, c, r
  exit (r > 0.40)
}'
