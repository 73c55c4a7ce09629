#!/usr/bin/env bash
# The installed program as a user starts it: the package from the build folder
# $1 (version $2) unpacked into a temporary root, and its usr/bin/parvolen
# started under a virtual X server from /, with a fresh HOME and XDG_DATA_HOME
# and no Setup/InstallPath. The first start makes the user's data folder with
# the default files, shows a window with the menu entry's class and icon,
# switches on (Alt+W) without the missing-click warning and takes a download
# over the line into the user's Program.cpm. A second start keeps that file
# and uploads the program back. A start whose XDG_DATA_HOME cannot be written
# shows the message naming the folder, opens no window and ends with a
# non-zero exit code once the message is closed.
# With PARVOLEN_ZRZUTY set to a folder, screenshots of the running program
# and of the message, and the 48 px menu icon, are left there.
# Usage: zainstalowany_e2e.sh <build folder> <version>
set -euo pipefail
tutaj=$(cd "$(dirname "$0")" && pwd)
source "$tutaj/../wspolne/stanowisko.sh"
source "$tutaj/../wspolne/powitanie.sh"

if [ "${1:-}" != "--pod-x" ]; then
    source "$tutaj/deb.sh"
    robocze=$(mktemp -d)
    trap 'rm -rf "$robocze"' EXIT
    zbuduj_deb "$(cd "$1" && pwd)" "$2" "$robocze/pakiet"
    dpkg-deb -x "$deb" "$robocze/korzen"
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$tutaj/$(basename "$0")" --pod-x "$robocze"
    exit
fi

robocze=$2
program_instalacji=$robocze/korzen/usr/bin/parvolen
export HOME=$robocze/dom
export XDG_DATA_HOME=$HOME/dane
export XDG_CONFIG_HOME=$HOME/.config
mkdir -p "$HOME"
dane=$XDG_DATA_HOME/Parvolen
zrzut() { [ -z "${PARVOLEN_ZRZUTY:-}" ] || import -window root "$PARVOLEN_ZRZUTY/$1.png"; }

# The line is the program's own virtual port: COM 2 (the port a new user's
# options choose) mapped to it in the system settings. Each start publishes
# its link afresh at switch-on; the programming software's side is then
# opened on descriptor 3.
mkdir -p "$robocze/xdg/Orvanta"
printf '[Ports]\nCOM2=virtual\n' >"$robocze/xdg/Orvanta/Parvolen.conf"
export XDG_CONFIG_DIRS=$robocze/xdg

program=""
trap 'kill $program 2>/dev/null || true' EXIT

# Starts the installed program from / with its standard error in $1; the
# further arguments, when given, are a command that runs it.
uruchom() {
    local bledy=$1
    shift
    (cd / && exec "$@" "$program_instalacji" 2>"$bledy") &
    program=$!
}
zakoncz() {
    kill "$program"
    wait "$program" 2>/dev/null || true
    program=""
}

# A message box is titled with the program's name alone.
komunikat=""
znajdz_komunikat() {
    komunikat=$(xdotool search --onlyvisible --name '^Parvolen$' 2>/dev/null | head -1)
    [ -n "$komunikat" ]
}

# Switches on from the panel; PWR lights only once the switch-on has got past
# the sound check, which a missing click would hold with its warning.
zalacz() {
    zamknij_okno_powitalne || exit 1
    xdotool windowfocus --sync "$okno"
    xdotool key --clearmodifiers alt+w
    czekaj jest_kolor "${pwr[@]}" "#00FF00" || {
        znajdz_komunikat && echo "a message box came up at switch-on"
        echo "PWR did not light: $(kolor "${pwr[@]}")"
        exit 1
    }
    ! znajdz_komunikat || { echo "a message box came up at switch-on"; exit 1; }
    podlacz_port_wirtualny || exit 1
}

potwierdzenie=$'@00MB000400004B*\r'
tekst_programu() { tr -d '\r' <"$dane/Program.cpm" | tr '\n' ' '; }

# The first start: the user's folder is made with the defaults, before the
# window shows, and no options file.
port_wirtualny "$robocze" 2
uruchom "$robocze/bledy1"
czekaj znajdz_okno || { echo "the main window did not appear"; cat "$robocze/bledy1"; exit 1; }
if [ ! -f "$dane/Program.cpm" ] || [ -s "$dane/Program.cpm" ]; then
    echo "no empty Program.cpm in $dane"
    ls -la "$dane" 2>&1
    exit 1
fi
cmp -s "$dane/DM.cpm" <(for _ in $(seq 255); do printf '0\r\n'; done) ||
    { echo "DM.cpm in $dane is not 255 lines \"0\""; exit 1; }
