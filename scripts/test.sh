#!/usr/bin/env bash
# Installs what is missing, builds Pelorin and its tests, and runs every test through CTest:
#   build/           the program and all tests (gcc, warnings as errors)
#   build/sanitize/  the core under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
#                    the tests labelled "sanitize" and a short run of every fuzzer
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
jobs=$(nproc)

scripts/deps.sh test || exit 1

set -e
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELORIN_WERROR=ON >/dev/null
cmake --build "$BUILD_DIR" -j"$jobs"
cmake -S . -B "$BUILD_DIR/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DPELORIN_FUZZ=ON >/dev/null
cmake --build "$BUILD_DIR/sanitize" -j"$jobs"
set +e

status=0
echo "== Tests =="
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$jobs" || status=1
echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzers =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$BUILD_DIR/sanitize" --output-on-failure -j"$jobs" || status=1
exit $status
