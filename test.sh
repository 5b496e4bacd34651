#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. Needs no display.
set -euo pipefail
cd "$(dirname "$0")"

source tools/packages.sh
glouto_install_packages "${GLOUTO_BUILD_PACKAGES[@]}" "${GLOUTO_TEST_PACKAGES[@]}"
# The Windows build first: the suite runs its smoke test under Wine.
cmake --preset win64 >/dev/null
cmake --build --preset win64
# The benchmarks are built too, and their own tests run, so that none of them rots unseen.
cmake --preset release -DGLOUTO_BUILD_TESTS=ON -DGLOUTO_BUILD_BENCH=ON -DGLOUTO_WIN64_EXE="$PWD/build/win64/ui/win32/glouto.exe" >/dev/null
cmake --build --preset release
ctest --preset release
# The browser build and its page in Chromium, Firefox and WebKitGTK.
glouto_install_node_packages tests/web
cmake --preset web >/dev/null
cmake --build --preset web
ctest --preset web
