#!/usr/bin/env bash
# Configures the sanitizer tree (AddressSanitizer and UndefinedBehaviorSanitizer), which the
# sanitized unit and end-to-end checks share, and builds the given targets in it. Arguments:
# the source folder, the build folder, then the targets.
set -euo pipefail
SOURCE_DIR=$1
BUILD_DIR=$2
shift 2

cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -G Ninja -DVINTREL_SANITIZE=address,undefined \
  -DVINTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --target "$@" -j "$(nproc)"
