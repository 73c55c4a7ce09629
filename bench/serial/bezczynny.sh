#!/usr/bin/env bash
# CPU of the port left open on the virtual port with no client on the link,
# over a span (10 s by default), as a share of one core: utime + stime from
# /proc/<pid>/stat (clock ticks), and the run time of all threads from their
# schedstat (nanoseconds, for the small figures); and the wake-ups of all its
# threads (voluntary context switches) per second.
# Usage:
#   bezczynny.sh <parvolen_port_idle> [seconds]     the port component alone
#   bezczynny.sh --program <installation> [seconds] the real program under
#       Xvfb, COM 1 mapped to the virtual port, switched on with Alt+W
# shellcheck source-path=SCRIPTDIR
set -euo pipefail
tutaj=$(cd "$(dirname "$0")" && pwd)

# Measures the process $1 for $2 seconds; $3 says what ran.
mierz() {
    local pid=$1 sekundy=$2 opis=$3 cpu_przed ns_przed budzenia_przed cpu_po ns_po budzenia_po
    cpu() { sed 's/.*) //' "/proc/$pid/stat" | awk '{print $12 + $13}'; }
    nanosekundy() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}'; }
    budzenia() {
        cat /proc/"$pid"/task/*/status 2>/dev/null |
            awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'
    }
    cpu_przed=$(cpu)
    ns_przed=$(nanosekundy)
    budzenia_przed=$(budzenia)
    sleep "$sekundy"
    cpu_po=$(cpu)
    ns_po=$(nanosekundy)
    budzenia_po=$(budzenia)
    awk -v t=$((cpu_po - cpu_przed)) -v hz="$(getconf CLK_TCK)" -v s="$sekundy" -v o="$opis" \
        -v ns=$((ns_po - ns_przed)) -v b=$((budzenia_po - budzenia_przed)) 'BEGIN {
            printf "%s, %d s: CPU %.3f %% of a core", o, s, ns / 1e7 / s
            printf " (%d ticks of 1/%d s), %.1f wake-ups/s\n", t, hz, b / s }'
}

case "${1:-}" in
--program)
    # shellcheck source=../../tests/wspolne/stanowisko.sh
    source "$tutaj/../../tests/wspolne/stanowisko.sh"
    urzadzenie_portu=virtual pod_x "$0" "$2" "${3:-10}" 1 Program
    ;;
--pod-x)
    # shellcheck source=../../tests/wspolne/stanowisko.sh
    source "$tutaj/../../tests/wspolne/stanowisko.sh"
    # shellcheck source=../../tests/wspolne/powitanie.sh
    source "$tutaj/../../tests/wspolne/powitanie.sh"
    instalacja=$2
    robocze=$3
    sekundy=$4
    port_wirtualny "$robocze" 1
    cd "$instalacja"
    QT_QPA_PLATFORM=xcb ./parvolen &
    program=$!
    trap 'kill "$program" 2>/dev/null || true' EXIT
    czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
    zamknij_okno_powitalne || exit 1
    xdotool windowfocus --sync "$okno"
    xdotool key --clearmodifiers alt+w
    czekaj test -L "$dowiazanie" ||
        { echo "switched on, but the virtual port published no link"; exit 1; }
    sleep 1
    mierz "$program" "$sekundy" "the program switched on, COM 1 on the virtual port, no client"
    ;;
*)
    "$1" $((${2:-10} + 3)) >/dev/null &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    sleep 1 # opened and settled
    mierz "$pid" "${2:-10}" "the port open on the virtual port, no client"
    ;;
esac
