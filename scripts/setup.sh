#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the project needs (only those
# missing), then configures and builds the project in build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${CGT_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  g++ cmake make binutils pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libssl-dev
  nlohmann-json3-dev
  libglpk-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation fonts-liberation2
  poppler-utils
  xvfb dbus at-spi2-core python3-pyatspi
)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing missing packages:" $missing
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo=(sudo)
    elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
      sudo=(sudo)
    else
      echo "error: these packages are missing and I cannot install them (not root, no sudo):" >&2
      echo "  $missing" >&2
      echo "Ask an administrator to run: apt-get install $missing" >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  # shellcheck disable=SC2086
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

configure_and_build() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
}
