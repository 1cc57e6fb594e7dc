#!/usr/bin/env bash
# Makes the reference images anew: of the window (tests/window/referenz/) and of the printed
# page (tests/report/referenz/). Runs their tests in the test build and takes the images they
# saw in place of the references. A person looks at every changed image before it is
# committed: the script ends with `git status` of the two folders.
#   tools/referenzbilder.sh        (after make test, which configures the test build)
set -euo pipefail
cd "$(dirname "$0")/.."
bau=build/asan
[ -f $bau/build.ninja ] || { echo "no test build in $bau: run make test first" >&2; exit 1; }
cmake --build $bau -j 2 --target tst_bild tst_report
shopt -s nullglob
anzahl=0
# test name pattern | folder of its test | the images that are references
for zeile in '^tst_bild_|window|*[0-9]x.png' '^tst_report$|report|*-[0-9].png'; do
  IFS='|' read -r test ordner muster <<<"$zeile"
  rm -rf "$bau/tests/$ordner/bild"
  # The test fails wherever an image differs and leaves what it saw in bild/.
  (cd $bau && ctest -R "$test" --output-on-failure >/dev/null 2>&1) || true
  for bild in "$bau/tests/$ordner/bild/"$muster; do cp "$bild" "tests/$ordner/referenz/"; anzahl=$((anzahl + 1)); done
done
echo "$anzahl images changed; look at each before committing:"
git status --short tests/window/referenz tests/report/referenz
