#!/usr/bin/env bash
# Installs whatever the build and the tests need and is missing, then configures and builds
# into ./build. Works on a fresh Debian 12 as root or through sudo.
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PACKAGE_LIST="$REPO_DIR/scripts/packages.txt"
BUILD_DIR="$REPO_DIR/build"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local package
  grep -v -e '^[[:space:]]*$' -e '^#' "$PACKAGE_LIST" | while read -r package; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      echo "$package"
  done
}

install_missing_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing: $(echo $missing)"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 update
  # shellcheck disable=SC2086  # one word per package
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y \
    --no-install-recommends $missing
}

configure_and_build() {
  # CI holds warnings to zero; a newer compiler on a developer's machine only warns.
  local werror=OFF
  [ -n "${CI:-}" ] && werror=ON
  cmake -S "$REPO_DIR" -B "$BUILD_DIR" -G Ninja -DVINTREL_WERROR=$werror
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

install_missing_packages
configure_and_build
