#!/usr/bin/env bash
# The project's Win32 test client under Wine in a fresh prefix, against the
# real program under a virtual X server, switched on in PROGRAM with COM 1 on
# the virtual port:
#  - COM1 mapped by hand in the registry, as the help page describes it, and
#    the client run without the library: Wine fails its serial calls with
#    error 50 or 995, which is what the library is for;
#  - parvolen-wine --check, then through parvolen-wine: status, identity, a
#    60-word download and its upload compared word for word, RUN; a monitor
#    read of IR 010 that follows input 00 switched with Alt+0; three sessions
#    in a row; the median status round trip over 200 frames.
#  - the 64-bit run also installs the build into a prefix of its own and
#    checks the installed command, which finds its files from bin/.
# Usage: wine_e2e.sh <installation directory> <64|32> <build directory>
# Exits 77 (skipped) when Wine, the client or the 32-bit parts are missing,
# unless PARVOLEN_WINE_WYMAGANE=1 (CI), where that is a failure.
set -euo pipefail
source "$(dirname "$0")/../wspolne/stanowisko.sh"

if [ "${1:-}" != "--pod-x" ]; then
    instalacja=$1
    bity=$2
    export PARVOLEN_BUDOWA=$3
    pomin() {
        echo "skipped: $*"
        [ "${PARVOLEN_WINE_WYMAGANE:-0}" = 1 ] && exit 1
        exit 77
    }
    for narzedzie in wine wineserver xvfb-run xdotool; do
        command -v "$narzedzie" >/dev/null || pomin "no $narzedzie"
    done
    arch=$([ "$bity" = 32 ] && echo i686 || echo x86_64)
    [ -f "$instalacja/lib/parvolen/parvolen-com-$arch.exe" ] ||
        pomin "no $arch test client (gcc-mingw-w64-${arch/_/-})"
    if [ "$bity" = 32 ]; then
        # The ELF class byte: 1 for a 32-bit build of the library.
        klasa() { od -An -tu1 -j4 -N1 "$1" | tr -d ' '; }
        biblioteki32=0
        for b in "$instalacja"/lib/parvolen/lib*/*/libparvolen-pty.so; do
            [ -f "$b" ] && [ "$(klasa "$b")" = 1 ] && biblioteki32=1
        done
        [ "$biblioteki32" = 1 ] || pomin "no 32-bit build of the library (gcc-multilib)"
        if [ -x /usr/lib/wine/wine64 ] && [ ! -x /usr/lib/wine/wine ]; then
            pomin "no 32-bit Wine (wine32:i386)"
        fi
    fi
    urzadzenie_portu=virtual pod_x "$0" "$instalacja" "$bity" 1 Program
fi

instalacja=$2
robocze=$3
bity=$4
arch=$([ "$bity" = 32 ] && echo i686 || echo x86_64)
klient="$instalacja/lib/parvolen/parvolen-com-$arch.exe"
source "$(dirname "$0")/../wspolne/powitanie.sh"

port_wirtualny "$robocze" 1
export WINEPREFIX="$robocze/wine"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

program=""
sprzatanie() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    kill $program 2>/dev/null || true
}
trap sprzatanie EXIT

cd "$instalacja"
./parvolen &
program=$!
czekaj znajdz_okno || { echo "the main window did not appear"; exit 1; }
zamknij_okno_powitalne || exit 1
xdotool windowfocus --sync "$okno"
xdotool key --clearmodifiers alt+w
czekaj test -e "$dowiazanie" || { echo "switched on, but the virtual port published no link"; exit 1; }

# The manual way: the registry mapping, then a new wineserver. The prefix is
# created on the way.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$dowiazanie" /f >/dev/null 2>&1 ||
    { echo "the registry mapping failed"; exit 1; }
wineserver -k

# Wine's console ends lines with CR LF.
wynik=0
bez=$(wine "$klient" status 2>&1) || wynik=$?
bez=${bez//$'\r'/}
if [ "$wynik" != 4 ] || ! grep -Eq 'failed: error (50|995)$' <<<"$bez"; then
    echo "without the library the client ended with $wynik: $bez"
    exit 1
fi
echo "without the library: ${bez##*$'\n'}"

# The mapping is already the one parvolen-wine makes: it must not restart
# the prefix's wineserver.
sprawdzenie=$("$instalacja/parvolen-wine" --check 2>&1) || { echo "$sprawdzenie"; exit 1; }
echo "$sprawdzenie"
! grep -q 'prowadzi teraz' <<<"$sprawdzenie" || { echo "parvolen-wine mapped the port again"; exit 1; }

klient_wine() { "$instalacja/parvolen-wine" "$klient" "$@"; }

# What the self-test says when something is missing; --check runs both
# bitnesses, so the 64-bit run alone tries these.
if [ "$bity" = 64 ]; then
    # The command fails with its message and the status given.
    odmawia() {
        local status=$1 komunikat=$2 wynik=0 wyjscie
        shift 2
        wyjscie=$("$@" 2>&1) || wynik=$?
        if [ "$wynik" != "$status" ] || ! grep -q "$komunikat" <<<"$wyjscie"; then
            echo "$* ended with $wynik, not $status with \"$komunikat\": $wyjscie"
            return 1
        fi
    }
    # No Wine on the PATH: only what the command needs before it looks.
    mkdir "$robocze/bez-wine"
    for narzedzie in bash dirname readlink; do
        ln -s "$(command -v "$narzedzie")" "$robocze/bez-wine/$narzedzie"
    done
    odmawia 1 'nie znaleziono Wine' env PATH="$robocze/bez-wine" \
        "$(command -v bash)" "$instalacja/parvolen-wine" --check || exit 1

    # A copy of the command whose library is missing.
    kopia="$robocze/kopia"
    mkdir -p "$kopia/lib/parvolen"
    cp "$instalacja/parvolen-wine" "$kopia/"
    cp "$instalacja"/lib/parvolen/*.exe "$kopia/lib/parvolen/"
    odmawia 1 'Wine nie wczytał biblioteki' "$kopia/parvolen-wine" --check || exit 1

    # The simulator switched off: the check fails, the program is not started
    # unless asked for with --force, and then it finds no answer.
    xdotool windowfocus --sync "$okno"
    xdotool key --clearmodifiers alt+w
    odmawia 1 'symulator nie odpowiada' "$instalacja/parvolen-wine" --check || exit 1
    odmawia 1 'program nie został uruchomiony' klient_wine status || exit 1
    odmawia 5 'no reply' "$instalacja/parvolen-wine" --force "$klient" status || exit 1
    xdotool windowfocus --sync "$okno"
    xdotool key --clearmodifiers alt+w
    echo "the self-test names a missing Wine, a missing library and a switched-off simulator"

    cmake --install "$PARVOLEN_BUDOWA" --prefix "$robocze/prefiks" >/dev/null
    "$robocze/prefiks/bin/parvolen-wine" --check >/dev/null || exit 1
    echo "the installed command finds its library and client"
fi

klient_wine status=PROGRAM identyfikacja pobierz run status=RUN || exit 1
echo "status, identity, download and upload of 60 words, RUN"

# IR 010 follows input 00 through the downloaded program.
wypisane="$robocze/monitor"
klient_wine monitor=0114:00010000 >"$wypisane" 2>&1 &
monitor=$!
# The self-test and Wine's start come first: up to a minute on a busy machine.
pierwszy_odczyt() { grep -q '^monitor 0114 00000000' "$wypisane"; }
for _ in $(seq 600); do
    pierwszy_odczyt || ! kill -0 "$monitor" 2>/dev/null && break
    sleep 0.1
done
pierwszy_odczyt || { echo "no first monitor read: $(cat "$wypisane")"; exit 1; }
xdotool windowfocus --sync "$okno"
xdotool key --clearmodifiers alt+0
wait "$monitor" || { echo "the monitor read did not follow input 00: $(cat "$wypisane")"; exit 1; }
echo "the monitor read of IR 010 follows input 00"

for sesja in 1 2 3; do
    klient_wine status=RUN >/dev/null || { echo "session $sesja in a row failed"; exit 1; }
done
echo "three sessions in a row"

klient_wine pomiar=200 || exit 1
