#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "error: no display: the game opens a window and needs a graphical session." >&2
    echo "Run it from a desktop session, or under a virtual X server: xvfb-run -a ./run.sh" >&2
    exit 1
fi

source tools/packages.sh
glouto_install_packages "${GLOUTO_BUILD_PACKAGES[@]}"
cmake --preset release -DGLOUTO_BUILD_TESTS=OFF >/dev/null
cmake --build --preset release
exec build/release/ui/qt/glouto
