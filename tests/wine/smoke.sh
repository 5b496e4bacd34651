#!/usr/bin/env bash
# Smoke test of glouto.exe under Wine in a private Xvfb: board, keys, menus, window lifetimes, capture.
#
#   smoke.sh <path-to-glouto.exe>
#
# glouto_scripted.exe, the same game with the monster's draws given on its command line, must lie
# next to it; glouto_tick_thread_check.exe and glouto_tick_check.exe are run too when they do.
# GLOUTO_WINE_ARTIFACTS=<dir> keeps the screenshots and logs. Every wait is bounded.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <path-to-glouto.exe>" >&2; exit 2; }
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/smoke_lib.sh"
scripted="$(dirname "$exe")/glouto_scripted.exe"
[ -f "$scripted" ] || { echo "no glouto_scripted.exe next to $exe" >&2; exit 2; }
# Draws that trap the monster between two cells of the lower board, far from the top row...
trapped_monster=(0.05 0.05 0.05 0.95)
# ...and draws that bring it to a character standing still at the start, some 11 s into the game.
hunting_monster=(0.25 0.15 0.95 0.75 0.55 0.15 0.05 0.45)

site=$(sed -n 's/.*kSiteAddress = "\([^"]*\)".*/\1/p' "$here/../../ui/forms/form_definition.h")
[ -n "$site" ] || { echo "no kSiteAddress in ui/forms/form_definition.h" >&2; exit 2; }
main_title="$(printf '%79s' '')GLOUTO$(printf '%55s' '')$site"
box_title="Tu t'est fait manger ^^"
help_title="commandes"
about_title="A propos"

# Client areas, twips to pixels at 15 twips a pixel.
main_w=$((11430 / 15)) main_h=$((7860 / 15)) label_top=$((7170 / 15))
help_w=$((4260 / 15)) help_h=$((3435 / 15))
about_w=$((4665 / 15)) about_h=$((2580 / 15))
# Pellet pictures, Left and Top in twips.
pellets=(990,330 1610,330 2230,330 2850,330 370,990 370,1610 370,2230 370,2850 375,3465 370,4095
         370,4710 370,5325 990,5325 1610,5325 2230,5325)

# The main window's client origin (cx, cy) inside its window, measured on the board's black.
measure_main() {
    local column row
    window_geometry "$1" || return 1
    mx=$wx my=$wy
    shot board
    column=$(pixel_line board "1x$wh+$((wx + ww - 60))+$wy")
    cy=$(echo "$column" | black_run_start 100)
    [ -n "$cy" ] || { echo "no black board in the main window"; return 1; }
    local board_h
    board_h=$(echo "$column" | tail -n +$((cy + 1)) | black_run_length)
    row=$(pixel_line board "${ww}x1+$wx+$((wy + cy + label_top - 6))")
    cx=$(echo "$row" | black_run_start 100)
    local board_w
    board_w=$(echo "$row" | tail -n +$((cx + 1)) | black_run_length)
    echo "main window ${ww}x$wh, client at +$cx+$cy: board ${board_w}x$board_h"
    [ "$board_w" -eq "$main_w" ] || { echo "board width $board_w, want $main_w"; return 1; }
    [ $((ww - 2 * cx)) -eq "$main_w" ] || { echo "client width $((ww - 2 * cx)), want $main_w"; return 1; }
    # The bottom edge of a frame is as thick as its sides.
    [ $((wh - cy - cx)) -eq "$main_h" ] || { echo "client height $((wh - cy - cx)), want $main_h"; return 1; }
    [ "$board_h" -eq "$label_top" ] || { echo "score label at $board_h, want $label_top"; return 1; }
    # The whole window, frame included, in the middle of the screen, which here is all work area.
    local screen_w screen_h
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    [ $((2 * wx + ww - screen_w)) -ge -1 ] && [ $((2 * wx + ww - screen_w)) -le 1 ] &&
        [ $((2 * wy + wh - screen_h)) -ge -1 ] && [ $((2 * wy + wh - screen_h)) -le 1 ] ||
        { echo "window at +$wx+$wy is not centred on the ${screen_w}x$screen_h screen"; return 1; }
}

