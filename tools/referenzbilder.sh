#!/usr/bin/env bash
# Makes the reference images of the window anew (tests/window/referenz/): runs the image test
# of the test build and takes the images it saw in place of the references. A person looks at
# every changed image before it is committed: `git status tests/window/referenz` lists them.
#   tools/referenzbilder.sh        (after make test, which configures the test build)
set -euo pipefail
cd "$(dirname "$0")/.."
bau=build/asan
[ -f $bau/build.ninja ] || { echo "no test build in $bau: run make test first" >&2; exit 1; }
cmake --build $bau -j 2 --target tst_bild
rm -rf $bau/tests/window/bild
# The test fails wherever the image differs and leaves what it saw in bild/.
(cd $bau && ctest -R '^tst_bild_' --output-on-failure >/dev/null 2>&1) || true
shopt -s nullglob
gesehen=($bau/tests/window/bild/*[0-9]x.png)
for bild in "${gesehen[@]}"; do cp "$bild" tests/window/referenz/; done
echo "${#gesehen[@]} images changed; look at each before committing:"
git status --short tests/window/referenz
