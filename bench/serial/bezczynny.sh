#!/usr/bin/env bash
# CPU of the port left open on the virtual port with no client on the link,
# over a span (10 s by default), as a share of one core: utime + stime from
# /proc/<pid>/stat (clock ticks), and the run time of all threads from their
# schedstat (nanoseconds, for the small figures); and the wake-ups of all its
# threads (voluntary context switches) per second.
# Usage: bezczynny.sh <parvolen_port_idle> [seconds]
set -euo pipefail
program=$1
sekundy=${2:-10}

"$program" $((sekundy + 3)) >/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
sleep 1 # opened and settled

cpu() { sed 's/.*) //' "/proc/$pid/stat" | awk '{print $12 + $13}'; }
nanosekundy() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}'; }
budzenia() { cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'; }

cpu_przed=$(cpu)
ns_przed=$(nanosekundy)
budzenia_przed=$(budzenia)
sleep "$sekundy"
cpu_po=$(cpu)
ns_po=$(nanosekundy)
budzenia_po=$(budzenia)
tykniecia=$(getconf CLK_TCK)
awk -v t=$((cpu_po - cpu_przed)) -v hz="$tykniecia" -v s="$sekundy" \
    -v ns=$((ns_po - ns_przed)) -v b=$((budzenia_po - budzenia_przed)) 'BEGIN {
        printf "idle port on the virtual port, no client, %d s: CPU %.3f %% of a core", s, ns / 1e7 / s
        printf " (%d ticks of 1/%d s), %.1f wake-ups/s\n", t, hz, b / s }'
