#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 (bookworm) chroot with apt and uses it
# there as a new user would, in a desktop session of its own (tools/x-sitzung.sh): the Open
# dialog lists the user's copy of the examples, one chosen in the list loads, Ctrl+S saves
# it, and Ctrl+P prints it to a CUPS queue in the chroot, with no cups-client installed. Also
# starts it offscreen and reads the manual page. Needs root, debootstrap and the Debian
# mirror that this machine's apt sources name (tools/debian-spiegel.sh); takes a few minutes,
# so it is not part of `make test`. Given a folder, leaves a screenshot of the Open dialog
# there.
#   tools/deb-pruefen.sh build/release/tovik_5.0_amd64.deb [BILDORDNER]
set -euo pipefail
hier=$(dirname "$(readlink -f "$0")")
deb=$(readlink -f "$1")
bilder=""
if [ $# -gt 1 ]; then mkdir -p "$2" && bilder=$(readlink -f "$2"); fi
spiegel=$("$hier"/debian-spiegel.sh bookworm)
wurzel=$(mktemp -d /tmp/tovik-sauber.XXXXXX)
chmod 755 "$wurzel"  # the chroot's /: apt's _apt and mandb's man user must get through it
aufraeumen() { umount "$wurzel/proc" 2>/dev/null || true; rm -rf "$wurzel"; }
trap aufraeumen EXIT

command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
debootstrap --variant=minbase bookworm "$wurzel" "$spiegel" >/dev/null
cp /etc/resolv.conf "$wurzel/etc/"
# Nothing installed here starts a service; cupsd runs only for the print check, below.
printf '#!/bin/sh\nexit 101\n' >"$wurzel/usr/sbin/policy-rc.d"
chmod 755 "$wurzel/usr/sbin/policy-rc.d"
mount --bind /proc "$wurzel/proc"
cp "$deb" "$wurzel/tmp/tovik.deb"
cp "$hier/x-sitzung.sh" "$wurzel/usr/local/bin/"

# The package as a user installs it, then the tools of the check. The CUPS daemon alone:
# Qt prints through libcups, so no command of cups-client (lp, lpstat) may be there.
chroot "$wurzel" env BILDER="$bilder" sh -ec '
  export DEBIAN_FRONTEND=noninteractive
  # Quiet unless it fails.
  apt() { apt-get "$@" >/tmp/apt.log 2>&1 || { cat /tmp/apt.log; exit 1; }; }
  apt update
  apt install -y /tmp/tovik.deb
  apt install -y man-db xvfb openbox xdotool x11-utils ${BILDER:+x11-apps netpbm}
  apt install -y --no-install-recommends cups-daemon
  for befehl in lp lpr lpstat; do
    if command -v $befehl; then echo "FAIL: cups-client came in" >&2; exit 1; fi
  done
'

# The new user's session, driven by keys: Open shows the examples, one chosen in its list
# loads, is saved under a new name and printed; every window is waited for 30 s at most.
cat >"$wurzel/tmp/nutzer.sh" <<'EOF'
#!/bin/sh
set -eu
cd "$HOME"
titel='Programm  Tovik.vbp, Version 5.0'
fehler() { echo "FAIL: $*" >&2; sed 's/^/  tovik: /' tovik.log >&2; exit 1; }
warten() { i=0; until "$@" >/dev/null 2>&1; do i=$((i + 1)); [ $i -lt 300 ] || return 1; sleep 0.1; done; }
# Waits until the window named $1 (a regular expression) is there, and activates it.
fenster() {
  warten xdotool search --onlyvisible --pid $pid --name "^($1)\$" || fehler "no window '$1'"
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --pid $pid --name "^($1)\$")"
}
# Waits until the main window is the only one left (a message box would stay), activates it.
allein() {
  warten sh -c "[ \"\$(xdotool search --onlyvisible --pid $pid | wc -l)\" = 1 ]" || fehler "a window stays"
  fenster "$titel"
}
tovik >tovik.log 2>&1 &
pid=$!
fenster "$titel"
xdotool key ctrl+o
fenster "vorh. Gleichungssystem laden"
beispiele="$XDG_DATA_HOME/tovik/Beispiel"
[ "$(ls "$beispiele")" = "$(ls /usr/share/tovik/Beispiel)" ] || fehler "the examples are not copied"
ls "$beispiele"
# The list shows them: the last, Umgestellt.TVK, is chosen there (Shift+Tab from the name
# field to the list, End), once the dialog has read the folder.
sleep 2
xdotool key shift+Tab
xdotool key End
sleep 0.5
if [ -n "$BILDER" ]; then
  xwd -silent -id "$(xdotool getactivewindow)" | xwdtopnm 2>/dev/null | pnmtopng >/tmp/bilder/oeffnen.png