# A rectangle of the main window's client area in screen coordinates: width height left top (pixels).
client_rect() { echo "$1x$2+$((mx + cx + $3))+$((my + cy + $4))"; }
cell_rect() { client_rect 41 41 "$(twips_px $((50 + 620 * $1)))" "$(twips_px $((50 + 620 * $2)))"; }

character_in_cell() { [ "$(count_colour "$1" "$(cell_rect "$2" "$3")" yellow)" -ge 400 ]; }
no_character_in_cell() { [ "$(count_colour "$1" "$(cell_rect "$2" "$3")" yellow)" -lt 50 ]; }

# The board between the pictures: the plain right part (the monster may stand there) and the strip
# above the top row's pellets, black on Wine's default colours.
check_black_board() {
    local right_w=$((main_w - 434)) not_black
    not_black=$(( right_w * label_top - $(count_black "$1" "$(client_rect "$right_w" "$label_top" 434 0)") ))
    [ "$not_black" -le $((40 * 45)) ] || { echo "$not_black pixels of the board's right part are not black"; return 1; }
    not_black=$((255 * 20 - $(count_black "$1" "$(client_rect 255 20 45 0)")))
    [ "$not_black" -eq 0 ] || { echo "$not_black pixels between the top pellets are not black"; return 1; }
}

check_board() {
    local shot=board pellet left top rect missing=0
    shot board
    check_black_board "$shot" || return 1
    character_in_cell "$shot" 0 0 || { echo "no character at the top-left cell"; return 1; }
    [ "$(count_colour "$shot" "$(client_rect "$main_w" "$label_top" 0 0)" '#2846FF')" -ge 500 ] ||
        { echo "no monster on the board"; return 1; }
    for pellet in "${pellets[@]}"; do
        left=$(twips_px "${pellet%,*}") top=$(twips_px "${pellet#*,}")
        rect=$(client_rect 10 10 "$left" "$top")
        # The monster's picture lies above the pellets and may hide one.
        if [ "$(count_colour "$shot" "$rect" yellow)" -lt 10 ] && [ "$(count_colour "$shot" "$rect" '#2846FF')" -lt 5 ]; then
            echo "no pellet at ${pellet%,*},${pellet#*,} twips"
            missing=1
        fi
    done
    return $missing
}

# Chooses item k (0 commandes, 1 a propos, 2 liens internet, 3 quitter) of the main window's menu.
open_menu() {
    click $((mx + cx + 15)) $((my + cy - 9))
    popup=$(await 5 unnamed_window) || { echo "the menu did not open"; return 1; }
}

choose_menu_item() {
    local k=$1 rows centre
    open_menu || return 1
    window_geometry "$popup"
    shot menu
    rows=$(text_row_centres menu "$((ww - 6))x$((wh - 6))+$((wx + 3))+$((wy + 3))")
    centre=$(echo "$rows" | sed -n "$((k + 1))p")
    [ "$(echo "$rows" | wc -l)" -eq 4 ] && [ -n "$centre" ] ||
        { echo "the menu shows $(echo "$rows" | wc -l) items, want 4"; return 1; }
    click $((wx + 20)) $((wy + 3 + centre))
    await 5 no_window_id "$popup" >/dev/null || { echo "the menu did not close"; return 1; }
}

# Same frame, so the same difference between window and client size for both small windows.
check_small_frames() {
    window_geometry "$help" || return 1
    local dw=$((ww - help_w)) dh=$((wh - help_h))
    window_geometry "$about" || return 1
    echo "small windows: the frame adds ${dw}x$dh to the client"
    [ $((ww - about_w)) -eq "$dw" ] && [ $((wh - about_h)) -eq "$dh" ] && [ $((dw % 2)) -eq 0 ] &&
        [ "$dw" -le 12 ] && [ "$dh" -le 40 ] ||
        { echo "client sizes other than ${help_w}x$help_h and ${about_w}x$about_h"; return 1; }
}

# The arrow pictures of the key-help window, light grey 222, on its four buttons.
check_help_pictures() {
    window_geometry "$help" || return 1
    shot help
    [ "$(count_colour help "${ww}x$wh+$wx+$wy" 'rgb(222,222,222)' 2)" -ge 2000 ] || { echo "no arrow pictures"; return 1; }
}

