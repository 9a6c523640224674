#!/usr/bin/env bash
# Builds the libFuzzer harnesses (tests/fuzz) with clang and runs each one for
# a bounded time on a corpus seeded from the project's measurement writers.
# Fails on the first finding (crash, sanitizer report, leak, timeout, out of
# memory); the input that caused it is kept as fuzz-findings/<harness>/*.
#
#   tools/fuzz.sh [SECONDS_PER_HARNESS] [HARNESS...]
#
# SECONDS_PER_HARNESS (or the environment variable FUZZ_SECONDS) defaults
# to 10. FUZZ_BUILD_DIR (default build/fuzz) holds the build, the corpora
# (kept between runs, so longer runs go on where earlier ones stopped) and
# the findings. FUZZ_JOBS sets the build parallelism (default 2).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-${FUZZ_SECONDS:-10}}"
[ "$#" -gt 0 ] && shift
build="${FUZZ_BUILD_DIR:-$root/build/fuzz}"
jobs="${FUZZ_JOBS:-2}"

case "$seconds" in
  '' | *[!0-9]*) echo "fuzz.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

mkdir -p "$build"
echo "=== building the fuzz harnesses in $build ==="
CXX="${FUZZ_CXX:-clang++}" cmake -S "$root" -B "$build" -DWT_BUILD_FUZZ=ON -DWT_BUILD_TESTS=OFF \
  -DWT_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target fuzz_harnesses -j "$jobs"

if [ "$#" -gt 0 ]; then
  harnesses=("$@")
else
  mapfile -t harnesses < "$build/fuzz_harnesses.txt"
fi

corpora="$build/corpus"
"$build/tests/fuzz/fuzz_seed_writer" "$corpora"

failed=()
for harness in "${harnesses[@]}"; do
  [ -n "$harness" ] || continue
  program="$build/tests/fuzz/${harness}_fuzz"
  corpus="$corpora/$harness"
  findings="$build/fuzz-findings/$harness"
  mkdir -p "$corpus" "$findings"
  dictionary=()
  [ -f "$root/tests/fuzz/$harness.dict" ] && dictionary=(-dict="$root/tests/fuzz/$harness.dict")
  echo "=== $harness: $seconds s ==="
  log="$build/$harness.log"
  if UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}" \
    "$program" "$corpus" "${dictionary[@]}" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 > "$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$log" | tr '\n' ' '
    echo
  else
    tail -n 40 "$log"
    echo "!!! $harness: finding kept in $findings (log: $log)"
    failed+=("$harness")
  fi
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no findings"
