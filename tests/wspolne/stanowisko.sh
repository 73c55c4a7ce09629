# shellcheck shell=bash
# Sourced by the scripts that run the real program under a virtual X server.

# A data directory under the work folder $1 and the system settings that point
# the program at it, with COM$2 mapped to $urzadzenie_portu: "$1/com$2" when
# that is unset (a socat pair's end), no mapping when it is empty (COM 1 is
# then the virtual port). The user's own settings are an empty folder there
# too, so the settings of whoever runs the tests cannot remap the port. $3 is
# the start option that is true (Program, Monitor or Run); the remaining
# arguments are the program words.
przygotuj_dane() {
    local robocze=$1 port=$2 start=$3 tryb urzadzenie
    shift 3
    urzadzenie=${urzadzenie_portu-$robocze/com$port}
    mkdir -p "$robocze/xdg/Orvanta" "$robocze/config" "$robocze/dane"
    {
        printf '[Setup]\nInstallPath=%s\n' "$robocze/dane"
        [ -z "$urzadzenie" ] || printf '[Ports]\nCOM%s=%s\n' "$port" "$urzadzenie"
    } >"$robocze/xdg/Orvanta/Parvolen.conf"
    : >"$robocze/dane/Program.cpm"
    for slowo in "$@"; do printf '%s\r\n' "$slowo"; done >>"$robocze/dane/Program.cpm"
    for _ in $(seq 255); do printf '0\r\n'; done >"$robocze/dane/DM.cpm"
    {
        printf '[Opcje okna]\r\nKomunikacja=0\r\nNumer portu=%s\r\nZawszeNaWierzchu=0\r\n' "$port"
        printf '[Opcje programu]\r\n'
        for tryb in Program Monitor Run; do
            printf '%s=%d\r\n' "$tryb" "$([ "$tryb" = "$start" ] && echo 1 || echo 0)"
        done
    } >"$robocze/dane/Konfiguracja.ini"
    export XDG_CONFIG_DIRS="$robocze/xdg" XDG_CONFIG_HOME="$robocze/config"
}

# The start of every such script, outside the virtual X server: a work folder
# set up by przygotuj_dane with the arguments from the fourth on, then the
# script $1 run again under Xvfb as: $1 --pod-x <installation> <work folder>
# [$3]; the work folder is removed afterwards and this shell exits with the
# script's status. $2 is the installation directory, $3 may be empty.
pod_x() {
    local skrypt=$1 instalacja dodatkowy=$3
    instalacja=$(cd "$2" && pwd)
    shift 3
    robocze_pod_x=$(mktemp -d)
    trap 'rm -rf "$robocze_pod_x"' EXIT
    przygotuj_dane "$robocze_pod_x" "$@"
    # -noreset: without it the server resets whenever its last client (an
    # xdotool call, a program that just ended) goes, and a program started
    # during that reset finds no display.
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$skrypt" --pod-x "$instalacja" "$robocze_pod_x" \
        ${dodatkowy:+"$dodatkowy"}
    exit
}

# A pty pair made by socat: "$1/com$2" for the program, "$1/host" for the
# programming software's side. Sets $linia to socat's process and returns once
# the pair exists.
linia_pty() {
    socat pty,raw,echo=0,link="$1/com$2" pty,raw,echo=0,link="$1/host" &
    # shellcheck disable=SC2034 # read by the script that sources this file
    linia=$!
    czekaj test -e "$1/host" || { echo "socat made no pty pair"; exit 1; }
}

# Waits until the command succeeds, at most ten seconds.
czekaj() {
    for _ in $(seq 200); do
        if "$@"; then return 0; fi
        sleep 0.05
    done
    return 1
}

# The program's own virtual port as the line: the runtime directory, private,
# under the work folder $1, where the program publishes the link of COM$2 at
# its first switch-on. Sets $dowiazanie to the link; one left by an earlier
# start, which a killed program cannot remove, is removed here.
dowiazanie=""
port_wirtualny() {
    export XDG_RUNTIME_DIR="$1/run"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
    dowiazanie="$XDG_RUNTIME_DIR/parvolen/COM$2"
    rm -f "$dowiazanie"
}

# The programming software's side of the virtual port on descriptor 3, once
# the switch-on has published the link.
podlacz_port_wirtualny() {
    czekaj test -e "$dowiazanie" ||
        { echo "switched on, but the virtual port published no link"; return 1; }
    exec 3<>"$dowiazanie"
}

# Sets $okno to the main window once it exists.
okno=""
znajdz_okno() {
    okno=$(xdotool search --name '^Parvolen ver 2\.02$' 2>/dev/null | head -1)
    [ -n "$okno" ]
}

# The colour of one pixel of the main window, as #RRGGBB.
kolor() {
    import -window "$okno" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -1
}
jest_kolor() { [ "$(kolor "$1" "$2")" = "$3" ]; }
# Lamp centres in window coordinates: PWR, output lamp 0.
# shellcheck disable=SC2034 # read by the scripts that source this file
pwr=(258 86)
# shellcheck disable=SC2034
w0=(193 150)

# The check sequence of a text: the exclusive OR of its characters, two hex digits.
fcs() {
    local tekst=$1 x=0 i c
    for ((i = 0; i < ${#tekst}; i++)); do
        printf -v c '%d' "'${tekst:i:1}"
        x=$((x ^ c))
    done
    printf '%02X' "$x"
}

# Sends a command frame on descriptor 3 (the programming software's side of
# the line) and checks that the reply is exactly the one expected (bash's own
# read would change the terminal's settings of the line).
zapytaj() {
    local ramka=$1 oczekiwana=$2 odpowiedz
    printf '%s' "$ramka" >&3
    odpowiedz=$(timeout 10 head -c ${#oczekiwana} <&3) || { echo "no answer to ${ramka%$'\r'}"; return 1; }
    [ "$odpowiedz" = "$oczekiwana" ] || { echo "${ramka%$'\r'} answered: $odpowiedz"; return 1; }
}
