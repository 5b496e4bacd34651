# Installs the Debian packages a set-up script needs, when any is missing. Sourced by run.sh and test.sh.

# Packages to build the game and to run it on a desktop.
GLOUTO_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libxcb1-dev libsdl2-dev libpng-dev fonts-liberation2)
# What the test suite needs on top: GoogleTest, Google Benchmark (the suite builds the benchmarks
# too), and a real X server with input and screenshot tools and a window manager; xset turns the
# server's key auto-repeat on.
GLOUTO_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick openbox)
# The packaging tests: building the .deb (dpkg-shlibdeps), checking it and the desktop files.
GLOUTO_TEST_PACKAGES+=(dpkg-dev lintian desktop-file-utils appstream file man-db)
# The reliability checks: Qt's window-system interface for the soak, clang and libFuzzer for the fuzzer.
GLOUTO_TEST_PACKAGES+=(qt6-base-private-dev clang-14 libclang-rt-14-dev)
# A Wayland session of its own: Weston's headless compositor with XWayland, Qt's Wayland plugin,
# and libweston to build the module through which the test has Weston close the game's window.
GLOUTO_TEST_PACKAGES+=(weston xwayland qt6-wayland libweston-10-dev)
# The Windows build, cross-compiled, and its smoke test under Wine.
GLOUTO_TEST_PACKAGES+=(g++-mingw-w64-x86-64-posix wine wine64)
# The browser build, and its tests in three real browsers: Chromium and WebKitGTK (in an Xvfb with
# openbox) driven through their WebDriver servers by Selenium, Firefox through WebDriver BiDi by
# Puppeteer, an npm package (tests/web/package.json, installed by glouto_install_node_packages).
GLOUTO_WEB_PACKAGES=(emscripten cmake ninja-build python3)
GLOUTO_TEST_PACKAGES+=("${GLOUTO_WEB_PACKAGES[@]}" chromium chromium-driver python3-selenium python3-pil)
GLOUTO_TEST_PACKAGES+=(firefox-esr webkit2gtk-driver)

glouto_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: these packages are missing and installing them needs root: ${missing[*]}" >&2
            echo "Run this script as root, or install sudo." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
        ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
        echo "error: could not install: ${missing[*]} (is this Debian 12 with its package archive reachable?)" >&2
        return 1
    fi
}

# Node and npm from Debian when there is no npm at all (a machine may bring its own), then the
# test drivers' npm packages exactly as the lockfile pins them.
glouto_install_node_packages() {
    command -v npm >/dev/null 2>&1 || glouto_install_packages nodejs npm
    npm ci --prefix "$1" --no-audit --no-fund --loglevel=error
}
