#!/usr/bin/env bash
# Soak run: the real program from its staged installation under a virtual X
# server, its welcome window closed, switched on in PROGRAM with a pty pair
# (socat) on COM1, or with COM1 mapped to the network address given;
# soak.py plays the programming software on the other end (for an address,
# as a pyserial client) while the input switches are toggled with their
# keyboard accelerators (Alt+0 to Alt+7) all along.
# Not part of the test run: 100,000 frames take minutes.
# Usage: tools/soak/soak.sh <installation directory, e.g. build/bin> [frames]
#        [rfc2217://HOST:PORT | socket://HOST:PORT]
set -euo pipefail
source "$(dirname "$0")/../../tests/wspolne/stanowisko.sh"

if [ "${1:-}" != "--pod-x" ]; then
    export adres_soak=${3:-}
    [ -z "$adres_soak" ] || urzadzenie_portu=$adres_soak
    pod_x "$0" "$1" "${2:-100000}" 1 Program
fi

instalacja=$2
robocze=$3
ramki=$4
klient=$(cd "$(dirname "$0")" && pwd)/soak.py
source "$(dirname "$klient")/../../tests/wspolne/powitanie.sh"
linia=""
if [ -z "${adres_soak:-}" ]; then
    linia_pty "$robocze" 1
    strona="$robocze/host"
    python=python3
else
    strona=$adres_soak
    # Debian's own interpreter, which has pyserial.
    python=/usr/bin/python3
fi
cd "$instalacja"
./parvolen &
program=$!
przelaczanie=""
trap 'kill $przelaczanie $program $linia 2>/dev/null || true' EXIT

czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
zamknij_okno_powitalne || exit 1
xdotool windowfocus --sync "$okno"
xdotool key --clearmodifiers alt+w
sleep 1

# The input switches, toggled one after another for as long as the client runs.
(
    n=0
    while kill -0 "$program" 2>/dev/null; do
        xdotool key --clearmodifiers "alt+$((n % 8))" 2>/dev/null || true
        n=$((n + 1))
        sleep 0.1
    done
) &
przelaczanie=$!

wynik=0
"$python" "$klient" "$strona" "$program" "$ramki" || wynik=$?
kill -0 "$program" 2>/dev/null || { echo "the program is gone"; exit 1; }
exit $wynik
