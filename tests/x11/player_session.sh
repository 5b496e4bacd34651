#!/usr/bin/env bash
# Plays the real glouto binary in its own Xvfb with real (XTEST) keys and mouse clicks, as a player would.
set -euo pipefail

GAME=${1:?usage: player_session.sh GLOUTO_BINARY WM_DELETE_HELPER}
WM_DELETE=${2:?usage: player_session.sh GLOUTO_BINARY WM_DELETE_HELPER}
for tool in Xvfb xdotool xset xwininfo xprop import convert compare; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/session_lib.sh"

OVER_TITLE="Tu t'est fait manger ^^"
SCREEN_W=1280 SCREEN_H=1024 BOARD_W=762 BOARD_H=524
# Pellet pictures (Left,Top in twips); the first is the one right of the start cell.
PELLETS="990,330 1610,330 2230,330 2850,330 370,990 370,1610 370,2230 370,2850 375,3465 370,4095 370,4710
         370,5325 990,5325 1610,5325 2230,5325"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/glouto-x11.XXXXXX")
XVFB_PID='' GAME_PID='' MAIN='' MB=0 SHOT='' SHOTS=0 PASSED=0 RETRY=0

cleanup() {
    [[ -z $GAME_PID ]] || kill "$GAME_PID" 2>/dev/null || true
    [[ -z $XVFB_PID ]] || kill "$XVFB_PID" 2>/dev/null || true
    if ((PASSED)) && [[ -z ${GLOUTO_X11_KEEP:-} ]]; then rm -rf "$WORK"; else echo "screenshots and logs: $WORK"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

focus() { xdotool windowfocus --sync "$1"; }

launch() {
    "$GAME" >"$WORK/game-$1.log" 2>&1 &
    GAME_PID=$!
    wait_until 100 main_up || fail "no window titled '<79 spaces>GLOUTO<55 spaces>$SITE' within 10 s"
    geometry "$MAIN"
    MB=$((GH - BOARD_H))
}
shoot() { SHOTS=$((SHOTS + 1)) && SHOT=$WORK/$(printf '%02d' $SHOTS)-$1.png && import -window "$MAIN" "$SHOT" 2>/dev/null; }
# Pixels within 10 % of colour $1 in the rectangle W H X Y (window pixels) of the last screenshot.
count_colour() {
    convert "$SHOT" -crop "$2x$3+$4+$5" +repage -alpha off -fuzz 10% -transparent "$1" -alpha extract \
        -format '%[fx:round((1-mean)*w*h)]' info:
}
# The 2x2 pixels at board point x,y ($2), up and left of it, all have colour $1.
spot_is() { (($(count_colour "$1" 2 2 $((${2%,*} - 1)) $((${2#*,} + MB - 1))) == 4)); }
px() { echo $((($1 + 7) / 15)); }
pellet_centre() { echo "$(($(px "${1%,*}") + 5)),$(($(px "${1#*,}") + 5))"; }
cell_x() { px $((50 + 620 * $1)); }
cell_y() { echo $(($(px $((50 + 620 * $1))) + MB)); }

# The character's yellow disc fills most of the 41-pixel box of cell (row $1, column $2).
character_in() { (($(count_colour '#ffff00' 41 41 "$(cell_x "$2")" "$(cell_y "$1")") > 600)); }
character_at() { shoot "at-$1-$2"; character_in "$1" "$2"; }
# Facing right, its mouth leaves the middle of the box's right half black.
faces_right() { (($(count_colour '#ffff00' 12 8 $(($(cell_x "$2") + 28)) $(($(cell_y "$1") + 16))) < 10)); }
# Pixels darker than mid-grey in the score label, from x $1, $2 wide: its text.
label_dark() {
    convert "$SHOT" -crop "$2x30+$1+$((MB + 478))" +repage -colorspace gray -threshold 50% \
        -format '%[fx:round((1-mean)*w*h)]' info:
}
label_has_text() { shoot label; (($(label_dark 0 250) > 30)); }
label_crop() { convert "$SHOT" -crop "300x30+0+$((MB + 478))" +repage "$WORK/label-$1.png"; }
label_changed() {
    label_crop now
    (($(compare -metric AE "$WORK/label-before.png" "$WORK/label-now.png" null: 2>&1 || true) > 0))
}
pellet_eaten() { shoot pellet; ! spot_is '#ffff00' "$(pellet_centre "$1")"; }

# Exactly one window titled $1, of $2 x $3 pixels.
expect_one_window() {
    wait_until 30 up "$1" || fail "no window titled '$1' appeared"
    sleep 0.3
    (($(count_titled "$1") == 1)) || fail "$(count_titled "$1") windows titled '$1', expected one"
    geometry "$(windows_titled "$1")"
    ((GW == $2 && GH == $3)) || fail "'$1' is ${GW}x$GH, expected $2x$3"
    note "one window '$1', ${GW}x$GH"
}

# Down and Right in one tick step diagonally into the wall block, where the monster's single steps never lead.
enter_safe_cell() {
    local try
    focus "$MAIN"
    for try in 1 2 3; do
        xdotool key --delay 0 Down+Right
        wait_until 10 character_at 1 1 && { note "Down+Right moved the character out of the monster's reach"; return; }
        # The two keys fell into two ticks: only Down was taken. Back up and try again.
        character_in 1 0 && xdotool key Up && wait_until 10 character_at 0 0 || break
    done
    fail "Down+Right together did not move the character from (0,0) to (1,1)"
}

# The box's exact title; Return closes it and the main window, and then the game ends with status 0.
check_game_over() {
    (($(count_titled "$OVER_TITLE") == 1)) || fail "not one game-over box titled '$OVER_TITLE'"
    say "game over: a box titled exactly '$OVER_TITLE'; Return closes it and the main window"
    focus "$(windows_titled "$OVER_TITLE")"
    xdotool key Return
    wait_until 50 gone "$MAIN_TITLE" || fail "the main window stayed after Return on the game-over box"
    gone "$OVER_TITLE" || fail "the game-over box stayed after Return"
    expect_exit_ok 5 "the game-over box, with no other window open"
}
caught_early() {
    up "$OVER_TITLE" || return 1
    note "the monster caught the character before these checks were done"
    check_game_over
    RETRY=1
}

check_start() {
    say "start: one window titled <79 spaces>GLOUTO<55 spaces>$SITE, its size, place and hints"
    (($(count_titled "$MAIN_TITLE") == 1)) || fail "$(count_titled "$MAIN_TITLE") main windows, expected one"
    geometry "$MAIN"
    ((GW == BOARD_W && GH >= 530 && GH <= 560)) || fail "main window is ${GW}x$GH, expected 762 x (524 + menu bar)"
    local dx=$((GX - (SCREEN_W - GW) / 2)) dy=$((GY - (SCREEN_H - GH) / 2)) hints p
    ((${dx#-} <= 3 && ${dy#-} <= 3)) || fail "main window at ($GX,$GY) is not centred on the ${SCREEN_W}x$SCREEN_H screen"
    hints=$(xprop -id "$MAIN" WM_NORMAL_HINTS)
    grep -q "minimum size: $GW by $GH" <<<"$hints" && grep -q "maximum size: $GW by $GH" <<<"$hints" ||
        fail "WM_NORMAL_HINTS do not fix the size to ${GW}x$GH: $hints"
    xprop -id "$MAIN" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "no _NET_WM_STATE_SKIP_TASKBAR"
    note "${GW}x$GH (menu bar $MB px) at ($GX,$GY), minimum = maximum size, skips the task bar"

    say "start: board under the menu bar, character, monster, pellets, walls, score label ($SHOT)"
    (($(count_colour black 60 2 0 "$MB") == 120)) || fail "the board's top-left corner (y $MB) is not black"
    (($(count_colour black 700 3 60 $((MB - 3))) == 0)) || fail "the menu bar just above the board is black"
    character_in 0 0 && faces_right 0 0 || fail "no right-facing yellow character in the top-left cell"
    (($(count_colour '#2846ff' $BOARD_W 478 0 "$MB") > 400)) || fail "no blue monster on the board"
    for p in $PELLETS; do
        spot_is '#ffff00' "$(pellet_centre "$p")" || fail "no yellow pellet at ($p) twips, centre $(pellet_centre "$p") px"
    done
    # In cells the monster never enters: bracket, bar, lower bar, arch, foot.
    for p in 70,150 238,186 104,394 352,273 253,395; do
        spot_is white "$p" || fail "the wall at $p px is not white"
    done
    (($(label_dark 650 100) == 0)) || fail "the score label's background is not light"
    (($(label_dark 0 250) > 30)) || fail "no dark text in the score label"
    note "all fifteen pellets, five wall points, the monster, the label's text"
}

# Run 1: the start, the menu and its windows, and how long each lives.
run_start_and_menus() {
    launch start
    wait_until 30 label_has_text || fail "the score label shows no text 3 s after start"
    cp "$SHOT" "$WORK/start.png"
    enter_safe_cell
    SHOT=$WORK/start.png
    check_start

    say "menu: 'commandes' opens one key-help window of 284x229; twice, still one"
    choose commandes
    expect_one_window commandes 284 229
    choose commandes
    expect_one_window commandes 284 229
    say "menu: 'a propos' opens one about window of 311x172; 'liens internet' opens nothing"
    choose "a propos"
    expect_one_window "A propos" 311 172
    local before help
    before=$(xdotool search --onlyvisible --name '.' | sort)
    choose "liens internet"
    sleep 0.5
    [[ "$(xdotool search --onlyvisible --name '.' | sort)" == "$before" ]] || fail "'liens internet' changed the windows"

    say "keys: with the key-help window focused, Down still moves the character"
    help=$(windows_titled commandes)
    focus "$help"
    [[ "$(xdotool getwindowfocus)" == "$help" ]] || fail "could not focus the key-help window"
    xdotool key Down
    wait_until 10 character_at 2 1 || fail "Down with the key-help window focused did not move the character to (2,1)"

    say "lifetime: the key-help window's close box (WM_DELETE_WINDOW) closes it; the game goes on"
    "$WM_DELETE" "$help"
    wait_until 30 gone commandes || fail "the key-help window stayed after WM_DELETE_WINDOW"
    ! game_ended || fail "the game ended when the key-help window closed"
    (($(count_titled "$MAIN_TITLE") == 1 && $(count_titled "A propos") == 1)) || fail "a window went with the key-help one"

    say "lifetime: 'quitter' with the about window open closes only the main window"
    choose quitter
    wait_until 30 gone "$MAIN_TITLE" || fail "the main window stayed after 'quitter'"
    sleep 1
    ! game_ended || fail "the game ended on 'quitter' while the about window was open"
    (($(count_titled "A propos") == 1)) || fail "the about window went with the main window"
    note "1 s later the game still runs and the about window is still there"
    say "lifetime: the about window's 'Quitter' button ends the game"
    geometry "$(windows_titled "A propos")"
    xdotool mousemove --sync $((GX + 150)) $((GY + 149)) click 1
    expect_exit_ok 5 "a click on the about window's 'Quitter' at ($((GX + 150)),$((GY + 149)))"
}

# Run 2: real arrow keys in the open corridors. The monster may end it early: RETRY asks for a new game.
run_keys() {
    launch "keys-$1"
    focus "$MAIN"
    wait_until 30 label_has_text || fail "the score label shows no text 3 s after start"
    label_crop before
    say "keys: Right moves the character one cell right; the pellet there is eaten and the score label changes"
    xdotool key Right
    wait_until 10 character_at 0 1 || { caught_early && return; fail "Right did not move the character to (0,1) within 1 s"; }
    faces_right 0 1 || fail "the character at (0,1) does not face right"
    wait_until 10 pellet_eaten "${PELLETS%% *}" || { caught_early && return; fail "the pellet right of the start stayed"; }
    wait_until 10 label_changed || { caught_early && return; fail "the score label did not change"; }
    note "character at (0,1) facing right, pellet gone, label changed"

    say "keys: back Left, then Down held for 1.1 s walks several cells down the left column"
    xdotool key Left
    wait_until 10 character_at 0 0 || { caught_early && return; fail "Left did not bring the character back to (0,0)"; }
    xdotool keydown Down
    sleep 1.1
    xdotool keyup Down
    local row=0 c since
    walked() { shoot held; for row in $(seq 3 10); do character_in "$row" 0 && return; done; return 1; }
    wait_until 10 walked || { caught_early && return; fail "holding Down did not take the character 3 cells down or more"; }
    for c in "$(pellet_centre 370,990)" "$(pellet_centre 370,1610)"; do
        ! spot_is '#ffff00' "$c" || fail "the pellet at $c px, passed on the way down, is still there"
    done
    note "the character walked down to row $row, eating the pellets on its way"

    say "game over: standing still until the monster catches the character (at most 45 s)"
    since=$SECONDS
    if wait_until 450 up "$OVER_TITLE"; then
        note "caught after about $((SECONDS - since)) s"
        check_game_over
        return
    fi
    note "no capture within 45 s: not observed this time"
    "$WM_DELETE" "$MAIN"
    # The monster may still strike first: then the box is up and must be answered.
    if ! wait_until 50 game_ended && up "$OVER_TITLE"; then check_game_over; return; fi
    expect_exit_ok 1 "WM_DELETE_WINDOW on the main window"
}

# The top-row column the character is in, or nothing.
top_column() { local c; shoot top-row; for c in $(seq 0 17); do character_in 0 "$c" && { echo "$c"; return; }; done; }
column_past() { local c; c=$(top_column); [[ -n $c ]] && ((c >= $1)); }

# Run 3: Right held (the server's own auto-repeat on) while the about window opens and closes: the
# unload lets go of every key, and the repeats of the key still down must take the hold up again.
run_held_through_a_window() {
    launch "held-$1"
    focus "$MAIN"
    wait_until 30 label_has_text || fail "the score label shows no text 3 s after start"
    say "keys: Right held walks along the top row, through opening and closing the about window"
    xdotool keydown Right
    wait_until 10 column_past 1 || { xdotool keyup Right; caught_early && return; fail "holding Right did not walk the character along the top row"; }
    choose "a propos"
    wait_until 30 up "A propos" || { xdotool keyup Right; caught_early && return; fail "'a propos' opened no about window while Right was held"; }
    geometry "$(windows_titled "A propos")"
    xdotool mousemove --sync $((GX + 150)) $((GY + 149)) click 1
    wait_until 30 gone "A propos" || { xdotool keyup Right; fail "the about window's 'Quitter' did not close it"; }
    local from
    from=$(top_column)
    [[ -n $from ]] || { xdotool keyup Right; caught_early && return; fail "the character left the top row"; }
    # Four beats a second: two more cells within 1.5 s, if the hold came back.
    wait_until 15 column_past $((from + 2)) || {
        xdotool keyup Right; caught_early && return
        fail "with Right still held, the character stopped at column $from after the about window closed"
    }
    xdotool keyup Right
    note "closed the about window at column $from; still held, the character walked on to column $(top_column)"
    "$WM_DELETE" "$MAIN"
    if ! wait_until 50 game_ended && up "$OVER_TITLE"; then check_game_over; return; fi
    expect_exit_ok 1 "WM_DELETE_WINDOW on the main window"
}

# Runs 4 and 5: the main window alone, closed by 'quitter' ($1 menu) or by its close box.
run_quit() {
    launch "quit-$1"
    enter_safe_cell
    say "lifetime: $2 with no other window open ends the game"
    if [[ $1 == menu ]]; then choose quitter; else "$WM_DELETE" "$MAIN"; fi
    expect_exit_ok 5 "$2"
}

# Runs a check in a new game until the monster no longer cuts it short, five games at most.
with_new_games() {
    local check=$1 what=$2 attempt
    for attempt in 1 2 3 4 5; do
        RETRY=0
        "$check" "$attempt"
        ((RETRY)) || return 0
        ((attempt < 5)) || fail "the monster cut the $what short five times in a row"
        say "a new game for the $what (attempt $((attempt + 1)))"
    done
}

started=$SECONDS
start_xvfb
# Held keys repeat, as on a player's desktop.
xset r on
run_start_and_menus
with_new_games run_keys "key checks"
with_new_games run_held_through_a_window "held-key check"
run_quit menu "'quitter'"
run_quit closebox "the main window's close box (WM_DELETE_WINDOW)"
PASSED=1
say "all checks passed in $((SECONDS - started)) s"
