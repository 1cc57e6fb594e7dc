#!/usr/bin/env bash
# Installs the Debian packages that one make command needs, and only those that are missing,
# so that a machine that has them all runs no apt-get at all.
#   tools/abhaengigkeiten.sh run|test|bench|fuzz|deb|format
# Every group but "format" builds on "run" and names only what it adds to it.
set -euo pipefail

declare -A gruppen=(
  # compile, configure and start the program; Qt's platform plugins, its German texts, the
  # font that stands in for "arial" and fontconfig to find it
  [run]="g++ cmake ninja-build make pkg-config qt6-base-dev libgl-dev qt6-qpa-plugins
         qt6-translations-l10n fonts-liberation fontconfig"
  # pdftotext for the page checks; a real X server with a window manager, keys, window
  # queries (xprop, xwininfo, xmessage) and the clipboard (xclip) for the end-to-end test
  [test]="poppler-utils xvfb openbox xdotool x11-utils xclip"
  # Google Benchmark, and Eigen as the peer solver
  [bench]="libbenchmark-dev libeigen3-dev"
  # clang with libFuzzer's runtime
  [fuzz]="clang libclang-rt-14-dev"
  # the package checks (lintian, appstreamcli for the AppStream metadata); dpkg-shlibdeps and
  # file for CPack's list of library dependencies
  [deb]="lintian appstream dpkg-dev file"
  # the format check of tools/format.sh, which needs nothing else
  [format]="clang-format"
)

gruppe="${1:-}"
case "$gruppe" in
  run | test | bench | fuzz | deb | format) ;;
  *) echo "usage: $0 run|test|bench|fuzz|deb|format" >&2; exit 2 ;;
esac
case "$gruppe" in
  run | format) pakete=(${gruppen[$gruppe]}) ;;
  *) pakete=(${gruppen[run]} ${gruppen[$gruppe]}) ;;
esac

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${fehlend[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Another package manager (apt-get, PackageKit, unattended-upgrades) may hold apt's locks for a
# while. apt-get waits for dpkg's lock itself, up to this many seconds; apt 2.6 does not wait
# for the lock of the package lists, so the update is tried again until the same deadline as
# long as that lock is what stops it.
warten=300
echo "Waiting up to $((warten / 60)) minutes for apt's locks where another package manager" \
  "(apt-get, PackageKit, unattended-upgrades) holds them"
gescheitert() {
  echo "$0: could not $1 (apt-get's message above). If another package manager held apt's lock" \
    "for $((warten / 60)) minutes, let it finish and run the command again, or install by hand:" \
    "sudo apt-get install ${fehlend[*]}" >&2
  exit 1
}
bis=$((SECONDS + warten))
until meldung=$($sudo env LC_ALL=C apt-get -o DPkg::Lock::Timeout=$warten update -qq 2>&1); do
  if ! grep -q "Could not get lock" <<<"$meldung" || [ $SECONDS -ge $bis ]; then
    echo "$meldung" >&2
    gescheitert "update the package lists"
  fi
  sleep 5
done
[ -z "$meldung" ] || echo "$meldung"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=$warten install -y -qq \
  --no-install-recommends "${fehlend[@]}" || gescheitert "install ${fehlend[*]}"
