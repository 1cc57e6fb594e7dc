#!/usr/bin/env bash
# The built program's command line where no display can be reached, with the platform left to
# Qt and with X11 asked for: help, version and every wrong call are answered on the terminal
# before anything graphical starts, never by a crash in Qt's platform plugin. Each row: the
# call, then the exit status and the first line the program writes. Then the whole help.
#   tests/befehlszeile/befehlszeile.sh <path of tovik>
set -uo pipefail
ergebnis=0
while IFS='|' read -r aufruf soll; do
  for plattform in "" xcb; do
    ausgabe=$(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM \
      ${plattform:+QT_QPA_PLATFORM=$plattform} timeout 20 "$1" $aufruf 2>&1)
    ist="$? ${ausgabe%%$'\n'*}"
    [ "$ist" = "$soll" ] || { echo "FAIL: tovik $aufruf, QT_QPA_PLATFORM ${plattform:-unset}: '$ist', not '$soll'"; ergebnis=1; }
  done
done <<EOF
--bogus|2 tovik: Unbekannte Option 'bogus'.
Eins.TVK Zwei.TVK|2 tovik: Es kann nur eine Datei geladen werden.
--platform|2 tovik: Nach '--platform' fehlt der Wert.
-platform offscreen -style fusion Eins.TVK Zwei.TVK|2 tovik: Es kann nur eine Datei geladen werden.
--help|0 Aufruf: $1 [Optionen] [DATEI]
--help-all|0 Aufruf: $1 [Optionen] [DATEI]
-v|0 tovik 5.0
EOF
# The whole help a user reads, against hilfe.txt beside this script: Qt's own options stay out of
# it (--help-all lists them).
env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$1" --help 2>&1 | sed "s|$1|tovik|" |
  diff -u "$(dirname "$0")/hilfe.txt" - || { echo "FAIL: tovik --help differs from hilfe.txt"; ergebnis=1; }
exit $ergebnis
