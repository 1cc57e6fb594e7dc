#!/bin/sh
# The program lives in its own folder beside its example systems.
exec "$(dirname "$(readlink -f "$0")")/../lib/tovik/tovik" "$@"
