#!/usr/bin/env bash
# Makes the reference images of the printed page anew (tests/report/referenz/): runs the report
# test of the test build and takes the pages it saw in place of the references. A person looks
# at every changed image before it is committed: `git status tests/report/referenz` lists them.
#   tools/referenzseiten.sh        (after make test, which configures the test build)
set -euo pipefail
cd "$(dirname "$0")/.."
bau=build/asan
[ -f $bau/build.ninja ] || { echo "no test build in $bau: run make test first" >&2; exit 1; }
cmake --build $bau -j 2 --target tst_report
rm -rf $bau/tests/report/bild
mkdir -p tests/report/referenz
# The test fails wherever a page differs and leaves what it saw in bild/.
(cd $bau && ctest -R '^tst_report$' --output-on-failure >/dev/null 2>&1) || true
shopt -s nullglob
gesehen=($bau/tests/report/bild/{seite,fehler}-[0-9].png)
for bild in "${gesehen[@]}"; do cp "$bild" tests/report/referenz/; done
echo "${#gesehen[@]} images changed; look at each before committing:"
git status --short tests/report/referenz
