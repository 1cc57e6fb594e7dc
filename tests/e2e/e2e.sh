#!/usr/bin/env bash
# End to end: the built program as a user starts it, in a desktop session of its own
# (tools/x-sitzung.sh), driven by keys from xdotool. It opens the file named on its command
# line, saves a project name typed into its field with Ctrl+S from there, takes a typed
# value, computes, saves through the real dialog with Ctrl+S, opens the saved file with
# Ctrl+O, saves it again, and ends with Ctrl+Q.
#   tools/x-sitzung.sh tests/e2e/e2e.sh <path of tovik>
set -euo pipefail
command -v xdotool >/dev/null || { echo "SKIP: xdotool is missing (make test installs it)"; exit 77; }
tovik=$(readlink -f "$1")
cd "$HOME"
fehler() {
  echo "FAIL: $*"
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
  sed 's/^/  tovik: /' tovik.log 2>/dev/null
  exit 1
}
# Waits up to 30 s (a sanitizer build under load starts slowly) until the command succeeds.
warten() { for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
taste() { xdotool key --delay 60 "$@"; }
# Runs a file dialog: waits for it, types a name, Enter; then only the window is left (no
# completion list either, which would swallow the next click).
dialog() {
  warten xdotool search --onlyvisible --name "^$1\$" || fehler "no dialog '$1'"
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name "^$1\$")" type --delay 20 "$2"
  taste Return
  warten sh -c "[ \"\$(xdotool search --onlyvisible --pid $pid | wc -l)\" = 1 ]" || fehler "a window stays open after '$1'"
  xdotool windowactivate --sync "$fenster"
}

# The command line: German help and version; an unknown option or a second file ends with status 2.
"$tovik" --help | grep -q "^Aufruf:" && "$tovik" -v | grep -qx "tovik 5.0" || fehler "no German help or no version"
for aufruf in --gibtsnicht "Eins.TVK Zwei.TVK"; do
  status=0; timeout 20 "$tovik" $aufruf 2>/dev/null || status=$?
  [ $status = 2 ] || fehler "'tovik $aufruf' ends with status $status, not 2"
done
datei() { printf '### Tovik 5.0\r\n%s\r\nLager 2\r\n 2\r\n %s\r\n 1\r\n 9\r\n 2\r\n 3\r\n 7\r\n' "$1" "$2"; }
datei "$(printf 'Br\xfccke')" 4 >Start.TVK
"$tovik" Start.TVK >tovik.log 2>&1 &
pid=$!
titel='^Programm  Tovik.vbp, Version 5.0$'
warten xdotool search --onlyvisible --name "$titel" || fehler "no window appears"
fenster=$(xdotool search --onlyvisible --name "$titel")
warten sh -c "xprop -id $fenster _NET_WM_STATE | grep -q MAXIMIZED_HORZ" || fehler "the window is not maximized"

# A new project name in the project field (the focus at start), saved at once with Ctrl+S,
# which leaves no field: the file holds the name as typed.
xdotool windowactivate --sync "$fenster"
taste ctrl+a
xdotool type --delay 20 Nord
taste ctrl+s
dialog "Gleichungssystem speichern" "$HOME/Kopf.TVK"
warten cmp <(datei Nord 4) Kopf.TVK || fehler "the typed project name was not saved: $(od -c Kopf.TVK | head -3)"

# From the project field to A(1,1); then back round to "Berechnen".
taste Tab Tab Tab ctrl+a 2 comma 5 shift+Tab shift+Tab shift+Tab shift+Tab space ctrl+s
dialog "Gleichungssystem speichern" "$HOME/Neu.TVK"
# The typed value with its comma, the rest as loaded: the system as entered, not the
# reduced one that "Berechnen" works on.
warten cmp <(datei Nord 2.5) Neu.TVK || fehler "the saved file differs: $(od -c Neu.TVK | head -5)"

# Both dialogs now open in the folder of the file chosen last.
taste ctrl+o
dialog "vorh. Gleichungssystem laden" "Neu.TVK"
taste ctrl+s
dialog "Gleichungssystem speichern" "Wieder.TVK"
warten cmp Neu.TVK Wieder.TVK || fehler "the reopened system was saved differently"

taste ctrl+q
warten sh -c "! kill -0 $pid" || fehler "Ctrl+Q does not end the program"
wait $pid || fehler "the program ended with status $?"
echo "PASS: opened from the command line, named and saved by key, typed, computed, saved, reopened, saved again, quit"
