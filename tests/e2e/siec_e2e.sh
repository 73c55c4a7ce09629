#!/usr/bin/env bash
# The real program under a virtual X server with COM 1 mapped to a network
# port of the given kind (rfc2217 or socket), on a free TCP port of loopback;
# switched on in PROGRAM, it must listen there and only there, and
# siec_klient.py, pyserial as the programming software, does the rest.
# Usage: siec_e2e.sh <installation directory> <rfc2217|socket>
set -euo pipefail
source "$(dirname "$0")/../wspolne/stanowisko.sh"

# Debian's own interpreter, which has pyserial.
python=/usr/bin/python3
if [ "${1:-}" != "--pod-x" ]; then
    "$python" -c 'import serial' 2>/dev/null || { echo "python3-serial is not installed"; exit 77; }
    command -v ss >/dev/null || { echo "ss is not installed"; exit 77; }
    tcp=$("$python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    urzadzenie_portu="$2://127.0.0.1:$tcp" pod_x "$0" "$1" "$2://127.0.0.1:$tcp" 1 Program
fi

instalacja=$2
robocze=$3
klient=$(cd "$(dirname "$0")" && pwd)/siec_klient.py
adres=$4
tcp=${adres##*:}
source "$(dirname "$0")/../wspolne/powitanie.sh"
cd "$instalacja"
./parvolen &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

nasluchuje() { ss -Hltn "sport = :$tcp" | grep -q .; }
czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
zamknij_okno_powitalne || exit 1
! nasluchuje || { echo "port $tcp listens before the first switch-on"; exit 1; }
xdotool windowfocus --sync "$okno"
xdotool key --clearmodifiers alt+w
czekaj nasluchuje || { echo "switched on, but nothing listens on port $tcp"; exit 1; }
adresy=$(ss -Hltn "sport = :$tcp" | awk '{print $4}')
[ "$adresy" = "127.0.0.1:$tcp" ] || { echo "port $tcp listens on: $adresy"; exit 1; }
echo "the network port listens on 127.0.0.1:$tcp only"

"$python" "$klient" "$adres" "$okno"
kill -0 "$program" 2>/dev/null || { echo "the program is gone"; exit 1; }
