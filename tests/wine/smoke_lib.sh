# Helpers of the Wine smoke test: private X server and Wine prefix, windows, clicks and pixels.
# Sourced by smoke.sh; every wait here is bounded.

step() { echo "== $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a check; a failure fails the test, unless a capture interrupted it (exit 3, see smoke.sh).
expect() {
    local what=$1
    shift
    "$@" && return 0
    if window_id "$box_title" manger >/dev/null; then
        echo "($what: interrupted by a capture)"
        exit 3
    fi
    fail "$what"
}

retry() {
    local times=$1 i
    shift
    for ((i = 1; i <= times; i++)); do
        "$@" && return 0
        [ "$i" -lt "$times" ] && sleep 0.5
    done
    return 1
}

# Repeats a command until it succeeds, for at most that many seconds; prints its last output.
await() {
    local end=$((SECONDS + $1)) out
    shift
    while :; do
        if out=$("$@"); then
            [ -z "$out" ] || echo "$out"
            return 0
        fi
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# The same for a condition given as a string.
poll() {
    local end=$((SECONDS + $1))
    while ! eval "$2"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

cleanup() {
    local status=$?
    set +e
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && timeout 30 wineserver -k >/dev/null 2>&1
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    if [ -n "${GLOUTO_WINE_ARTIFACTS:-}" ]; then
        mkdir -p "$GLOUTO_WINE_ARTIFACTS" && cp "$work"/*.png "$work"/*.log "$GLOUTO_WINE_ARTIFACTS"/ 2>/dev/null
    fi
    rm -rf "$work"
    exit "$status"
}

start_xvfb_and_wine() {
    work=$(mktemp -d)
    trap cleanup EXIT
    # -displayfd: the server picks a free display and tells which. A held key sends one press and
    # no auto-repeat, which would walk an open drop-down from menu to menu.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ardelay 60000 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local i
    for ((i = 0; i < 100; i++)); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$work/display")"
    # No Mono or Gecko installer dialogs in a fresh prefix.
    export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    step "fresh Wine prefix ($(wine --version 2>/dev/null)) on display $DISPLAY"
    timeout 180 wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot did not finish"
    # The prefix's set-up goes on after wineboot returns and would write its default colours over ours.
    timeout 120 wineserver -w || fail "the prefix's set-up did not finish"
    # Without a window manager, managed windows stall each close by about two seconds.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
        fail "could not unmanage Wine's windows"
    # The system colours stay Wine's own: the window-frame colour is grey, and the board must be
    # black all the same.
    echo "window-frame colour: $(timeout 60 wine reg query 'HKCU\Control Panel\Colors' /v WindowFrame 2>/dev/null |
        tr -d '\r' | sed -n 's/.*REG_SZ *//p')"
}

# Starts a program (the game unless told) in the background; its exit status lands in
# $work/<name>.status.
launch() {
    local name=$1
    shift
    [ $# -gt 0 ] || set -- "$exe"
    status_file="$work/$name.status"
    (
        set +e
        wine "$@" >"$work/$name.log" 2>&1
        echo $? >"$status_file"
    ) &
    game_pid=$!
}

alive() { [ ! -s "$status_file" ]; }

# Waits at most that many seconds for the game to end; sets exit_status.
await_exit() {
    poll "$1" '! alive' || return 1
    exit_status=$(cat "$status_file")
    game_pid=
}

# The id of the shown window with exactly that title (xdotool matches a pattern, we compare).
window_id() {
    local id
    for id in $(xdotool search --onlyvisible --name "$2" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

count_windows() {
    local id n=0
    for id in $(xdotool search --onlyvisible --name "$2" 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" != "$1" ] || n=$((n + 1))
    done
    echo "$n"
}

no_window() { ! window_id "$1" "$2" >/dev/null; }

# A shown window of the game without a title: an open drop-down menu.
unnamed_window() {
    local id
    for id in $(xdotool search --onlyvisible --class glouto 2>/dev/null); do
        if [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

no_window_id() { ! xdotool search --onlyvisible --class glouto 2>/dev/null | grep -qx "$1"; }

# Sets wx wy ww wh: the window's place and size on the screen, frame included.
window_geometry() {
    local WINDOW= X= Y= WIDTH= HEIGHT= SCREEN=
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)"
    [ -n "$WIDTH" ] || return 1
    wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
}

# Also sets border and caption: a window's frame, known its client size.
window_frame() {
    window_geometry "$1" || return 1
    border=$(((ww - $2) / 2))
    caption=$((wh - $3 - 2 * border))
}

click() { xdotool mousemove "$1" "$2" click 1; }

shot() { import -display "$DISPLAY" -window root "$work/$1.png"; }

twips_px() { echo $((($1 * 2 + 15) / 30)); }

# One line per pixel of a one-pixel-thin region: 1 for black, 0 for anything else.
pixel_line() {
    convert "$work/$1.png" -crop "$2" +repage -depth 8 txt:- | awk 'NR > 1 { print (index($0, "#000000") ? 1 : 0) }'
}

# From pixel_line: where the first run of at least that many black pixels starts, and how long
# the run at the very start is.
black_run_start() { awk -v min="$1" '$1 == 1 { if (!run++) start = NR - 1; if (run >= min) { print start; exit } next } { run = 0 }'; }
black_run_length() { awk '$1 == 1 { n++; next } { exit } END { print n + 0 }'; }

# How many pixels of about that colour (fuzz in percent, 12 unless given) lie in the region.
count_colour() {
    convert "$work/$1.png" -crop "$2" +repage -fill black -opaque white -fuzz "${4:-12}%" -fill white -opaque "$3" \
        -fuzz 0 -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:
}

# How many pixels of the region are exactly black.
count_black() { convert "$work/$1.png" -crop "$2" +repage -depth 8 txt:- | grep -c '#000000'; }

# The vertical centres of the lines of dark text in the region, top to bottom.
text_row_centres() {
    convert "$work/$1.png" -crop "$2" +repage -colorspace gray -depth 8 txt:- | awk -F: '
        NR > 1 {
            split($1, at, ","); v = $2; sub(/^[^(]*\(/, "", v); sub(/[,)].*$/, "", v)
            if (v + 0 < 96) dark[at[2]] = 1
            if (at[2] + 0 > last_row) last_row = at[2] + 0
        }
        END {
            start = -1
            for (y = 0; y <= last_row + 3; y++) {
                if (y in dark) { if (start < 0) start = y; end = y }
                else if (start >= 0 && y > end + 2) { print int((start + end) / 2); start = -1 }
            }
        }'
}
