#!/usr/bin/env bash
# Sets up a Debian 12 machine for Mosaikon and then builds and starts the editor ("run") or
# builds it and runs every test ("test"). Missing packages are installed with apt-get when run
# as root; otherwise the exact apt-get line is printed and nothing else happens.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev libspng-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils x11-apps imagemagick
  fonts-liberation fonts-dejavu-core
  desktop-file-utils appstream lintian libx11-dev libxtst-dev bc python3-pil
)

usage() {
  echo "usage: $0 run|test" >&2
  exit 2
}

[ $# -eq 1 ] || usage
mode=$1
case "$mode" in run|test) ;; *) usage ;; esac

cd "$(dirname "$0")/.."

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  line="apt-get update && apt-get install -y ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "Some packages are missing. Run this as root, then run this command again:"
    echo "  sudo sh -c '$line'"
    exit 1
  fi
fi

case "$mode" in
  run)
    cmake --preset release
    cmake --build --preset release
    exec ./build/release/src/window/mosaikon
    ;;
  test)
    cmake --preset ci
    cmake --build --preset ci
    ctest --preset ci
    ;;
esac
