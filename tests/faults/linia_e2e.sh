#!/usr/bin/env bash
# The real program under a virtual X server, its COM2 a pty pair made by
# socat. The programming software's side goes away (socat ends, so both of
# its ends close) while the simulator runs in RUN; the simulator must keep
# running without spinning on the hung-up line, and after a switch-off and
# on (Alt+W twice) a new client on a fresh pair under the same name must get
# its answers.
# Usage: linia_e2e.sh <installation directory>
set -euo pipefail
source "$(dirname "$0")/../wspolne/stanowisko.sh"

if [ "${1:-}" != "--pod-x" ]; then
    pod_x "$0" "$1" "" 2 Run 8008 20A8 8000 1801
fi

instalacja=$2
robocze=$3
source "$(dirname "$0")/../wspolne/powitanie.sh"
linia=""
program=""
trap 'kill $program $linia 2>/dev/null || true' EXIT

nowa_linia() {
    rm -f "$robocze/com2" "$robocze/host"
    linia_pty "$robocze" 2
}
# A status read over the line; the reply must report RUN.
status_run() {
    exec 3<>"$robocze/host"
    printf '@00MB1A03*\r' >&3
    oczekiwana=$'@00MB00110000040E01000000000000000000003F*\r'
    odpowiedz=$(timeout 10 head -c ${#oczekiwana} <&3) || { echo "no answer to the status read ($1)"; exit 1; }
    exec 3>&-
    [ "$odpowiedz" = "$oczekiwana" ] || { echo "status read ($1) answered: $odpowiedz"; exit 1; }
}
# Clock ticks of CPU time the program has used.
cpu() { awk '{print $14 + $15}' "/proc/$program/stat"; }

nowa_linia
cd "$instalacja"
./parvolen &
program=$!
czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
zamknij_okno_powitalne || exit 1
xdotool windowfocus --sync "$okno"
xdotool key --clearmodifiers alt+w
sleep 0.5
status_run "first client"

# The other side goes away; half a frame was on the way.
exec 3<>"$robocze/host"
printf '@00MB1A' >&3
exec 3>&-
kill "$linia"
wait "$linia" 2>/dev/null || true
przed=$(cpu)
sleep 2
po=$(cpu)
kill -0 "$program" 2>/dev/null || { echo "the program ended when the line hung up"; exit 1; }
tykniecia=$(getconf CLK_TCK)
# Two seconds of a spinning thread would be 2 * CLK_TCK ticks.
[ $((po - przed)) -lt "$tykniecia" ] ||
    { echo "the program used $((po - przed)) ticks in 2 s on a hung-up line"; exit 1; }
echo "the program keeps running on a hung-up line"

xdotool key --clearmodifiers alt+w
sleep 0.5
nowa_linia
xdotool key --clearmodifiers alt+w
sleep 0.5
status_run "new client"
echo "a new client is answered after a switch-off and on"
