# shellcheck shell=bash
# Sourced by the end-to-end scripts after stanowisko.sh, once the main window
# has appeared.

# Sets $powitalne to the welcome window once it is shown.
powitalne=""
znajdz_powitalne() {
    powitalne=$(xdotool search --onlyvisible --name '^Uwaga !$' 2>/dev/null | head -1)
    [ -n "$powitalne" ]
}

# The welcome window holds the panel, modal, and refuses to close for ten
# seconds; then Space on its only button closes it. Fails when it does not
# appear, closes too early or does not close.
zamknij_okno_powitalne() {
    local _
    czekaj znajdz_powitalne || { echo "the welcome window did not appear"; return 1; }
    # Space on its button; true when the window has gone.
    sprobuj() {
        xdotool windowfocus --sync "$powitalne" key space 2>/dev/null || true
        sleep 0.5
        ! xdotool search --onlyvisible --name '^Uwaga !$' >/dev/null 2>&1
    }
    for _ in $(seq 5); do
        ! sprobuj || { echo "the welcome window closed before its countdown ended"; return 1; }
    done
    for _ in $(seq 40); do
        sprobuj && return 0
    done
    echo "the welcome window did not close after its countdown"
    return 1
}
