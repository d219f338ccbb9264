#!/usr/bin/env bash
# Builds the skin image fuzzer with clang in its own tree and runs it for a bounded time from
# the seed corpus. Arguments: the source folder, the build folder, the seconds to run.
# New inputs collect in the build folder; the repository's corpus is only read.
set -euo pipefail
SOURCE_DIR=$1
BUILD_DIR=$2
SECONDS_TO_RUN=$3
# The fuzzer's own heap check: one allocation above this fails the run. Decoding stops at
# 16 MiB an image; a copy for drawing and the 951 x 681 window surface stay below it too.
MALLOC_LIMIT_MB=64
RSS_LIMIT_MB=2048

CC=clang CXX=clang++ cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -G Ninja \
  -DVINTREL_SANITIZE=fuzzer-no-link,address,undefined -DVINTREL_BUILD_FUZZERS=ON \
  -DVINTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --target skin_image_fuzzer -j "$(nproc)"

FOUND_DIR="$BUILD_DIR/skin_image_corpus"
mkdir -p "$FOUND_DIR"
cd "$BUILD_DIR"
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/hardening/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec ./skin_image_fuzzer -max_total_time="$SECONDS_TO_RUN" -malloc_limit_mb="$MALLOC_LIMIT_MB" \
  -rss_limit_mb="$RSS_LIMIT_MB" -max_len=65536 -print_final_stats=1 \
  "$FOUND_DIR" "$SOURCE_DIR/tests/fuzz/corpus"
