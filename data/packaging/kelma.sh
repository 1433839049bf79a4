#!/bin/sh
# Started from the desktop's menu. A workstation that has never run KELMA
# gets an embedded database of its own in the user's data folder, so it
# reaches the login at once; one already set up (System settings) keeps its
# place, a server's database included.
set -e
data="${XDG_DATA_HOME:-$HOME/.local/share}/kelma"
settings="${XDG_CONFIG_HOME:-$HOME/.config}/ZIRVO/KELMA.conf"
folder="$data/DATA/KELMA"
mkdir -p "$folder"
if [ ! -f "$settings" ]; then
    [ -f "$folder/KELMA.GDB" ] || /usr/bin/kelma-admin create "$folder/KELMA.GDB" >/dev/null
    year=$(date +%Y)
    [ -f "$folder/TEXT$year.GDB" ] || /usr/bin/kelma-admin create-year "$folder/TEXT$year.GDB" >/dev/null
fi
cd "$data"
exec /usr/lib/kelma/kelma "$@"
