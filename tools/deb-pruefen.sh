#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 (bookworm) chroot with apt and starts
# tovik there, offscreen and under Xvfb. Needs root, debootstrap and the Debian archive;
# takes a few minutes, so it is not part of `make test`.
#   tools/deb-pruefen.sh build/release/tovik_5.0_amd64.deb
set -euo pipefail
deb=$(readlink -f "$1")
wurzel=$(mktemp -d /tmp/tovik-sauber.XXXXXX)
aufraeumen() { umount "$wurzel/proc" 2>/dev/null || true; rm -rf "$wurzel"; }
trap aufraeumen EXIT

command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
debootstrap --variant=minbase bookworm "$wurzel" http://deb.debian.org/debian >/dev/null
cp /etc/resolv.conf "$wurzel/etc/"
mount --bind /proc "$wurzel/proc"
cp "$deb" "$wurzel/tmp/tovik.deb"
chroot "$wurzel" sh -ec '
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/tovik.deb xvfb xauth x11-utils >/dev/null
  ls /usr/lib/tovik/Beispiel/Test.TVK
  cd /tmp
  QT_QPA_PLATFORM=offscreen TOVIK_BENCH_QUIT=1 timeout 30 tovik | grep -q gezeigt
  xvfb-run -a sh -c "tovik & sleep 5; xwininfo -root -tree | grep -q \"Programm  Tovik.vbp, Version 5.0\"; kill \$!"
'
echo "tovik installs and starts on a fresh Debian 12"
