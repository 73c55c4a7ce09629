#!/usr/bin/env bash
# Builds the Debian package from the build folder $1 (version $2) the way a
# user would, then checks it as Debian's own tools do: its file list, its
# control fields, the unpacked tree (menu entry, metainfo, icon sizes, manual
# page, default data files), lintian, and that apt would install it here. It
# also installs the build into a plain prefix. Every failure is named; the
# script fails when any check did.
set -euo pipefail
source "$(dirname "$0")/deb.sh"
budowa=$(cd "$1" && pwd)
wersja=$2
id=invalid.parvolen.Parvolen

robocze=$(mktemp -d)
trap 'rm -rf "$robocze"' EXIT
bledy=0
blad() {
    echo "BŁĄD: $*" >&2
    bledy=$((bledy + 1))
}

# Runs the command with its output kept aside, shown only when it fails.
sprawdz() {
    local opis=$1
    shift
    if ! "$@" >"$robocze/wyjscie" 2>&1; then
        blad "$opis"
        sed 's/^/    /' "$robocze/wyjscie" >&2
    fi
}

zbuduj_deb "$budowa" "$wersja" "$robocze/pakiet"

# The file list: path, then mode and owner as dpkg-deb shows them.
dpkg-deb --contents "$deb" | awk '{ print $6, $1, $2 }' >"$robocze/lista"
oczekiwane=(
    "./usr/bin/parvolen -rwxr-xr-x"
    "./usr/share/parvolen/Klik.wav -rw-r--r--"
    "./usr/share/parvolen/Program.cpm -rw-r--r--"
    "./usr/share/parvolen/DM.cpm -rw-r--r--"
    "./usr/share/parvolen/Pomoc/help.html -rw-r--r--"
    "./usr/share/parvolen/Pomoc/pomoc.css -rw-r--r--"
    "./usr/share/applications/$id.desktop -rw-r--r--"
    "./usr/share/metainfo/$id.metainfo.xml -rw-r--r--"
    "./usr/share/icons/hicolor/scalable/apps/$id.svg -rw-r--r--"
    "./usr/share/man/man1/parvolen.1.gz -rw-r--r--"
    "./usr/share/man/man1/parvolen-wine.1.gz -rw-r--r--"
    "./usr/bin/parvolen-wine -rwxr-xr-x"
    "./usr/share/doc/parvolen/copyright -rw-r--r--"
    "./usr/share/doc/parvolen/changelog.gz -rw-r--r--"
    "./usr/share/lintian/overrides/parvolen -rw-r--r--"
)
rozmiary=(16 24 32 48 64 128 256)
for r in "${rozmiary[@]}"; do
    oczekiwane+=("./usr/share/icons/hicolor/${r}x$r/apps/$id.png -rw-r--r--")
done
for wpis in "${oczekiwane[@]}"; do
    grep -qxF "$wpis root/root" "$robocze/lista" || blad "the package lacks ${wpis% *} as ${wpis##* } root/root"
done
awk '$1 !~ /^\.\/usr\// && $1 != "./" { print "    " $1 }' "$robocze/lista" >"$robocze/obce"
[ ! -s "$robocze/obce" ] || blad "files outside /usr: $(tr -d '\n' <"$robocze/obce")"

# Control fields; the dependencies come from the binaries.
pole() { dpkg-deb --field "$deb" "$1"; }
[ "$(pole Package)" = parvolen ] || blad "Package is '$(pole Package)'"
[ "$(pole Version)" = "$wersja" ] || blad "Version is '$(pole Version)', not $wersja"
[ "$(pole Section)" = electronics ] || blad "Section is '$(pole Section)'"
[ "$(pole Priority)" = optional ] || blad "Priority is '$(pole Priority)'"
for zaleznosc in libc6 libqt6widgets6 libsndfile1 libpulse0 libjpeg62-turbo; do
    pole Depends | grep -qE "(^|, )$zaleznosc( |,|$)" || blad "Depends lacks $zaleznosc: $(pole Depends)"
done

korzen=$robocze/korzen
dpkg-deb -x "$deb" "$korzen"
sprawdz "desktop-file-validate" desktop-file-validate "$korzen/usr/share/applications/$id.desktop"
sprawdz "appstreamcli validate" appstreamcli validate --no-net "$korzen/usr/share/metainfo/$id.metainfo.xml"
sprawdz "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$korzen"

# The menu entry starts the installed program by its icon.
wpis=$korzen/usr/share/applications/$id.desktop
exec_=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$wpis")
[ -x "$korzen/usr/bin/$exec_" ] || blad "Exec=$exec_ is not in usr/bin"
[ "$(sed -n 's/^Icon=//p' "$wpis")" = "$id" ] || blad "Icon= does not name $id"
grep -qx 'Categories=Education;Engineering;' "$wpis" || blad "Categories are not Education;Engineering;"

# Each PNG is as large as the folder it is in says (width and height are
# the big-endian words at bytes 16 and 20 of the PNG header).
for r in "${rozmiary[@]}"; do
    png=$korzen/usr/share/icons/hicolor/${r}x$r/apps/$id.png
    [ -f "$png" ] || continue
    wymiary=$(od -An -tu1 -j16 -N8 "$png" |
        awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }')
    [ "$wymiary" = "${r}x$r" ] || blad "the ${r}x$r icon is $wymiary"
done

# The manual page formats without a warning from groff or man.
man --warnings -E UTF-8 -l -Tutf8 -Z "$korzen/usr/share/man/man1/parvolen.1.gz" >/dev/null 2>"$robocze/man"
[ ! -s "$robocze/man" ] || blad "man warns: $(cat "$robocze/man")"

# A new data directory starts with an empty program and 255 words of 0.
wspolne=$korzen/usr/share/parvolen
[ ! -s "$wspolne/Program.cpm" ] || blad "Program.cpm is not empty"
cmp -s "$wspolne/DM.cpm" <(for _ in $(seq 255); do printf '0\r\n'; done) ||
    blad "DM.cpm is not 255 lines \"0\" with CR LF"

sprawdz "lintian" lintian --fail-on error,warning "$deb"
sprawdz "apt would not install the package" apt-get install -s --no-install-recommends "$deb"

# The same rules install under any prefix.
sprawdz "cmake --install" cmake --install "$budowa" --prefix "$robocze/prefiks"
for plik in bin/parvolen share/parvolen/Klik.wav share/parvolen/Pomoc/help.html \
    "share/applications/$id.desktop" share/man/man1/parvolen.1.gz; do
    [ -e "$robocze/prefiks/$plik" ] || blad "cmake --install gave no $plik under the prefix"
done

if [ "$bledy" -ne 0 ]; then
    echo "$bledy check(s) of $(basename "$deb") failed" >&2
    exit 1
fi
echo "$(basename "$deb"): every check passed"
