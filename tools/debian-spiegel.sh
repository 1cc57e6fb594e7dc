#!/usr/bin/env bash
# Prints the Debian mirror that this machine's apt sources name for a suite (default
# bookworm), so that chroots fetch from where apt already does. Reads one-line sources
# (sources.list, *.list) and deb822 sources (*.sources); exits 1 when none names the suite.
#   tools/debian-spiegel.sh [suite]
set -euo pipefail
suite="${1:-bookworm}"

{
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -r "$f" ] || continue
    # deb [options] uri suite components...
    awk -v suite="$suite" '$1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
        if ($(i + 1) == suite) print $i
      }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -r "$f" ] || continue
    # Stanzas apart by blank lines; a stanza with Types: deb and the suite among its Suites.
    awk -v suite="$suite" 'BEGIN { RS = "" }
      {
        n = split($0, zeilen, "\n"); typ = 0; hat = 0; uri = ""; aus = 0
        for (k = 1; k <= n; k++) {
          z = zeilen[k]
          if (z ~ /^#/) continue
          split(z, w, /[ \t]+/)
          if (w[1] == "Types:")   for (j = 2; j in w; j++) if (w[j] == "deb") typ = 1
          if (w[1] == "Suites:")  for (j = 2; j in w; j++) if (w[j] == suite) hat = 1
          if (w[1] == "URIs:")    uri = w[2]
          if (w[1] == "Enabled:" && tolower(w[2]) == "no") aus = 1
        }
        if (typ && hat && uri != "" && !aus) print uri
      }' "$f"
  done
} | awk 'NR == 1 { print } END { exit NR == 0 }' ||
  { echo "no apt source names a Debian $suite mirror" >&2; exit 1; }
