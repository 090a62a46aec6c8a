#!/usr/bin/env bash
# Installs what is missing, builds an optimised Pelorin in build/ (or $BUILD_DIR) and starts it.
set -euo pipefail
start_dir=$PWD # the program opens its directory tree here on a first run
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
program=$(realpath "$BUILD_DIR")/pelorin

scripts/deps.sh run
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --target pelorin -j"$(nproc)"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "Pelorin is built, but there is no display to show it on." >&2
  echo "Start it under a virtual X server instead:  xvfb-run -a $BUILD_DIR/pelorin" >&2
  exit 1
fi
cd "$start_dir"
exec "$program" "$@"
