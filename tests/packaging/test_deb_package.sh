#!/usr/bin/env bash
# Builds the Debian package from a build tree, has lintian check it, installs it, starts the
# installed game on an X server of its own, and removes the package again. Whatever happens, the
# machine is left as it was found: no package, no game, no X server.
# Usage: test_deb_package.sh BUILD_DIR APP_ID ICON_SIZE...
# Exit status 77 (a skip for ctest) when not root or when glouto is already installed.
set -uo pipefail
build_dir=$1 app_id=$2
readonly skip=77
readonly icon_sizes=("${@:3}")

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: installing a package needs root; run this test as root to check the .deb"
    exit $skip
fi
if dpkg-query -W -f='${Status}' glouto 2>/dev/null | grep -q "install ok installed"; then
    echo "SKIPPED: glouto is already installed on this machine; this test would remove it (apt-get remove glouto first)"
    exit $skip
fi
for tool in cpack lintian apt-get dpkg-shlibdeps Xvfb xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (see tools/packages.sh)"; exit 1; }
done

work=$(mktemp -d)
installed=0 xvfb_pid="" game_pid=""
export DEBIAN_FRONTEND=noninteractive
apt_options=(-y -q -o DPkg::Lock::Timeout=120 --no-install-recommends)

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    if [ "$installed" -eq 1 ] && dpkg-query -W glouto >/dev/null 2>&1; then
        echo "cleanup: removing the glouto package"
        apt-get remove "${apt_options[@]}" glouto >/dev/null 2>&1 || dpkg -r glouto >/dev/null 2>&1
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: $*"
    exit 1
}

# What the package puts where a desktop looks for it.
installed_files=(
    /usr/games/glouto
    "/usr/share/applications/$app_id.desktop"
    "/usr/share/metainfo/$app_id.metainfo.xml"
    /usr/share/man/man6/glouto.6.gz
    /usr/share/doc/glouto/copyright
)
for size in "${icon_sizes[@]}"; do
    installed_files+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done

echo "== Building the package"
timeout 180 cpack --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/package/glouto_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single glouto_*.deb: ${debs[*]}"
deb=${debs[0]}
dpkg-deb --field "$deb"
dpkg-deb --field "$deb" Section | grep -qx games || fail "the package is not in section games"
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 ||
    fail "the dependencies do not name Qt Widgets: was dpkg-shlibdeps run?"

echo "== lintian (errors fail the test; warnings and notes are shown)"
timeout 180 lintian --fail-on error --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -v "root privileges"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"

echo "== Installing"
installed=1
timeout 180 apt-get install "${apt_options[@]}" "$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "apt-get install failed"; }
for file in "${installed_files[@]}"; do
    [ -f "$file" ] || fail "not installed: $file"
    [ "$(dpkg -S "$file" 2>/dev/null | cut -d: -f1)" = glouto ] || fail "not owned by the package: $file"
done
[ "$(stat -c %a /usr/games/glouto)" = 755 ] || fail "/usr/games/glouto has mode $(stat -c %a /usr/games/glouto)"
for size in "${icon_sizes[@]}"; do
    file -b "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | grep -q "PNG image data, $size x $size" ||
        fail "the ${size}x${size} icon is not a $size-pixel PNG"
done
# The menu entry starts the program by name, found on a desktop user's usual search path
# (root's has no games directory).
readonly user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
grep -qx "Exec=glouto" "/usr/share/applications/$app_id.desktop" || fail "the menu entry does not run glouto"
[ "$(PATH=$user_path command -v glouto)" = /usr/games/glouto ] || fail "glouto is not found on a user's PATH"

echo "== Starting the installed game"
mkdir -m 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$(head -n1 "$work/display")"
PATH=$user_path XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb glouto >"$work/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 40); do
    window=$(xdotool search --onlyvisible --name GLOUTO 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.25
done
[ -n "$window" ] || { cat "$work/game.log"; fail "no window named GLOUTO within 10 s"; }
echo "window $window: $(xdotool getwindowname "$window" | tr -s ' ')"

# The window carries the game's icon at every size it was drawn at, set just after its first frame.
has_every_icon() {
    icons=$(xprop -len 1000000 -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u)
    for size in "${icon_sizes[@]}"; do grep -q "Icon ($size x $size)" <<<"$icons" || return 1; done
}
for _ in $(seq 20); do has_every_icon && break; sleep 0.25; done
for size in "${icon_sizes[@]}"; do
    grep -q "Icon ($size x $size)" <<<"$icons" || fail "the window has no ${size}x${size} icon (it has: ${icons:-none})"
done

# Quit as a player does: "menu" in the menu bar, then its last item, "quitter".
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 20)) $((Y + 10)) click 1
sleep 0.5
xdotool key Up Return
status=""
for _ in $(seq 20); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        wait "$game_pid"
        status=$?
        break
    fi
    sleep 0.25
done
[ -n "$status" ] || fail "the game is still running 5 s after menu > quitter"
game_pid=""
[ "$status" -eq 0 ] || { cat "$work/game.log"; fail "the game exited with status $status"; }
echo "the game quit through its menu, status 0"

echo "== Removing"
timeout 180 apt-get remove "${apt_options[@]}" glouto >"$work/remove.log" 2>&1 ||
    { cat "$work/remove.log"; fail "apt-get remove failed"; }
installed=0
dpkg-query -W -f='${Status}' glouto 2>/dev/null | grep -q "install ok installed" && fail "glouto is still installed"
for file in "${installed_files[@]}" /usr/share/doc/glouto; do
    [ ! -e "$file" ] || fail "left behind after removal: $file"
done
echo "PASS: the package builds, passes lintian, installs, runs, and removes cleanly"
