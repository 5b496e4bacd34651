#!/usr/bin/env bash
# Builds the engine fuzzer (clang 14, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs it from the committed seeds for a bounded time.
#
#   tests/fuzz/run_fuzz.sh [seconds]         default 60
#
# The corpus it grows lives in the build directory (GLOUTO_FUZZ_BUILD, default build/fuzz), so
# the committed seeds stay as they are; a failing input is left in its crashes/ folder. Exits
# non-zero when the fuzzer finds anything.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${GLOUTO_FUZZ_BUILD:-$root/build/fuzz}

cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j2 >/dev/null
mkdir -p "$build/corpus" "$build/crashes"

log=$build/fuzz.log
status=0
"$build/engine_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/" "$build/corpus" "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?

if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz: FAILED (status $status); the input is in $build/crashes/" >&2
    exit "$status"
fi
# The closing figures: executions, speed, coverage, corpus.
grep -E '^#[0-9]+[[:space:]]+DONE|^stat::|^Done' "$log"
echo "fuzz: passed"
