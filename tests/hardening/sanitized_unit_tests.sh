#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer in their own tree
# and runs them; any finding or leak fails. Arguments: the source folder, the build folder,
# then anything for unit_tests (a --gtest_filter, say).
set -euo pipefail
SOURCE_DIR=$1
BUILD_DIR=$2
shift 2
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

"$HERE/build_sanitized.sh" "$SOURCE_DIR" "$BUILD_DIR" unit_tests

export QT_QPA_PLATFORM="offscreen:configfile=$SOURCE_DIR/tests/unit/offscreen_screen.json"
export ASAN_OPTIONS=detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$HERE/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$BUILD_DIR/unit_tests" "$@"
