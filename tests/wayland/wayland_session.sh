#!/usr/bin/env bash
# The real binary in a Wayland session of its own, Weston's headless compositor: by default it
# goes through XWayland, and natively only when QT_QPA_PLATFORM=wayland asks for it. Either way it
# must start, run its timers, and end with status 0 when the compositor closes its window.
set -euo pipefail

GAME=${1:?usage: wayland_session.sh GLOUTO_BINARY CLOSE_WINDOWS_MODULE}
MODULE=$(realpath "${2:?usage: wayland_session.sh GLOUTO_BINARY CLOSE_WINDOWS_MODULE}")
for tool in weston weston-screenshooter Xwayland xdotool xwininfo xprop convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
    { echo "SKIP: Qt's Wayland platform plugin (qt6-wayland) is not installed"; exit 77; }
source "$(dirname "$0")/../x11/session_lib.sh"

SCREEN_W=1280 SCREEN_H=1024 BOARD_W=762 LABEL_TOP=478
WORK=$(mktemp -d "${TMPDIR:-/tmp}/glouto-wayland.XXXXXX")
WESTON_PID='' GAME_PID='' MAIN='' SHOT='' SHOTS=0 PASSED=0 BX=0 BY=0

cleanup() {
    [[ -z $GAME_PID ]] || kill "$GAME_PID" 2>/dev/null || true
    [[ -z $WESTON_PID ]] || kill "$WESTON_PID" 2>/dev/null || true
    if ((PASSED)) && [[ -z ${GLOUTO_WAYLAND_KEEP:-} ]]; then rm -rf "$WORK"; else echo "screenshots and logs: $WORK"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

weston_ready() {
    ! alive "$WESTON_PID" || { [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && grep -q 'xserver listening' "$WORK/weston.log"; }
}
# A private runtime directory, so the socket and Xwayland's display are ours; no panel, and a
# background colour of its own. --debug lets weston-screenshooter in; pixman draws without a GPU.
start_weston() {
    unset QT_QPA_PLATFORM DISPLAY
    export XDG_RUNTIME_DIR=$WORK/runtime WAYLAND_DISPLAY=glouto-test XDG_SESSION_TYPE=wayland
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    printf '[shell]\npanel-position=none\nbackground-color=0xff204060\n' >"$WORK/weston.ini"
    weston --backend=headless-backend.so --use-pixman --width=$SCREEN_W --height=$SCREEN_H \
        --socket="$WAYLAND_DISPLAY" --config="$WORK/weston.ini" --xwayland --modules="$MODULE" --debug \
        --log="$WORK/weston.log" >/dev/null 2>&1 &
    WESTON_PID=$!
    wait_until 100 weston_ready && alive "$WESTON_PID" || fail "Weston did not start (see $WORK/weston.log)"
    export DISPLAY
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log" | tail -1)
    say "Weston $(weston --version | cut -d' ' -f2) headless on $WAYLAND_DISPLAY, XWayland on $DISPLAY"
}

# A picture of the whole output, as the player sees it, in SHOT.
screenshot() {
    local dir=$WORK/shot-$((++SHOTS))
    mkdir "$dir"
    (cd "$dir" && timeout 10 weston-screenshooter) >/dev/null 2>&1 || return 1
    SHOT=$(echo "$dir"/*.png)
    [[ -f $SHOT ]]
}
# Sets BX BY to the board's top-left corner in the last screenshot. The board is the one black
# area of 762 x 478 pixels; eroding the black by 4 pixels sheds the black strokes of the texts.
board_in_shot() {
    local w h x y
    IFS='x+' read -r w h x y < <(convert "$SHOT" -fill white +opaque black -negate -morphology Erode Square:4 \
        -format '%@' info: 2>/dev/null)
    ((w == BOARD_W - 8 && h == LABEL_TOP - 8)) || return 1
    BX=$((x - 4)) BY=$((y - 4))
}
board_shown() { screenshot && board_in_shot; }
# Weston fades a closed window out: the next run must not find this one's board.
board_gone() { screenshot && ! board_in_shot; }
# The score label, under the board, is empty until the pellet timer first writes it.
label_written() {
    screenshot && (($(convert "$SHOT" -crop "250x30+$BX+$((BY + LABEL_TOP))" +repage -colorspace gray \
        -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:) > 30))
}
# The bounding box of the monster's blue on the board.
monster_box() {
    convert "$SHOT" -crop "${BOARD_W}x$LABEL_TOP+$BX+$BY" +repage -fuzz 10% -fill black +opaque '#2846ff' \
        -format '%@' info:
}
FIRST_BOX=''
monster_moved() { screenshot && [[ $(monster_box) != "$FIRST_BOX" ]]; }

# The board shows, the label is written (pellet timer) and the monster moves (monster timer); the
# player's timer has no key to show. Then the compositor closes the window.
check_running_and_close() {
    wait_until 30 label_written || fail "the score label shows no text 3 s after the board ($SHOT)"
    FIRST_BOX=$(monster_box)
    wait_until 30 monster_moved || fail "the monster stayed at $FIRST_BOX for 3 s ($SHOT)"
    note "the score label is written and the monster moved from $FIRST_BOX to $(monster_box)"
    kill -USR2 "$WESTON_PID"
    expect_exit_ok 5 "Weston closed its window"
    wait_until 50 board_gone || fail "the board stayed on the output 5 s after the game ended ($SHOT)"
}
launch() {
    "$GAME" >"$WORK/game-$1.log" 2>&1 &
    GAME_PID=$!
}

start_weston

say "by default, in a Wayland session, through XWayland: an X window asking to be centred"
launch xwayland
wait_until 100 main_up || fail "no X window titled '<79 spaces>GLOUTO<55 spaces>$SITE' within 10 s on $DISPLAY"
geometry "$MAIN"
# Centred by the client area until the window manager has framed it, then frame included.
hints_centred() {
    local l=0 r=0 t=0 b=0
    hints=$(xprop -id "$MAIN" WM_NORMAL_HINTS)
    # Weston's X window manager frames without _NET_FRAME_EXTENTS: the frame is the parent window.
    local parent px py pw ph cx cy cw ch
    parent=$(xwininfo -id "$MAIN" -tree | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    if [[ -n $parent ]] && xwininfo -id "$parent" | grep -q IsViewable; then
        read -r px py pw ph < <(xwininfo -id "$parent" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
            /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
        read -r cx cy cw ch < <(xwininfo -id "$MAIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
            /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
        l=$((cx - px)) t=$((cy - py)) r=$((pw - cw - cx + px)) b=$((ph - ch - cy + py))
    fi
    grep -q "minimum size: $GW by $GH" <<<"$hints" && grep -q "maximum size: $GW by $GH" <<<"$hints" &&
        grep -q -e "user specified location: $(((SCREEN_W - GW) / 2)), $(((SCREEN_H - GH) / 2))$" \
            -e "user specified location: $(((SCREEN_W - GW - ${l:-0} - ${r:-0}) / 2 + ${l:-0})), $(((SCREEN_H - GH - ${t:-0} - ${b:-0}) / 2 + ${t:-0}))$" <<<"$hints"
}
wait_until 30 hints_centred ||
    fail "the X window's hints do not ask for a fixed ${GW}x$GH centred on ${SCREEN_W}x$SCREEN_H: $hints"
# Weston places X windows itself and keeps its own _NET_WM_STATE: the hints are checked, not obeyed.
note "${GW}x$GH, asks to be centred on the ${SCREEN_W}x$SCREEN_H screen at a fixed size"
wait_until 100 board_shown || fail "no board on Weston's output within 10 s ($SHOT)"
note "on the output at ($BX,$BY)"
check_running_and_close

say "with QT_QPA_PLATFORM=wayland: natively, with no X window"
# Under LeakSanitizer: the leaks that tests/lsan.supp names in Qt's Wayland plugin and Mesa's EGL
# are seen through their frames only by the slow unwinder (those libraries keep no frame pointers).
QT_QPA_PLATFORM=wayland LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:fast_unwind_on_malloc=0} launch wayland
wait_until 100 board_shown || fail "no board on Weston's output within 10 s ($SHOT)"
! main_up || fail "an X window came up although QT_QPA_PLATFORM=wayland"
note "on the output at ($BX,$BY)"
check_running_and_close
PASSED=1
say "all checks passed"
