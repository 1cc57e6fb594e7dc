#!/usr/bin/env bash
# End to end: the built program as a user starts it, in a desktop session of its own
# (tools/x-sitzung.sh), driven by keys from xdotool. It opens the file named on its command
# line, saves a project name typed into its field with Ctrl+S from there, takes a typed
# value, computes, saves through the real dialog with Ctrl+S, opens the saved file with
# Ctrl+O, takes a block pasted from the X clipboard, computes and copies the system back to it
# with Ctrl+Shift+C, saves, and ends with Ctrl+Q.
#   tools/x-sitzung.sh tests/e2e/e2e.sh <path of tovik>
set -euo pipefail
command -v xdotool >/dev/null && command -v xclip >/dev/null || { echo "SKIP: xdotool or xclip is missing (make test installs them)"; exit 77; }
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

# The Open dialog opens in the folder of the file chosen last.
taste ctrl+o
dialog "vorh. Gleichungssystem laden" "Neu.TVK"

# A block as a spreadsheet copies it, pasted into A(1,1) (4 Tabs on from "Berechnen", which
# has the focus): three lines of four values make N = 3. Computed and copied back, each line
# carries x as well; the saved file holds the pasted system.
printf '3\t4\t7\t90\n12\t10\t0\t78\n0\t12\t2\t56\n' | xclip -selection clipboard >/dev/null 2>&1
taste Tab Tab Tab Tab ctrl+v shift+Tab shift+Tab shift+Tab shift+Tab space ctrl+shift+c
kopie='3 4 7 90 3.91769547325102|12 10 0 78 3.09876543209877|0 12 2 56 9.40740740740741|'
warten sh -c "xclip -o -selection clipboard | tr '\t\n,' ' |.' | grep -qxF '$kopie'" ||
  fehler "the copy differs: $(xclip -o -selection clipboard | od -c | head -5)"
taste ctrl+s
dialog "Gleichungssystem speichern" "Block.TVK"
block() { printf '### Tovik 5.0\r\nNord\r\nLager 2\r\n 3\r\n'; printf ' %s\r\n' 3 4 7 90 12 10 0 78 0 12 2 56; }
warten cmp <(block) Block.TVK || fehler "the pasted system was saved differently: $(od -c Block.TVK | head -5)"

taste ctrl+q
warten sh -c "! kill -0 $pid" || fehler "Ctrl+Q does not end the program"
wait $pid || fehler "the program ended with status $?"
echo "PASS: opened from the command line, named and saved by key, typed, computed, saved, reopened, pasted a block, copied, quit"
