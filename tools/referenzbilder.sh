#!/usr/bin/env bash
# Makes the references anew: the window's images, the model test's transcript and what a
# screen reader meets (tests/window/referenz/), the printed page's images
# (tests/report/referenz/). Runs their tests in the test build and takes what they saw in place
# of the references. A person looks at every changed image, and reads the texts' diffs, before
# it is committed: the script ends with `git status` of the two folders.
#   tools/referenzbilder.sh        (after make test, which configures the test build)
set -euo pipefail
cd "$(dirname "$0")/.."
bau=build/asan
[ -f $bau/build.ninja ] || { echo "no test build in $bau: run make test first" >&2; exit 1; }
cmake --build $bau -j 2 --target tst_bild tst_modell tst_fenster tst_report
shopt -s nullglob
anzahl=0
# test name pattern | folder of its test | what it saw that is a reference
for zeile in '^tst_bild_|window|*[0-9]x.png' '^tst_(modell|fenster)$|window|*.txt' '^tst_report$|report|*-[0-9].png'; do
  IFS='|' read -r test ordner muster <<<"$zeile"
  rm -rf "$bau/tests/$ordner/bild"
  # The test fails wherever an image differs and leaves what it saw in bild/.
  (cd $bau && ctest -R "$test" --output-on-failure >/dev/null 2>&1) || true
  for bild in "$bau/tests/$ordner/bild/"$muster; do
    [ -e "$bild" ] || continue  # a name without a wildcard stays when nothing matches
    cp "$bild" "tests/$ordner/referenz/"
    anzahl=$((anzahl + 1))
  done
done
echo "$anzahl references changed; look at each before committing:"
git status --short tests/window/referenz tests/report/referenz