fi
xdotool key Return
allein
xdotool key ctrl+s
fenster "Gleichungssystem speichern"
xdotool key ctrl+a
xdotool type --delay 20 Mein.TVK
xdotool key Return
allein
warten cmp /usr/share/tovik/Beispiel/Umgestellt.TVK "$beispiele/Mein.TVK" || fehler "Mein.TVK is not the example"
xdotool key ctrl+p
fenster "Print|Drucken"
xdotool key Return
allein
xdotool key ctrl+q
warten sh -c "! kill -0 $pid" || fehler "Ctrl+Q does not end tovik"
[ "$(ls "$beispiele" | wc -l)" = 7 ] || fehler "not the six examples and Mein.TVK"
EOF
chmod 755 "$wurzel/tmp/nutzer.sh"

# Without a network of its own: the chroot's X servers and cupsd can neither meet this
# machine's nor be reached by them.
unshare --net chroot "$wurzel" env BILDER="$bilder" sh -ec '
  ls /usr/share/tovik/Beispiel/Test.TVK
  # The manual page: found by man, rendered without a groff warning, indexed by mandb.
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings tovik 2>&1 >/dev/null | { ! grep .; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man tovik | grep -q "ÜBERSICHT"
  whatis tovik | grep -q "lineare Gleichungssysteme"
  cd /tmp
  tovik --version | grep -qx "tovik 5.0"
  tovik --help | grep -q "^Aufruf: tovik \[Optionen\] \[DATEI\]"
  # Starts and keeps running, quietly: ended by timeout (status 124) after 5 seconds.
  status=0
  mkdir -m 700 /tmp/laufzeit
  XDG_RUNTIME_DIR=/tmp/laufzeit QT_QPA_PLATFORM=offscreen timeout 5 tovik >start.log 2>&1 || status=$?
  if [ $status != 124 ] || grep . start.log; then echo "FAIL: start-up, status $status" >&2; exit 1; fi

  # One queue on the local socket only, the default, stopped: a job stays in the spool.
  sed -i "/^Listen localhost/d; /^Port /d; s/^Browsing .*/Browsing No/" /etc/cups/cupsd.conf
  printf "%s\n" "<DefaultPrinter Ablage>" "Info Ablage" "DeviceURI file:///dev/null" "State Stopped" \
    "Accepting Yes" "Shared No" "</DefaultPrinter>" >/etc/cups/printers.conf
  cupsd -f &
  cups=$!
  trap "kill $cups" EXIT
  i=0; until [ -S /run/cups/cups.sock ]; do i=$((i + 1)); [ $i -lt 100 ]; sleep 0.1; done

  useradd -m anna
  mkdir -m 777 /tmp/bilder
  su anna -c "BILDER=$BILDER /usr/local/bin/x-sitzung.sh -s 1280x1024 /tmp/nutzer.sh"
  # The page arrived: one PDF job of anna (cupsd writes the control file of a job as it ends).
  kill $cups && wait $cups || true
  trap - EXIT
  ls -l /var/spool/cups/d*
  [ "$(ls /var/spool/cups/d*)" = /var/spool/cups/d00001-001 ]
  head -c 5 /var/spool/cups/d00001-001 | grep -qx "%PDF-"
  grep -aq anna /var/spool/cups/c00001
'
[ -z "$bilder" ] || cp "$wurzel/tmp/bilder/oeffnen.png" "$bilder/"
echo "tovik installs on a fresh Debian 12; a new user opens an example, saves and prints"
