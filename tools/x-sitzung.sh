#!/usr/bin/env bash
# Runs a command in a desktop session of its own: a virtual X server (Xvfb) with the window
# manager openbox, a fresh home folder, no session bus, nothing of the caller's desktop. Used
# by the end-to-end test and for screenshots of the real window.
#   tools/x-sitzung.sh [-s WIDTHxHEIGHT] [-o] command [arguments...]
# -o: windows without title bar and border, so that a maximized window fills the screen
# exactly, whatever font the window manager's theme finds on the machine.
# The command finds DISPLAY set and the session's home in HOME; its exit status is returned.
set -euo pipefail
groesse=1280x1024
ohneRahmen=0
while [ $# -gt 0 ]; do
  case "$1" in
    -s) groesse=$2; shift 2 ;;
    -o) ohneRahmen=1; shift ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [-s WIDTHxHEIGHT] [-o] command [arguments...]" >&2; exit 2; }
# A missing tool ends with 77, which ctest reports as a skipped test.
for p in Xvfb openbox xprop xmessage; do
  command -v $p >/dev/null || { echo "SKIP: $p is missing (make test installs it)" >&2; exit 77; }
done

heim=$(mktemp -d /tmp/tovik-sitzung.XXXXXX)
kinder=()
aufraeumen() { kill "${kinder[@]}" 2>/dev/null || true; rm -rf "$heim"; }
trap aufraeumen EXIT

# A missing bus address would make libdbus try to start a bus over X, which can hold up a window.
export HOME="$heim" XDG_CONFIG_HOME="$heim/.config" XDG_DATA_HOME="$heim/.local/share" XDG_RUNTIME_DIR="$heim"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$heim/kein-bus" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR

# The X server picks a free display itself and tells its number.
exec 3< <(Xvfb -displayfd 1 -screen 0 "${groesse}x24" -nolisten tcp 2>/dev/null)
kinder+=($!)
read -r -t 30 nummer <&3 || { echo "Xvfb tells no display number" >&2; exit 1; }
export DISPLAY=":$nummer"

# openbox announces itself before it is done starting, and a window mapped meanwhile can stay
# unmanaged: it is ready once it has framed a probe window.
einstellungen=()
if [ $ohneRahmen = 1 ]; then
  cat >"$heim/openbox.xml" <<'XML'
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <applications><application class="*"><decor>no</decor></application></applications>
</openbox_config>
XML
  einstellungen=(--config-file "$heim/openbox.xml")
fi
openbox "${einstellungen[@]}" >/dev/null 2>&1 &
kinder+=($!)
bereit=0
for _ in $(seq 30); do
  xmessage -timeout 2 probe >/dev/null 2>&1 &
  probe=$!
  for _ in $(seq 10); do
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 0x && { bereit=1; break; }
    sleep 0.1
  done
  kill $probe 2>/dev/null || true
  [ $bereit = 1 ] && break
done
[ $bereit = 1 ] || { echo "openbox does not start" >&2; exit 1; }

status=0
"$@" || status=$?
exit $status
