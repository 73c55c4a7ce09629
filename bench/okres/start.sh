#!/usr/bin/env bash
# Start-up of the real program to its main window: from the start of the
# staged executable under a virtual X server until xdotool finds the window
# "Parvolen ver 2.02" mapped. Several runs, each with a fresh data directory;
# prints every time and the median in milliseconds.
# Usage: start.sh <installation directory> [runs]
set -euo pipefail

if [ "${1:-}" != "--pod-x" ]; then
    instalacja=$(cd "$1" && pwd)
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --pod-x "$instalacja" "${2:-7}"
    exit
fi

instalacja=$2
przebiegi=$3
robocze=$(mktemp -d)
program=""
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$robocze"' EXIT

czasy=()
for n in $(seq "$przebiegi"); do
    rm -rf "$robocze/dane" "$robocze/xdg"
    mkdir -p "$robocze/xdg/Orvanta" "$robocze/dane"
    printf '[Setup]\nInstallPath=%s\n[Ports]\nCOM1=%s\nCOM2=%s\n' "$robocze/dane" \
        "$robocze/com1" "$robocze/com2" >"$robocze/xdg/Orvanta/Parvolen.conf"
    cp "$instalacja/Program.cpm" "$instalacja/DM.cpm" "$robocze/dane/"
    poczatek=$(date +%s%N)
    # The real window system: a test run may have chosen the offscreen one.
    (cd "$instalacja" && XDG_CONFIG_DIRS="$robocze/xdg" XDG_CONFIG_HOME="$robocze/config" \
        QT_QPA_PLATFORM=xcb exec ./parvolen) &
    program=$!
    okno=""
    for _ in $(seq 1000); do
        okno=$(xdotool search --onlyvisible --name '^Parvolen ver 2\.02$' 2>/dev/null | head -1) || true
        [ -n "$okno" ] && break
        sleep 0.005
    done
    koniec=$(date +%s%N)
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
    [ -n "$okno" ] || { echo "run $n: the main window did not appear" >&2; exit 1; }
    czasy+=($(((koniec - poczatek) / 1000000)))
done
mapfile -t posortowane < <(printf '%s\n' "${czasy[@]}" | sort -n)
echo "start-up to the main window, $przebiegi runs (ms): ${czasy[*]}; median ${posortowane[$((przebiegi / 2))]} ms"
