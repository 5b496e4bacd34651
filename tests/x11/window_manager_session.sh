#!/usr/bin/env bash
# The real binary under a real window manager (openbox in Xvfb): each window, frame included, opens
# in the middle of the screen, and the program ends when its windows are closed by their close boxes.
# Then the same game with scripted draws: a capture while the menu is open, answered by one click.
set -euo pipefail

USAGE="usage: window_manager_session.sh GLOUTO_BINARY WM_DELETE_HELPER SCRIPTED_GLOUTO_BINARY"
GAME=${1:?$USAGE}
WM_DELETE=${2:?$USAGE}
SCRIPTED_GAME=${3:?$USAGE}
# Draws that bring the monster to a character standing still at the start, some 11 s into the game.
HUNTING_MONSTER=(0.25 0.15 0.95 0.75 0.55 0.15 0.05 0.45)
OVER_TITLE="Tu t'est fait manger ^^"
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/session_lib.sh"

# An odd size, so that a centre off by half a frame cannot round onto the right one.
SCREEN_W=1601 SCREEN_H=1001
WORK=$(mktemp -d "${TMPDIR:-/tmp}/glouto-wm.XXXXXX")
XVFB_PID='' WM_PID='' GAME_PID='' MAIN='' PASSED=0
cleanup() {
    local pid
    for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do [[ -z $pid ]] || kill "$pid" 2>/dev/null || true; done
    if ((PASSED)); then rm -rf "$WORK"; else echo "logs: $WORK"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

start_xvfb
HOME=$WORK openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 100 wm_up || fail "openbox did not start (see $WORK/openbox.log)"
say "openbox manages the ${SCREEN_W}x$SCREEN_H screen"

# Sets FX FY FW FH to the frame of window $1: its client area grown by the frame extents.
frame() {
    local l r t b
    geometry "$1"
    IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p')
    [[ -n ${b:-} ]] || return 1
    FX=$((GX - l)) FY=$((GY - t)) FW=$((GW + l + r)) FH=$((GH + t + b))
}
# The frame of the window titled $1 has its middle within a pixel of the screen's.
centred() {
    local id
    id=$(windows_titled "$1" | head -1)
    [[ -n $id ]] && frame "$id" || return 1
    local dx=$((2 * FX + FW - SCREEN_W)) dy=$((2 * FY + FH - SCREEN_H))
    ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2))
}
expect_centred() {
    wait_until 50 up "$1" || fail "no window titled '$1'"
    local id
    id=$(windows_titled "$1" | head -1)
    if ! wait_until 40 centred "$1"; then
        frame "$id" || fail "'$1' has no frame extents"
        fail "'$1': frame ${FW}x$FH at ($FX,$FY), its middle is not the screen's ($((SCREEN_W / 2)),$((SCREEN_H / 2)))"
    fi
    note "'$1': frame ${FW}x$FH at ($FX,$FY), centred"
}

"$GAME" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
say "the main window, frame included, opens in the middle of the screen"
expect_centred "$MAIN_TITLE"
main_up
for item in "commandes:commandes" "A propos:a propos"; do
    title=${item%%:*}
    say "'$title' opens in the middle of the screen too"
    choose "${item#*:}"
    expect_centred "$title"
    "$WM_DELETE" "$(windows_titled "$title" | head -1)"
    wait_until 30 gone "$title" || fail "'$title' stayed open after its close box"
done

say "the main window's close box ends the program"
"$WM_DELETE" "$MAIN"
expect_exit_ok 5 "its close box"

say "a capture while the menu is open: the box closes the drop-down, one click on OK ends the game"
"$SCRIPTED_GAME" "${HUNTING_MONSTER[@]}" >"$WORK/game-capture.log" 2>&1 &
GAME_PID=$!
wait_until 50 main_up || fail "the scripted game's main window did not open"
geometry "$MAIN"
xdotool mousemove --sync $((GX + 25)) $((GY + 10)) click 1
wait_until 20 popup_up || fail "clicking 'menu' opened no drop-down"
wait_until 400 up "$OVER_TITLE" || fail "no capture within 40 s"
! wait_until 10 popup_up || fail "the drop-down stayed open under the game-over box"
# The box's one button, OK, sits in its bottom right corner.
geometry "$(windows_titled "$OVER_TITLE" | head -1)"
xdotool mousemove --sync $((GX + GW - 52)) $((GY + GH - 24)) click 1
wait_until 50 gone "$OVER_TITLE" || fail "one click on OK left the game-over box open"
expect_exit_ok 5 "one click on the game-over box's OK"
PASSED=1
echo "window_manager_session: passed"