[ ! -e "$dane/Konfiguracja.ini" ] || { echo "an options file was seeded"; exit 1; }
echo "the first start makes $dane with the default files"

# The desktop pairs the window with the menu entry (StartupWMClass) and shows
# the entry's icon on it, taken from the hicolor PNGs of the unpacked tree.
# Both properties may follow the window's mapping by a moment.
klasa_okna() { xprop -id "$okno" WM_CLASS | grep -qF '"Parvolen"'; }
ikona_okna() { xprop -id "$okno" _NET_WM_ICON | grep -q 'Icon (128 x 128)'; }
czekaj klasa_okna ||
    { echo "the window's class is not Parvolen: $(xprop -id "$okno" WM_CLASS)"; exit 1; }
czekaj ikona_okna || { echo "the window has no icon of the menu entry"; exit 1; }
echo "the window carries the menu entry's class and icon"

zalacz
zrzut zainstalowany
echo "switch-on from / finds the click: no warning"

# A rung downloaded in PROGRAM (the start mode of a new user): LD IR 000.01,
# OUT IR 010.01, END. The acknowledgement goes out before the file is written.
zapytaj $'@00MB1286080000000800920A98000180100*\r' "$potwierdzenie" || exit 1
program_zapisany() { [ "$(tekst_programu)" = "8009 20A9 8000 1801 " ]; }
czekaj program_zapisany || { echo "the user's Program.cpm after the download: $(tekst_programu)"; exit 1; }
echo "the download is written to the user's Program.cpm"
zakoncz

# The second start keeps the file and runs the program from it: the upload
# after switch-on gives the rung back.
port_wirtualny "$robocze" 2
uruchom "$robocze/bledy2"
czekaj znajdz_okno || { echo "the main window did not appear again"; cat "$robocze/bledy2"; exit 1; }
program_zapisany || { echo "the second start changed Program.cpm: $(tekst_programu)"; exit 1; }
zalacz
pierwsza="@00MB0089000000008007FF,800920A980001801$(printf '0%.0s' $(seq 86))"
zapytaj $'@00MB110700*\r' "$pierwsza$(fcs "$pierwsza")"$'\r' || exit 1
echo "the second start keeps what the first one saved"
zakoncz

# The menu entry's icon at 48 px, beside the window's screenshots.
zrzut_ikony() {
    [ -z "${PARVOLEN_ZRZUTY:-}" ] ||
        cp "$robocze/korzen/usr/share/icons/hicolor/48x48/apps/invalid.parvolen.Parvolen.png" "$PARVOLEN_ZRZUTY/ikona-48.png"
}

# A data folder that cannot be made. Root writes in a read-only folder, so
# root runs the program in a user namespace of its own, where it is nobody.
# A container that allows no user namespace leaves this to the unit test of
# the data directory, which drops to an unprivileged user itself.
if [ "$(id -u)" -eq 0 ] && ! unshare --user true 2>/dev/null; then
    echo "skipped: the read-only XDG_DATA_HOME start (no user namespace for root here)"
    zrzut_ikony
    exit 0
fi
tylko_odczyt=$robocze/tylko-odczyt
mkdir -p "$tylko_odczyt"
chmod 555 "$tylko_odczyt"
jako=()
[ "$(id -u)" -ne 0 ] || jako=(unshare --user)
uruchom "$robocze/bledy3" env XDG_DATA_HOME="$tylko_odczyt" "${jako[@]}"
czekaj znajdz_komunikat || { echo "no message for a read-only XDG_DATA_HOME"; cat "$robocze/bledy3"; exit 1; }
for wiersz in "parvolen: Nie można przygotować katalogu danych programu:" \
    "$tylko_odczyt/Parvolen" "Permission denied" "Program zostanie zamknięty."; do
    grep -qxF "$wiersz" "$robocze/bledy3" ||
        { echo "the message lacks the line '$wiersz':"; cat "$robocze/bledy3"; exit 1; }
done
! znajdz_okno || { echo "the main window came up without a data folder"; exit 1; }
zrzut brak-katalogu
xdotool windowfocus --sync "$komunikat" key Return
kod=0
wait "$program" || kod=$?
program=""
[ "$kod" -ne 0 ] || { echo "the program ended with 0 without its data folder"; exit 1; }
[ ! -e "$tylko_odczyt/Parvolen" ] || { echo "a data folder was made after all"; exit 1; }
echo "a read-only XDG_DATA_HOME gives the message and exit code $kod"

zrzut_ikony
