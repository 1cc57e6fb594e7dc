#!/usr/bin/env bash
# End to end: the built program as a user starts it, on a real X server (Xvfb) with a window
# manager (openbox), driven by keys from xdotool. It opens the file named on its command line,
# takes a typed value, computes, saves through the real dialog with Ctrl+S, opens the saved
# file with Ctrl+O, saves it again, and ends with Ctrl+Q.
#   tests/e2e/e2e.sh <path of tovik>
set -euo pipefail
tovik=$(readlink -f "$1")
for p in Xvfb openbox xdotool xprop; do command -v $p >/dev/null || { echo "$p is needed (make test installs it)"; exit 1; }; done

ordner=$(mktemp -d /tmp/tovik-e2e.XXXXXX)
kinder=()
aufraeumen() { kill "${kinder[@]}" 2>/dev/null || true; rm -rf "$ordner"; }
trap aufraeumen EXIT
fehler() {
  echo "FAIL: $*"
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
  sed 's/^/  tovik: /' "$ordner/tovik.log" 2>/dev/null
  exit 1
}
# Waits up to 60 s (a sanitizer build under load starts slowly) until the command succeeds.
warten() { for _ in $(seq 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }

# Nothing of the user's desktop reaches the programs, and no session bus: without an address
# libdbus would try to start one over X (autolaunch), which can hold up the window.
export HOME="$ordner" XDG_CONFIG_HOME="$ordner/.config" XDG_DATA_HOME="$ordner/.local/share" XDG_RUNTIME_DIR="$ordner"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$ordner/kein-bus"
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR
chmod 700 "$ordner"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
kinder+=($!)
read -r -t 30 nummer <&3 || fehler "Xvfb tells no display number"
export DISPLAY=":$nummer"
openbox >/dev/null 2>&1 & kinder+=($!)
# openbox announces itself before it is done starting, and a window mapped meanwhile can stay
# unmanaged: it is ready once it has framed a probe window.
bereit() {
  xmessage -name tovik-probe -timeout 3 probe >/dev/null 2>&1 & local probe=$!
  for _ in $(seq 20); do
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 0x && { kill $probe 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill $probe 2>/dev/null; return 1
}
warten bereit || fehler "openbox does not start"

printf '### Tovik 5.0\r\nBr\xfccke\r\nLager 2\r\n 2\r\n 4\r\n 1\r\n 9\r\n 2\r\n 3\r\n 7\r\n' >"$ordner/Start.TVK"
(cd "$ordner" && QT_QPA_PLATFORM=xcb exec "$tovik" Start.TVK >"$ordner/tovik.log" 2>&1) & tovik_pid=$!
kinder+=($tovik_pid)
titel='Programm  Tovik.vbp, Version 5.0'
warten xdotool search --onlyvisible --name "^$titel\$" || fehler "no window appears"
fenster=$(xdotool search --onlyvisible --name "^$titel\$")
warten sh -c "xprop -id $fenster _NET_WM_STATE | grep -q MAXIMIZED_HORZ" || fehler "the window is not maximized"

taste() { xdotool key --delay 60 "$@"; }
# Runs a file dialog: waits for it, types a name, Enter; then only the window is left (no
# completion list either, which would swallow the next click).
dialog() {
  warten xdotool search --onlyvisible --name "^$1\$" || fehler "no dialog '$1'"
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name "^$1\$")"
  xdotool type --delay 20 "$2"
  taste Return
  warten sh -c "[ \"\$(xdotool search --onlyvisible --pid $tovik_pid | wc -l)\" = 1 ]" || fehler "a window stays open after '$1'"
  xdotool windowactivate --sync "$fenster"
}

# From the project field (the focus at start) to A(1,1); then back round to "Berechnen".
xdotool windowactivate --sync "$fenster"
taste Tab Tab Tab ctrl+a 2 comma 5 shift+Tab shift+Tab shift+Tab shift+Tab space
taste ctrl+s
dialog "Gleichungssystem speichern" "$ordner/Neu.TVK"
warten test -s "$ordner/Neu.TVK" || fehler "Ctrl+S wrote no file"
# The loaded texts, the typed value with its comma, the rest as loaded: the system as
# entered, not the reduced one that "Berechnen" works on.
printf '### Tovik 5.0\r\nBr\xfccke\r\nLager 2\r\n 2\r\n 2.5\r\n 1\r\n 9\r\n 2\r\n 3\r\n 7\r\n' | cmp - "$ordner/Neu.TVK" ||
  fehler "the saved file differs: $(od -c "$ordner/Neu.TVK" | head -5)"

# Both dialogs now open in the folder of the file chosen last.
taste ctrl+o
dialog "vorh. Gleichungssystem laden" "Neu.TVK"
taste ctrl+s
dialog "Gleichungssystem speichern" "Wieder.TVK"
warten cmp "$ordner/Neu.TVK" "$ordner/Wieder.TVK" || fehler "the reopened system was saved differently"

taste ctrl+q
warten sh -c "! kill -0 $tovik_pid" || fehler "Ctrl+Q does not end the program"
wait $tovik_pid || fehler "the program ended with status $?"
echo "PASS: opened from the command line, typed, computed, saved, reopened, saved again, quit"
