#!/usr/bin/env bash
# Builds everything and runs all tests: once in the normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${JOBS:-2}"

run_configuration() {
  local name="$1"
  shift
  local dir="$root/build/$name"
  echo "=== $name build ==="
  cmake -S "$root" -B "$dir" -DWT_WERROR=ON -DWT_BUILD_BENCH=ON "$@" > "$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs"
  echo "=== $name tests ==="
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

mkdir -p "$root/build"
run_configuration release
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  run_configuration sanitize -DWT_SANITIZE=ON -DWT_BUILD_BENCH=OFF
