# Helpers of the sessions that run the real binary under an X server: bounded waits, a private
# Xvfb, windows found by title, and the game's exit. Sourced; the caller sets WORK and fills
# XVFB_PID and GAME_PID; main_up sets MAIN.

SITE=$(sed -n 's/.*kSiteAddress = "\(.*\)";.*/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../../ui/forms/form_definition.h")
MAIN_TITLE="$(printf '%79s' '')GLOUTO$(printf '%55s' '')$SITE"

say() { echo "--- $*"; }
note() { echo "    $*"; }
fail() { echo "FAIL: $*${SHOT:+ (last screenshot: $SHOT)}" >&2; exit 1; }

# Polls "${@:2}" every 0.1 s until it succeeds or $1 tenths of a second have passed. A slow check
# never cuts the wait short: the last one starts after the deadline.
wait_until() {
    local end=$(($(date +%s%3N) + $1 * 100)) last=0
    until "${@:2}"; do
        ((last)) && return 1
        sleep 0.1
        (($(date +%s%3N) < end)) || last=1
    done
}

alive() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null || true); [[ -n $state && $state != Z* ]]; }
xvfb_settled() { ! alive "$XVFB_PID" || xwininfo -root >/dev/null 2>&1; }
# A display number of our own, away from the usual low ones, checked by connecting to it. Without
# -noreset the server resets whenever its last client leaves, and refuses clients meanwhile.
start_xvfb() {
    export XAUTHORITY=$WORK/Xauthority XDG_RUNTIME_DIR=$WORK/runtime QT_QPA_PLATFORM=xcb DISPLAY
    unset WAYLAND_DISPLAY
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    local try n
    for try in 1 2 3 4 5; do
        n=$((200 + RANDOM % 700))
        [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]] || continue
        Xvfb ":$n" -screen 0 ${SCREEN_W}x${SCREEN_H}x24 -nolisten tcp -noreset >"$WORK/xvfb-$n.log" 2>&1 &
        XVFB_PID=$! DISPLAY=:$n
        wait_until 100 xvfb_settled && alive "$XVFB_PID" && { say "Xvfb on $DISPLAY, no window manager"; return; }
        kill "$XVFB_PID" 2>/dev/null || true
    done
    fail "could not start Xvfb (see $WORK/xvfb-*.log)"
}

# Ids of the mapped windows whose title is exactly $1.
windows_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
        [[ "$(xdotool getwindowname "$w" 2>/dev/null || true)" != "$1" ]] || echo "$w"
    done
}
count_titled() { windows_titled "$1" | wc -l; }
gone() { (($(count_titled "$1") == 0)); }
up() { (($(count_titled "$1") > 0)); }
# Sets GX GY GW GH. Without a window manager the X window is the client area.
geometry() {
    read -r GX GY GW GH < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
}
main_up() { MAIN=$(windows_titled "$MAIN_TITLE" | head -1); [[ -n $MAIN ]]; }
game_ended() { ! alive "$GAME_PID"; }
# The game must end within $1 s, with status 0, after what $2 says.
expect_exit_ok() {
    wait_until $(($1 * 10)) game_ended || fail "the game was still running $1 s after $2"
    local status=0
    wait "$GAME_PID" || status=$?
    GAME_PID=''
    ((status == 0)) || fail "the game ended with status $status after $2 (see $WORK/game-*.log)"
    note "the game ended with status 0 after $2"
}

# Qt names the menu's drop-down after the application; sets GX GY GW GH to it.
popup_up() {
    local id rest
    while read -r id rest; do
        [[ $rest == '"glouto": ("glouto" "glouto")'* ]] && xwininfo -id "$id" | grep -q IsViewable || continue
        geometry "$id"
        ((GW > 50 && GH > 50)) && return 0
    done < <(xwininfo -root -children | grep -E '^ +0x')
    return 1
}
# Clicks "menu" in the menu bar, then item $1 (commandes, a propos, liens internet, quitter) in the drop-down.
choose() {
    geometry "$MAIN"
    # The menu bar is over 20 pixels tall, so 10 below the client's top is inside it.
    local bx=$((GX + 25)) by=$((GY + 10)) y
    xdotool mousemove --sync $bx $by click 1
    wait_until 20 popup_up || fail "clicking 'menu' at ($bx,$by) opened no drop-down"
    case $1 in
        commandes) y=$((GY + 10)) ;; "a propos") y=$((GY + 32)) ;; "liens internet") y=$((GY + 54)) ;;
        quitter) y=$((GY + GH - 12)) ;;
    esac
    xdotool mousemove --sync $((GX + 40)) $y click 1
    note "clicked 'menu' at ($bx,$by), then '$1' at ($((GX + 40)),$y) in the drop-down at ($GX,$GY) ${GW}x$GH"
}
