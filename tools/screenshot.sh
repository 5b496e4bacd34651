#!/usr/bin/env bash
# Takes screenshots of the game's three windows on an X server of its own and writes them,
# each cropped to its window, as docs/screenshots/main.png, commandes.png and apropos.png.
# The small windows are opened the way a player does: mouse clicks on the main window's menu.
#
# Usage: tools/screenshot.sh [PATH_TO_GLOUTO]
#   Without a path: the installed game (/usr/games/glouto or /usr/bin/glouto), else the release build.
#   GLOUTO_SCREENSHOT_DIR overrides where the pictures go.
# Needs Xvfb, xdotool and ImageMagick's import (tools/packages.sh installs them for the tests).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out_dir=${GLOUTO_SCREENSHOT_DIR:-$repo/docs/screenshots}

game=${1:-}
if [ -z "$game" ]; then
    for candidate in /usr/games/glouto /usr/bin/glouto "$repo/build/release/ui/qt/glouto"; do
        [ -x "$candidate" ] && { game=$candidate; break; }
    done
fi
[ -n "$game" ] && [ -x "$game" ] || {
    echo "error: no glouto to run: install the package, build the release preset, or give its path" >&2
    exit 1
}
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid="" game_pid=""
stop_game() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
        game_pid=""
    fi
}
cleanup() {
    stop_game
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

mkdir -m 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "error: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# Waits up to 5 s for a visible window whose title matches; prints its id.
wait_window() {
    local id
    for _ in $(seq 20); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.25
    done
    return 1
}

# Saves the screen area of a window (there is no window manager, so no frame: the window itself).
shoot() {
    local window=$1 name=$2 X Y WIDTH HEIGHT WINDOW SCREEN
    sleep 0.4  # let it finish painting
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
        -define png:exclude-chunks=date,time "$work/$name.png"
    echo "$name.png: ${WIDTH}x${HEIGHT}"
}

# Opens the main window's menu with a click on its title and clicks item number $2 (0 for
# "commandes", 1 for "a propos"). The drop-down has four items and a thin separator, so item k
# sits at (2k + 1) eighths of its height, whatever the font.
choose_from_menu() {
    local main=$1 item=$2 X Y WIDTH HEIGHT WINDOW SCREEN popup=""
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 20)) $((Y + 9)) click 1
    for _ in $(seq 20); do
        popup=$(xdotool search --onlyvisible --classname glouto 2>/dev/null | grep -vx "$main" | head -n1) || true
        [ -n "$popup" ] && break
        sleep 0.1
    done
    [ -n "$popup" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * item + 1) / 8)) click 1
}

# One run of the game: the monster may catch the character before all three are taken, and then
# the main window is gone; the caller starts again.
take_all() {
    XDG_RUNTIME_DIR="$work/runtime" "$game" >"$work/game.log" 2>&1 &
    game_pid=$!
    local main help about X Y WIDTH HEIGHT WINDOW SCREEN
    main=$(wait_window GLOUTO) || return 1
    shoot "$main" main

    choose_from_menu "$main" 0 || return 1
    help=$(wait_window '^commandes$') || return 1
    shoot "$help" commandes
    # Its "Quitter" button closes it (centre of the button, 137,205 in the window).
    eval "$(xdotool getwindowgeometry --shell "$help")"
    xdotool mousemove $((X + 137)) $((Y + 205)) click 1

    choose_from_menu "$main" 1 || return 1
    about=$(wait_window '^A propos$') || return 1
    shoot "$about" apropos
    # The main window must still be there: a capture in the meantime would have covered the
    # pictures with the game-over box.
    xdotool search --onlyvisible --name GLOUTO >/dev/null || return 1
}

for attempt in 1 2 3; do
    if take_all; then
        stop_game
        mkdir -p "$out_dir"
        cp "$work"/main.png "$work"/commandes.png "$work"/apropos.png "$out_dir/"
        echo "wrote $out_dir/{main,commandes,apropos}.png from $game"
        exit 0
    fi
    echo "attempt $attempt: a window did not show up in time; starting the game again" >&2
    stop_game
done
cat "$work/game.log" >&2
echo "error: could not take the screenshots" >&2
exit 1
