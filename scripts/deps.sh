#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pelorin need.
# Only missing packages are installed; running it again changes nothing.
# Usage: scripts/deps.sh [run|test|bench]   (default: test, which is a superset of run)
set -euo pipefail

what=${1:-test}

run_pkgs=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-qpa-plugins
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev zlib1g-dev libdeflate-dev
  libsane-dev libsane1 libx11-dev libxcb1-dev
  fonts-dejavu-core fonts-liberation xvfb xauth
)
test_pkgs=(
  clang libclang-rt-14-dev
  graphicsmagick libtiff-tools pngcheck netpbm poppler-utils sane-utils
)
bench_pkgs=(libvips-tools mate-backgrounds plasma-workspace-wallpapers)

pkgs=("${run_pkgs[@]}")
case "$what" in
  run) ;;
  test) pkgs+=("${test_pkgs[@]}") ;;
  bench) pkgs+=("${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
  *) echo "usage: $0 [run|test|bench]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then sudo_cmd=(sudo); else
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
