#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ and prints their figures. Benchmarks that
# show windows run under a virtual X server when there is no display.
#   scripts/bench.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-${BUILD_DIR:-build}}

scripts/deps.sh bench
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Every executable target named bench_* that bench/CMakeLists.txt defines.
mapfile -t benches < <(sed -n 's/^add_executable(\(bench_[A-Za-z0-9_]*\).*/\1/p' bench/CMakeLists.txt)
cmake --build "$BUILD_DIR" --target "${benches[@]}" -j2

run() {
  if [[ -z "${DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  else
    "$@"
  fi
}

status=0
for bench in "${benches[@]}"; do
  echo "== $bench"
  run "$BUILD_DIR/bench/$bench" || status=1
done
exit $status
