#!/usr/bin/env bash
# The real program under a virtual X server: the welcome window closed once its
# countdown allows, then switched on with Alt+W in RUN (a
# start option of its data directory), running a program that copies input 00
# to output 00, input 00 toggled with Alt+0; output lamp 0 must light. The
# programming software is on the program's own virtual port (COM 1, mapped
# nowhere) through the link it publishes: the status read must report RUN,
# PROGRAM from the host must darken the outputs, a rung downloaded over the line must run in RUN with the monitor read of
# IR 010 following the input switch, and the upload must give the rung back.
# Usage: panel_e2e.sh <installation directory>
set -euo pipefail
source "$(dirname "$0")/../wspolne/stanowisko.sh"

if [ "${1:-}" != "--pod-x" ]; then
    urzadzenie_portu="" pod_x "$0" "$1" "" 1 Run 8008 20A8 8000 1801
fi

instalacja=$2
robocze=$3
source "$(dirname "$0")/../wspolne/powitanie.sh"
port_wirtualny "$robocze" 1
cd "$instalacja"
./parvolen &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }

zamknij_okno_powitalne || exit 1
echo "the welcome window closes after its countdown"
xdotool windowfocus --sync "$okno"

[ "$(kolor "${w0[@]}")" = "#CCEFCF" ] || { echo "output lamp 0 is $(kolor "${w0[@]}") before switch-on"; exit 1; }
xdotool key --clearmodifiers alt+w
czekaj jest_kolor "${pwr[@]}" "#00FF00" || { echo "PWR did not light: $(kolor "${pwr[@]}")"; exit 1; }
podlacz_port_wirtualny || exit 1
[ "$(kolor "${w0[@]}")" = "#CCEFCF" ] || { echo "output lamp 0 lit with input 00 off"; exit 1; }

xdotool key --clearmodifiers alt+0
czekaj jest_kolor "${w0[@]}" "#FF0000" || { echo "output lamp 0 did not light: $(kolor "${w0[@]}")"; exit 1; }

xdotool key --clearmodifiers alt+0
czekaj jest_kolor "${w0[@]}" "#EEFEEE" || { echo "output lamp 0 did not go out: $(kolor "${w0[@]}")"; exit 1; }
echo "output lamp 0 follows input 00"

potwierdzenie=$'@00MB000400004B*\r'
status_run=$'@00MB00110000040E01000000000000000000003F*\r'
status_program=$'@00MB00110000010E01000000000000000000003A*\r'

# Frames are not checked, so any two characters stand for the check sequence.
zapytaj $'@00MB1A0300*\r' "$status_run" || exit 1
echo "the status read over the line reports RUN"

# PROGRAM from the host darkens the outputs that RUN had lit.
xdotool key --clearmodifiers alt+0
czekaj jest_kolor "${w0[@]}" "#FF0000" || { echo "output lamp 0 did not light again"; exit 1; }
zapytaj $'@00MB0404000100*\r' "$status_run" || exit 1
czekaj jest_kolor "${w0[@]}" "#EEFEEE" || { echo "PROGRAM left output lamp 0 $(kolor "${w0[@]}")"; exit 1; }
zapytaj $'@00MB1A0300*\r' "$status_program" || exit 1
echo "PROGRAM from the host darkens the outputs"

# A new rung downloaded in PROGRAM: LD IR 000.01, OUT IR 010.01, END.
zapytaj $'@00MB1286080000000800920A98000180100*\r' "$potwierdzenie" || exit 1
# The acknowledgement goes out before the file is rewritten.
program_zapisany() { [ "$(tr -d '\r' <"$robocze/dane/Program.cpm" | tr '\n' ' ')" = "8009 20A9 8000 1801 " ]; }
czekaj program_zapisany ||
    { echo "Program.cpm after the download: $(cat -A "$robocze/dane/Program.cpm")"; exit 1; }
zapytaj $'@00MB0404000400*\r' "$potwierdzenie" || exit 1
zapytaj $'@00MB1A0300*\r' "$status_run" || exit 1

# The monitor read of IR 010 follows input 01, switched on the panel.
monitor_ir010() {
    local tekst="@00MB00840200,$1"
    printf '@00MB308402000011400*\r' >&3
    [ "$(timeout 10 head -c $((${#tekst} + 4)) <&3)" = "$tekst$(fcs "$tekst")"$'*\r' ]
}
monitor_ir010 00000000 || { echo "IR 010 is not 0000 before input 01"; exit 1; }
xdotool key --clearmodifiers alt+1
czekaj monitor_ir010 00020000 || { echo "the monitor read of IR 010 did not follow input 01"; exit 1; }
xdotool key --clearmodifiers alt+1
czekaj monitor_ir010 00000000 || { echo "IR 010 did not clear with input 01 off"; exit 1; }
echo "the downloaded rung runs and the monitor read follows it"

# The upload gives back the downloaded words, then fill frames and the closing frame.
pierwsza="@00MB0089000000008007FF,800920A980001801$(printf '0%.0s' $(seq 86))"
zapytaj $'@00MB110700*\r' "$pierwsza$(fcs "$pierwsza")"$'\r' || exit 1
for _ in 1 2 3 4; do
    zapytaj $'\r' "$(printf '0%.0s' $(seq 126))"$'\r' || exit 1
done
zapytaj $'\r' "$(printf '0%.0s' $(seq 40))"$'*\r' || exit 1
echo "the upload gives the downloaded rung back"
