#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench) and prints one table: the engine's handlers, then
# the game's windows against a bare Qt program with the same window and timers, on a private Xvfb
# through Qt's xcb platform. About 7 minutes; --quick takes about one, for trying things.
#   bench/run.sh [--quick|--smoke] [--against-sprites]
# --smoke runs each benchmark program once, for a moment, from the test suite's own build
#   (build/release, which ./test.sh configures with the benchmarks): .ci/run's check that none is broken.
# --against-sprites compares with the bare program moving two sprites at the game's rates instead.
#   bench/run.sh --web   the browser build instead: download size, first frame, idle CPU in Chromium,
#                        Firefox and WebKitGTK (bench/web_bench.py; about 10 minutes)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --web ]; then
    source tools/packages.sh
    glouto_install_packages "${GLOUTO_WEB_PACKAGES[@]}" chromium chromium-driver python3-selenium python3-pil \
        firefox-esr webkit2gtk-driver xvfb openbox x11-utils
    glouto_install_node_packages tests/web
    { cmake --preset web && cmake --build --preset web --target glouto_web; } >build-web-bench.log 2>&1 ||
        { cat build-web-bench.log >&2; exit 1; }
    exec bench/web_bench.py build/web/site
fi

runs=5 seconds=30 startup_runs=15 repetitions=5 min_time=0.5 sleep_loop=10
build=build/bench smoke=0
baseline_args=()
for arg in "$@"; do
    case "$arg" in
    --quick) runs=2 seconds=5 startup_runs=5 repetitions=3 min_time=0.1 sleep_loop=2 ;;
    --smoke) runs=1 seconds=1 startup_runs=1 repetitions=1 min_time=0.01 sleep_loop=1 build=build/release smoke=1 ;;
    --against-sprites) baseline_args=(--baseline-arg --sprites) ;;
    *) echo "usage: $0 [--quick|--smoke] [--against-sprites]" >&2; exit 2 ;;
    esac
done

if ((smoke)); then
    [ -x "$build/bench/glouto_proc_bench" ] || { echo "error: no benchmarks in $build: run ./test.sh first" >&2; exit 1; }
else
    source tools/packages.sh
    glouto_install_packages "${GLOUTO_BUILD_PACKAGES[@]}" libbenchmark-dev xvfb xauth
    # Two jobs at most: the machine is shared.
    if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLOUTO_BUILD_BENCH=ON -DGLOUTO_BUILD_TESTS=OFF &&
        cmake --build "$build" -j2 --target glouto_engine_bench glouto_game_driver glouto_baseline glouto_proc_bench; } \
        >"$build.log" 2>&1; then
        cat "$build.log" >&2
        echo "error: the build failed (log above, also in $build.log)" >&2
        exit 1
    fi
fi

echo "Engine benchmark, $repetitions repetitions..." >&2
"$build/bench/glouto_engine_bench" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_min_time="$min_time" --benchmark_format=csv >"$build/engine.csv" 2>"$build/engine.log"

# A display of our own, so that nothing else draws or takes the keyboard during the runs.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$build/xvfb.log" 2>&1 &
xvfb_pid=$!
runtime_dir=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$runtime_dir"' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "error: Xvfb did not start; see $build/xvfb.log" >&2; exit 1; }

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime_dir"
# Both programs draw at one scale, whatever the calling desktop asked for.
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING

qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), Qt $qt_version," \
    "Xvfb :$display (xcb), load average $(cut -d' ' -f1-3 /proc/loadavg)"
: >"$build/children.log"
"$build/bench/glouto_proc_bench" --game "$build/bench/glouto_game_driver" --baseline "$build/bench/glouto_baseline" \
    "${baseline_args[@]}" --runs "$runs" --seconds "$seconds" --startup-runs "$startup_runs" --sleep-loop "$sleep_loop" \
    --engine-csv "$build/engine.csv" --child-log "$build/children.log"
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