# The about window's "Quitter" button, by its place in twips.
click_about_quitter() {
    window_frame "$1" "$about_w" "$about_h" || return 1
    click $((wx + border + $(twips_px $((1140 + 2235 / 2))))) $((wy + border + caption + $(twips_px $((2070 + 345 / 2)))))
}

click_close_box() {
    window_frame "$1" "$2" "$3" || return 1
    click $((wx + ww - border - caption / 2 - 1)) $((wy + border + caption / 2))
}

# Everything but the capture, on one run of the game. Exits 3 when a capture cut it short.
main_checks() {
    main=$(await 60 window_id "$main_title" GLOUTO) || expect "the main window opens" false
    expect "one main window" [ "$(count_windows "$main_title" GLOUTO)" -eq 1 ]
    expect "the client area has its size" retry 3 measure_main "$main"
    expect "character, monster and pellets in place" retry 3 check_board
    xdotool windowfocus "$main"
    sleep 0.3
    xdotool key Right
    expect "the right arrow moves the character one cell" \
        poll 4 'shot moved && character_in_cell moved 1 0 && no_character_in_cell moved 0 0'

    expect "menu: liens internet" choose_menu_item 2
    sleep 1
    expect "liens internet opens nothing" [ "$(xdotool search --onlyvisible --class glouto | wc -l)" -eq 1 ]
    expect "menu: commandes" choose_menu_item 0
    help=$(await 10 window_id "$help_title" "$help_title") || expect "the key-help window opens" false
    # Found as soon as it is mapped, maybe before its buttons are painted.
    expect "the key-help window shows the arrows" retry 6 check_help_pictures
    expect "menu: commandes again" choose_menu_item 0
    sleep 1
    expect "still one key-help window" [ "$(count_windows "$help_title" "$help_title")" -eq 1 ]
    expect "menu: a propos" choose_menu_item 1
    about=$(await 10 window_id "$about_title" "$about_title") || expect "the about window opens" false
    expect "the small windows have their client sizes" check_small_frames

    expect "menu: quitter" choose_menu_item 3
    await 5 no_window "$main_title" GLOUTO || fail "quitter leaves the main window open"
    sleep 1
    alive || fail "the program ended with the small windows still open"
    click_about_quitter "$about"
    await 5 no_window "$about_title" "$about_title" || fail "the about window's Quitter button does not close it"
    sleep 1
    alive || fail "the program ended with the key-help window still open"
    click_close_box "$help" "$help_w" "$help_h"
    await 5 no_window "$help_title" "$help_title" || fail "the key-help window's close box does not close it"
    await_exit 15 || fail "the program runs on with no window left"
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the last window closed"
    echo "main run: passed"
}

# The game-over box of a capture: one box, its title, and OK ends the program with status 0.
finish_capture() {
    local box about help
    box=$(await 10 window_id "$box_title" manger) || fail "no game-over box"
    sleep 1
    [ "$(count_windows "$box_title" manger)" -eq 1 ] || fail "more than one game-over box"
    window_geometry "$box"
    click $((wx + ww / 2)) $((wy + wh - 20))
    await 5 no_window "$box_title" manger || fail "OK does not close the game-over box"
    await 5 no_window "$main_title" GLOUTO || fail "the main window stays after the game-over box"
    # Small windows left open by an interrupted run keep the program alive; close them.
    if about=$(window_id "$about_title" "$about_title"); then
        click_about_quitter "$about"
        await 5 no_window "$about_title" "$about_title" || fail "the about window's Quitter button does not close it"
    fi
    if help=$(window_id "$help_title" "$help_title"); then
        click_close_box "$help" "$help_w" "$help_h"
    fi
    await_exit 15 || fail "the program runs on after the game-over box"
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the game-over box"
    echo "capture: one box titled \"$box_title\"; OK ended the program with status 0"
}

