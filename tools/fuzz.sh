#!/usr/bin/env bash
# Runs every libFuzzer target of a build folder for the given seconds.
#   tools/fuzz.sh <build folder> [seconds per target, default 60]
# Seeds: the example files in storage/Beispiel and fuzz/korpus/<target>/ (kept findings
# among them). New inputs go to <build>/fuzz/korpus/<target>, crashes and hangs to
# <build>/fuzz/funde/<target>. Prints the executions of each target; exits non-zero when a
# target found a fault.
set -euo pipefail

build="${1:?usage: tools/fuzz.sh <build folder> [seconds]}"
sekunden="${2:-60}"
quelle="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

ziele=("$build"/fuzz/fuzz_*)
[ -e "${ziele[0]}" ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

status=0
zusammenfassung=()
for ziel in "${ziele[@]}"; do
  [ -f "$ziel" ] && [ -x "$ziel" ] || continue
  name="$(basename "$ziel")"
  kurz="${name#fuzz_}"
  arbeit="$build/fuzz/korpus/$kurz"
  funde="$build/fuzz/funde/$kurz"
  protokoll="$build/fuzz/$name.log"
  mkdir -p "$arbeit" "$funde"

  saat=("$quelle/storage/Beispiel")
  [ -d "$quelle/fuzz/korpus/$kurz" ] && saat+=("$quelle/fuzz/korpus/$kurz")
  optionen=(-max_total_time="$sekunden" -timeout=10 -rss_limit_mb=2048 -max_len=8192
            -print_final_stats=1 -artifact_prefix="$funde/")
  [ -f "$quelle/fuzz/$kurz.dict" ] && optionen+=(-dict="$quelle/fuzz/$kurz.dict")

  echo "=== $name: $sekunden s, log in $protokoll"
  ergebnis=0
  "$ziel" "${optionen[@]}" "$arbeit" "${saat[@]}" >"$protokoll" 2>&1 || ergebnis=$?

  ausfuehrungen="$(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$protokoll" | grep -o '[0-9]*$' | tail -1)"
  abdeckung="$(grep -aoE '^#[0-9]+[[:space:]]+DONE.*' "$protokoll" | tail -1 || true)"
  gefunden="$(find "$funde" -type f | wc -l)"
  zeile="$name: ${ausfuehrungen:-?} executions, corpus $(find "$arbeit" -type f | wc -l) inputs, $gefunden findings, exit $ergebnis"
  echo "$zeile"
  [ -n "$abdeckung" ] && echo "  $abdeckung"
  zusammenfassung+=("$zeile")
  if [ "$ergebnis" -ne 0 ] || [ "$gefunden" -ne 0 ]; then
    status=1
    echo "--- end of $protokoll:"
    tail -n 40 "$protokoll"
    find "$funde" -type f -printf '  finding: %p\n'
  fi
done

echo "=== summary"
printf '%s\n' "${zusammenfassung[@]}"
exit $status
