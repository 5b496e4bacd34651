#!/usr/bin/env bash
# The real binary in its own Xvfb takes no command line: Qt's own options leave its window where,
# as large and as styled as it is without them, and the style sheet named is never opened.
set -euo pipefail

GAME=${1:?usage: command_line.sh GLOUTO_BINARY WM_DELETE_HELPER}
WM_DELETE=${2:?usage: command_line.sh GLOUTO_BINARY WM_DELETE_HELPER}
for tool in Xvfb xdotool xwininfo import convert compare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/session_lib.sh"

SCREEN_W=1280 SCREEN_H=1024 BOARD_H=524 LABEL_TOP=478
WORK=$(mktemp -d "${TMPDIR:-/tmp}/glouto-args.XXXXXX")
XVFB_PID='' GAME_PID='' MAIN='' WRITER_PID='' SHOT='' PASSED=0

cleanup() {
    [[ -z $GAME_PID ]] || kill "$GAME_PID" 2>/dev/null || true
    [[ -z $WRITER_PID ]] || kill "$WRITER_PID" 2>/dev/null || true
    [[ -z $XVFB_PID ]] || kill "$XVFB_PID" 2>/dev/null || true
    if ((PASSED)); then rm -rf "$WORK"; else echo "screenshots and logs: $WORK"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

label_has_text() {
    import -window "$MAIN" "$SHOT" 2>/dev/null &&
        (($(convert "$SHOT" -crop "250x30+0+$((GH - BOARD_H + LABEL_TOP))" +repage -colorspace gray -threshold 50% \
            -format '%[fx:round((1-mean)*w*h)]' info:) > 30))
}
# Starts the game with arguments "${@:2}", waits for its score label, keeps its geometry in
# GEOMETRY_$1 and its menu bar and score label, the parts no sprite reaches, in $WORK/$1-*.png.
run() {
    local name=$1
    shift
    "$GAME" "$@" >"$WORK/game-$name.log" 2>&1 &
    GAME_PID=$!
    wait_until 100 main_up || fail "no main window within 10 s (run '$name')"
    geometry "$MAIN"
    printf -v "GEOMETRY_$name" '%sx%s+%s+%s' "$GW" "$GH" "$GX" "$GY"
    SHOT=$WORK/$name.png
    wait_until 30 label_has_text || fail "the score label shows no text 3 s after start (run '$name')"
    convert "$SHOT" -crop "${GW}x$((GH - BOARD_H))+0+0" +repage "$WORK/$name-menu.png"
    convert "$SHOT" -crop "${GW}x$((BOARD_H - LABEL_TOP))+0+$((GH - BOARD_H + LABEL_TOP))" +repage "$WORK/$name-label.png"
    "$WM_DELETE" "$MAIN"
    expect_exit_ok 5 "its close box (run '$name')"
}
same_pixels() { [[ $(compare -metric AE "$WORK/plain-$1.png" "$WORK/options-$1.png" null: 2>&1 || true) == 0 ]]; }

start_xvfb
say "without options: the main window's place, size, menu bar and score label"
run plain
note "main window $GEOMETRY_plain"

say "with -qwindowgeometry 200x200+0+0 -reverse -stylesheet FIFO: the very same window"
# Opening a FIFO blocks until both ends are open: the writer gets past its redirection only if
# the game opens the style sheet, and a red menu bar would show it applied.
mkfifo "$WORK/style.qss"
(echo 'QMenuBar, QLabel { background: red; }' >"$WORK/style.qss" && touch "$WORK/style-opened") &
WRITER_PID=$!
run options -qwindowgeometry 200x200+0+0 -reverse -stylesheet "$WORK/style.qss"
[[ $GEOMETRY_options == "$GEOMETRY_plain" ]] || fail "the main window is $GEOMETRY_options with options, $GEOMETRY_plain without"
[[ ! -e $WORK/style-opened ]] || fail "the game opened the style sheet given on its command line"
same_pixels menu || fail "the menu bar differs with options (see $WORK/*-menu.png)"
same_pixels label || fail "the score label differs with options (see $WORK/*-label.png)"
note "same place and size, same menu bar and label pixels, the style sheet never opened"
PASSED=1
say "all checks passed"
