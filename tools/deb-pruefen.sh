#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 (bookworm) chroot with apt, starts tovik
# there, offscreen and under Xvfb, and reads its manual page. Needs root, debootstrap and the
# Debian mirror that this machine's apt sources name (tools/debian-spiegel.sh); takes a few
# minutes, so it is not part of `make test`.
#   tools/deb-pruefen.sh build/release/tovik_5.0_amd64.deb
set -euo pipefail
deb=$(readlink -f "$1")
spiegel=$("$(dirname "$0")"/debian-spiegel.sh bookworm)
wurzel=$(mktemp -d /tmp/tovik-sauber.XXXXXX)
chmod 755 "$wurzel"  # the chroot's /: apt's _apt and mandb's man user must get through it
aufraeumen() { umount "$wurzel/proc" 2>/dev/null || true; rm -rf "$wurzel"; }
trap aufraeumen EXIT

command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
debootstrap --variant=minbase bookworm "$wurzel" "$spiegel" >/dev/null
cp /etc/resolv.conf "$wurzel/etc/"
mount --bind /proc "$wurzel/proc"
cp "$deb" "$wurzel/tmp/tovik.deb"
chroot "$wurzel" sh -ec '
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/tovik.deb xvfb xauth x11-utils man-db openbox xdotool >/dev/null
  ls /usr/lib/tovik/Beispiel/Test.TVK
  # The manual page: found by man, rendered without a groff warning, indexed by mandb.
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings tovik 2>&1 >/dev/null | { ! grep .; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man tovik | grep -q "ÜBERSICHT"
  whatis tovik | grep -q "lineare Gleichungssysteme"
  cd /tmp
  tovik --version | grep -qx "tovik 5.0"
  QT_QPA_PLATFORM=offscreen TOVIK_BENCH_QUIT=1 timeout 30 tovik | grep -q gezeigt
  xvfb-run -a sh -c "tovik & sleep 5; xwininfo -root -tree | grep -q \"Programm  Tovik.vbp, Version 5.0\"; kill \$!"
  # A normal user saves with Ctrl+S into the folder the dialog opens first: the copy of the
  # examples in the user data folder.
  useradd -m anna
  su anna -c "cd && xvfb-run -a sh -c \"openbox & sleep 2; tovik & sleep 5;
    xdotool search --sync --onlyvisible --name Programm windowactivate --sync key ctrl+s; sleep 3;
    xdotool type Mein.TVK; xdotool key Return; sleep 2; xdotool key ctrl+q; sleep 1\""
  ls /home/anna/.local/share/tovik/Beispiel/Mein.TVK /home/anna/.local/share/tovik/Beispiel/Test.TVK
'
echo "tovik installs and starts on a fresh Debian 12"
