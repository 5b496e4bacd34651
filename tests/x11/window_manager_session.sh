#!/usr/bin/env bash
# The real binary under a real window manager (openbox in Xvfb): each window, frame included, opens
# in the middle of the screen, and the program ends when its windows are closed by their close boxes.
set -euo pipefail

GAME=${1:?usage: window_manager_session.sh GLOUTO_BINARY WM_DELETE_HELPER}
WM_DELETE=${2:?usage: window_manager_session.sh GLOUTO_BINARY WM_DELETE_HELPER}
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

SITE=$(sed -n 's/.*kSiteAddress = "\(.*\)";.*/\1/p' "$(dirname "$0")/../../ui/forms/form_definition.h")
MAIN_TITLE="$(printf '%79s' '')GLOUTO$(printf '%55s' '')$SITE"
# An odd size, so that a centre off by half a frame cannot round onto the right one.
SCREEN_W=1601 SCREEN_H=1001

WORK=$(mktemp -d "${TMPDIR:-/tmp}/glouto-wm.XXXXXX")
XVFB_PID='' WM_PID='' GAME_PID='' PASSED=0
cleanup() {
    local pid
    for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do [[ -z $pid ]] || kill "$pid" 2>/dev/null || true; done
    if ((PASSED)); then rm -rf "$WORK"; else echo "logs: $WORK"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() { echo "FAIL: $*" >&2; exit 1; }
say() { echo "--- $*"; }

# Polls "${@:2}" every 0.1 s until it succeeds or $1 tenths of a second have passed.
wait_until() {
    local end=$(($(date +%s%3N) + $1 * 100))
    until "${@:2}"; do
        (($(date +%s%3N) < end)) || return 1
        sleep 0.1
    done
}
alive() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null || true); [[ -n $state && $state != Z* ]]; }

export XAUTHORITY=$WORK/Xauthority XDG_RUNTIME_DIR=$WORK/runtime HOME=$WORK QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -m 700 "$XDG_RUNTIME_DIR"
for try in 1 2 3 4 5; do
    n=$((200 + RANDOM % 700))
    [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]] || continue
    Xvfb ":$n" -screen 0 ${SCREEN_W}x${SCREEN_H}x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    wait_until 100 xwininfo -root >/dev/null 2>&1 && alive "$XVFB_PID" && break
    kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=''
done
[[ -n $XVFB_PID ]] || fail "could not start Xvfb"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 100 wm_up || fail "openbox did not start (see $WORK/openbox.log)"
say "Xvfb ${SCREEN_W}x$SCREEN_H on $DISPLAY with openbox"

windows_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
        [[ "$(xdotool getwindowname "$w" 2>/dev/null || true)" != "$1" ]] || echo "$w"
    done
}
has_window() { [[ -n $(windows_titled "$1") ]]; }
# Sets FX FY FW FH to the frame of window $1: its client area grown by the frame extents.
frame() {
    local x y w h l r t b
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
    IFS=', ' read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p')
    [[ -n ${b:-} ]] || return 1
    FX=$((x - l)) FY=$((y - t)) FW=$((w + l + r)) FH=$((h + t + b))
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
    local id
    wait_until 50 has_window "$1" || fail "no window titled '$1'"
    id=$(windows_titled "$1" | head -1)
    if ! wait_until 30 centred "$1"; then
        frame "$id" || fail "'$1' has no frame extents"
        fail "'$1': frame ${FW}x$FH at ($FX,$FY), its middle is not the screen's ($((SCREEN_W / 2)),$((SCREEN_H / 2)))"
    fi
    frame "$id"
    echo "    '$1': frame ${FW}x$FH at ($FX,$FY), centred"
}

"$GAME" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
say "the main window, frame included, opens in the middle of the screen"
expect_centred "$MAIN_TITLE"
MAIN=$(windows_titled "$MAIN_TITLE" | head -1)

# Clicks "menu" in the main window's menu bar, then the drop-down's item at $1 pixels below its top.
choose() {
    local x y w h
    read -r x y < <(xwininfo -id "$MAIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}')
    xdotool mousemove --sync $((x + 25)) $((y + 10)) click 1
    sleep 0.5
    xdotool mousemove --sync $((x + 45)) $((y + 20 + $1)) click 1
}
for item in "commandes:10" "A propos:32"; do
    title=${item%:*}
    say "'$title' opens in the middle of the screen too"
    choose "${item#*:}"
    expect_centred "$title"
    "$WM_DELETE" "$(windows_titled "$title" | head -1)"
    wait_until 30 eval '! has_window "$title"' || fail "'$title' stayed open after its close box"
done

say "the main window's close box ends the program"
"$WM_DELETE" "$MAIN"
wait_until 50 eval '! alive "$GAME_PID"' || fail "the game still runs 5 s after its close box"
status=0
wait "$GAME_PID" || status=$?
GAME_PID=''
((status == 0)) || fail "the game ended with status $status"
PASSED=1
echo "window_manager_session: passed"