# The column of a row (the top row unless given) where the character stands (its yellow, cell by
# cell, in one pass; the walls' white is not counted).
character_column() {
    convert "$work/$1.png" -crop "$(client_rect "$main_w" 41 0 "$(twips_px $((50 + 620 * ${2:-0})))")" +repage \
        -fill black -opaque white -fuzz 12% -fill white -opaque yellow -fuzz 0 \
        -fill black +opaque white -depth 8 txt:- |
        awk -F'[,:]' 'NR > 1 && index($0, "#FFFFFF") { n[int($1 * 15 / 620)]++ }
                      END { for (k = 0; k < 18; k++) if (n[k] >= 400) { print k; exit 0 } exit 1 }'
}

# The character stands still on a row (the top row unless given), left of its end: prints its column.
stands_still() {
    local first
    shot still1
    first=$(character_column still1 "${1:-0}") || { echo "no character on row ${1:-0}"; return 1; }
    sleep 1
    shot still2
    [ "$(character_column still2 "${1:-0}")" = "$first" ] && [ "$first" -lt 17 ] ||
        { echo "the character walks on from column $first"; return 1; }
    echo "$first"
}

# Holds the right arrow until the character has passed that column; the key stays down.
hold_right_past() {
    xdotool keydown Right
    poll 5 "shot held && [ \"\$(character_column held)\" -gt $1 ] 2>/dev/null"
}

# The key source sees every loop on the game's thread, a window's unloading ends a hold that no
# auto-repeat renews (this server repeats no key), and Alt with an arrow is the arrow. The monster
# stays trapped far below the top row.
key_checks() {
    local column
    main=$(await 60 window_id "$main_title" GLOUTO) || fail "the main window opens"
    # Found as soon as it is mapped, maybe before its first paint.
    retry 3 measure_main "$main" || fail "the client area has its size"
    xdotool windowfocus "$main"
    sleep 0.3

    hold_right_past 1 || fail "a held right arrow walks the character"
    open_menu || fail "the menu opens"
    sleep 0.3
    xdotool keyup Right
    sleep 0.3
    # A click beside the drop-down closes it.
    click $((mx + cx + main_w - 20)) $((my + cy + label_top / 2))
    await 5 no_window_id "$popup" >/dev/null || fail "the menu closes"
    sleep 0.3
    column=$(stands_still) || fail "an arrow released while the drop-down was open ends the hold: $column"
    echo "menu: the arrow released in the drop-down stopped the character at column $column"

    choose_menu_item 1 || fail "menu: a propos"
    about=$(await 10 window_id "$about_title" "$about_title") || fail "the about window opens"
    sleep 0.3
    hold_right_past "$column" || fail "a right arrow held in the about window walks the character"
    click_about_quitter "$about"
    await 5 no_window "$about_title" "$about_title" || fail "the about window's Quitter button closes it"
    sleep 0.3
    column=$(stands_still) || fail "closing a window lets go of a held arrow: $column"
    xdotool keyup Right
    echo "unload: closing the about window with the arrow held stopped the character at column $column"

    xdotool windowfocus "$main"
    sleep 0.3
    xdotool key alt+Left
    poll 3 "shot alt && [ \"\$(character_column alt)\" -eq $((column - 1)) ] 2>/dev/null" ||
        fail "Alt with the left arrow moves the character one cell left"
    echo "Alt+Left: one cell left"

    choose_menu_item 3 || fail "menu: quitter"
    await_exit 15 || fail "the program runs on after quitter"
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after quitter"
}

# One capture every run: the game-over box is modal to every window of the game, and closing it
# unloads the main window.
capture_checks() {
    main=$(await 60 window_id "$main_title" GLOUTO) || fail "the main window opens"
    # Found as soon as it is mapped, maybe before its first paint.
    retry 3 measure_main "$main" || fail "the client area has its size"
    choose_menu_item 0 || fail "menu: commandes"
    help=$(await 10 window_id "$help_title" "$help_title") || fail "the key-help window opens"
    await 40 window_id "$box_title" manger >/dev/null || fail "no capture within 40 s"
    click_close_box "$help" "$help_w" "$help_h"
    sleep 1
    window_id "$help_title" "$help_title" >/dev/null || fail "the key-help window closed behind the game-over box"
    echo "the key-help window ignores its close box while the game-over box is open"
    finish_capture
}

