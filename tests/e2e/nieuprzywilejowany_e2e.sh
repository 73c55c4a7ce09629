#!/usr/bin/env bash
# The real program as a user without root would run it: started as root, the
# whole run (the virtual X server, the program and the client) drops to the
# unprivileged user 65534; started as anyone else, it runs as that user. The
# user has a home and XDG folders of their own and no settings file at all,
# only options that choose COM 1, which then is the virtual port. Switched
# on, a client of the same user opens the published link, sets 9600 7E2
# through the C library's tcsetattr and reads the status, three connections
# in a row. Then the user's own settings file maps COM 1 to "~/linia", a
# socat pair's end in the home: the next start answers there and publishes
# no link.
# Usage: nieuprzywilejowany_e2e.sh <installation directory>
# Exits 77 (skipped) as root when neither setpriv nor runuser is present.
set -euo pipefail
tutaj=$(cd "$(dirname "$0")" && pwd)
source "$tutaj/../wspolne/stanowisko.sh"

if [ "${1:-}" != "--pod-x" ]; then
    instalacja=$(cd "$1" && pwd)
    jako=()
    if [ "$(id -u)" -eq 0 ]; then
        if command -v setpriv >/dev/null; then
            jako=(setpriv --reuid=65534 --regid=65534 --clear-groups)
        elif command -v runuser >/dev/null; then
            jako=(runuser -u "$(id -nu 65534)" --)
        else
            echo "skipped: neither setpriv nor runuser to leave root"
            exit 77
        fi
    fi
    robocze=$(mktemp -d)
    trap 'rm -rf "$robocze"' EXIT
    [ "$(id -u)" -ne 0 ] || chown 65534:65534 "$robocze"
    "${jako[@]}" env HOME="$robocze/dom" TMPDIR="$robocze" \
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$tutaj/$(basename "$0")" --pod-x "$instalacja" "$robocze"
    exit
fi

instalacja=$2
robocze=$3
source "$tutaj/../wspolne/powitanie.sh"
[ "$(id -u)" -ne 0 ] || { echo "the run is still root"; exit 1; }
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_CONFIG_DIRS=$robocze/xdg
mkdir -p "$HOME" "$XDG_CONFIG_DIRS/Orvanta" "$XDG_DATA_HOME/Parvolen"
# The staged installation has no shared defaults to seed the user's data
# folder from, so the folder is made here and the administrator's file names
# it; that file maps no port.
dane=$XDG_DATA_HOME/Parvolen
printf '[Opcje okna]\r\nKomunikacja=0\r\nNumer portu=1\r\nZawszeNaWierzchu=0\r\n' >"$dane/Konfiguracja.ini"
: >"$dane/Program.cpm"
for _ in $(seq 255); do printf '0\r\n'; done >"$dane/DM.cpm"
printf '[Setup]\nInstallPath=%s\n' "$dane" >"$XDG_CONFIG_DIRS/Orvanta/Parvolen.conf"

program=""
linia=""
trap 'kill $program $linia 2>/dev/null || true' EXIT
uruchom() {
    (cd / && exec "$instalacja/parvolen") &
    program=$!
    czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
    zamknij_okno_powitalne || exit 1
    xdotool windowfocus --sync "$okno"
    xdotool key --clearmodifiers alt+w
    czekaj jest_kolor "${pwr[@]}" "#00FF00" || { echo "PWR did not light: $(kolor "${pwr[@]}")"; exit 1; }
}
zakoncz() {
    kill "$program"
    wait "$program" 2>/dev/null || true
    program=""
}

# $1 connections in a row to the line $2, each setting the controller's line through
# glibc's tcsetattr (with its read-back check) and reading the status.
polaczenia() {
    python3 - "$1" "$2" <<'PYTHON'
import os, select, sys, termios, time

count, link = int(sys.argv[1]), sys.argv[2]
status = b"@00MB1A0300*\r"
for connection in range(1, count + 1):
    fd = os.open(link, os.O_RDWR | os.O_NOCTTY)
    try:
        line = termios.tcgetattr(fd)
        line[0] = 0
        line[1] = 0
        line[2] = (line[2] & ~(termios.CSIZE | termios.PARODD)) | termios.CS7 | termios.PARENB \
            | termios.CSTOPB | termios.CREAD | termios.CLOCAL
        line[3] = 0
        line[4] = line[5] = termios.B9600
        line[6][termios.VMIN] = 0
        line[6][termios.VTIME] = 0
        try:
            termios.tcsetattr(fd, termios.TCSANOW, line)
        except termios.error as failure:
            sys.exit(f"connection {connection}: tcsetattr 9600 7E2 failed: {failure}")
        os.write(fd, status)
        reply = b""
        deadline = time.monotonic() + 10
        while not reply.endswith(b"\r") and time.monotonic() < deadline:
            if select.select([fd], [], [], 0.1)[0]:
                reply += os.read(fd, 256)
        if not reply.startswith(b"@00MB0011") or not reply.endswith(b"*\r"):
            sys.exit(f"connection {connection}: status answered {reply!r}")
    finally:
        os.close(fd)
print(f"{count} connection(s) in a row set 9600 7E2 and read the status")
PYTHON
}

# No settings file at all: COM 1 is the virtual port, published in the
# user's runtime folder.
port_wirtualny "$robocze" 1
uruchom
czekaj test -e "$dowiazanie" || { echo "switched on, but the virtual port published no link"; exit 1; }
[ "$(stat -c %u "$dowiazanie")" = "$(id -u)" ] || { echo "the link is not the user's"; exit 1; }
polaczenia 3 "$dowiazanie" || exit 1
zakoncz

# The user's own choice: COM 1 on a device path in the home, written with a
# leading ~ as the port dialog stores a typed path.
socat pty,raw,echo=0,link="$HOME/linia" pty,raw,echo=0,link="$robocze/host" &
linia=$!
czekaj test -e "$robocze/host" || { echo "socat made no pty pair"; exit 1; }
mkdir -p "$XDG_CONFIG_HOME/Orvanta"
printf '[Ports]\nCOM1=~/linia\n' >"$XDG_CONFIG_HOME/Orvanta/Parvolen.conf"
port_wirtualny "$robocze" 1
uruchom
# socat ends when its other side closes: one connection.
polaczenia 1 "$robocze/host" || exit 1
[ ! -e "$dowiazanie" ] || { echo "the virtual port was published against the user's mapping"; exit 1; }
echo "the user's mapping of COM 1 is honoured"
