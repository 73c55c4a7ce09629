# shellcheck shell=bash
# Sourced by the scripts that check the Debian package.

# Builds the package from the build folder $1 (version $2) into the folder $3
# as a user would, with cpack, and sets $deb to it. Exits when cpack fails or
# makes no package of that name.
zbuduj_deb() {
    local budowa=$1 wersja=$2 cel=$3
    mkdir -p "$cel"
    if ! cpack -G DEB --config "$budowa/CPackConfig.cmake" -B "$cel" >"$cel/cpack.log" 2>&1; then
        cat "$cel/cpack.log" >&2
        echo "BŁĄD: cpack failed" >&2
        exit 1
    fi
    deb=$cel/parvolen_${wersja}_$(dpkg --print-architecture).deb
    if [ ! -f "$deb" ]; then
        echo "BŁĄD: no $(basename "$deb"); cpack made:" >&2
        ls "$cel" >&2
        exit 1
    fi
}