# A capture while the menu's drop-down is open: the box ends the menu and takes the mouse at once,
# so one click on OK closes it and the program ends as it would with the menu closed.
capture_in_menu_checks() {
    main=$(await 60 window_id "$main_title" GLOUTO) || fail "the main window opens"
    retry 3 measure_main "$main" || fail "the client area has its size"
    open_menu || fail "the menu opens"
    await 40 window_id "$box_title" manger >/dev/null || fail "no capture within 40 s"
    await 5 no_window_id "$popup" >/dev/null || fail "the drop-down stays open under the game-over box"
    echo "the game-over box closed the open drop-down"
    finish_capture
}

# A controller scripted through XInput's entry point (the scripted game's first slot reads the pad
# file): one press of the cross's right and down is one diagonal step, a held right walks, and
# unplugging it while held stops the character. The monster stays trapped far below.
controller_checks() {
    local column
    main=$(await 60 window_id "$main_title" GLOUTO) || fail "the main window opens"
    retry 3 measure_main "$main" || fail "the client area has its size"
    xdotool windowfocus "$main"
    : >"$pad"
    sleep 0.5
    echo "down right" >"$pad"
    sleep 0.1
    : >"$pad"
    poll 3 'shot pad1 && character_in_cell pad1 1 1 && no_character_in_cell pad1 0 0' ||
        fail "one press of the cross's right and down makes one diagonal step"
    echo right >"$pad"
    poll 5 "shot pad2 && [ \"\$(character_column pad2 1)\" -ge 4 ] 2>/dev/null" || fail "a held right walks the character"
    echo none >"$pad"
    column=$(stands_still 1) || fail "unplugging the pad while right is held stops the character: $column"
    echo "controller: one diagonal step, a walk to column $column, stopped by unplugging"
    choose_menu_item 3 || fail "menu: quitter"
    await_exit 15 || fail "the program runs on after quitter"
}

# The controller's face button does what Enter does in the game-over box: it closes it.
controller_box_checks() {
    main=$(await 60 window_id "$main_title" GLOUTO) || fail "the main window opens"
    await 40 window_id "$box_title" manger >/dev/null || fail "no capture within 40 s"
    sleep 0.5
    echo a >"$pad"
    await 5 no_window "$box_title" manger || fail "the face button does not close the game-over box"
    await_exit 15 || fail "the program runs on after the game-over box"
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the game-over box"
    echo "controller: the face button closed the game-over box; the program ended with status 0"
}

start_xvfb_and_wine
pad="$work/pad"

tick_thread_check="$(dirname "$exe")/glouto_tick_thread_check.exe"
if [ -f "$tick_thread_check" ]; then
    step "tick thread against a queue that refuses posts"
    timeout 60 wine "$tick_thread_check" | tr -d '\r' || fail "a clock stalls or fails silently"
fi
tick_check="$(dirname "$exe")/glouto_tick_check.exe"
if [ -f "$tick_check" ]; then
    step "clock precision"
    timeout 60 wine "$tick_check" | tr -d '\r' || fail "the clocks are far off their periods"
fi

for attempt in 1 2 3; do
    step "main run, attempt $attempt"
    launch "run$attempt"
    set +e
    (set -e; main_checks)
    status=$?
    set -e
    [ "$status" -eq 0 ] && break
    [ "$status" -eq 3 ] || exit "$status"
    echo "the monster caught the character before the run was through"
    finish_capture
    [ "$attempt" -lt 3 ] || fail "three runs in a row cut short by a capture"
done

step "keys in the menu's loop, on an unload and with Alt (the monster trapped)"
launch keys "$scripted" "${trapped_monster[@]}"
key_checks

step "a controller through XInput (the monster trapped)"
echo none >"$pad"
launch controller "$scripted" --pad "$(winepath -w "$pad")" "${trapped_monster[@]}"
controller_checks

step "a controller's face button on the game-over box (the monster hunting)"
: >"$pad"
launch controller_box "$scripted" --pad "$(winepath -w "$pad")" "${hunting_monster[@]}"
controller_box_checks

step "capture with the menu open (the monster hunting a character that stands still)"
launch capture_in_menu "$scripted" "${hunting_monster[@]}"
capture_in_menu_checks

step "capture (the monster hunting a character that stands still)"
launch capture "$scripted" "${hunting_monster[@]}"
capture_checks
step "passed in ${SECONDS} s"
