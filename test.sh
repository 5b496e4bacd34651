#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. Needs no display.
set -euo pipefail
cd "$(dirname "$0")"

source tools/packages.sh
glouto_install_packages "${GLOUTO_BUILD_PACKAGES[@]}" "${GLOUTO_TEST_PACKAGES[@]}"
cmake --preset release -DGLOUTO_BUILD_TESTS=ON >/dev/null
cmake --build --preset release
ctest --preset release
