#!/usr/bin/env bash
# Builds vintrel with AddressSanitizer and UndefinedBehaviorSanitizer in the sanitizer tree and
# runs the end-to-end tests against it. Every process of the shell, engine sub-processes
# included, writes its findings to a report file; any finding that engine_findings.supp does not
# name fails the check, as does any failing test. Arguments: the source folder, the build
# folder, then anything for ctest (-R close, say).
set -euo pipefail
SOURCE_DIR=$1
BUILD_DIR=$2
shift 2
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

"$HERE/build_sanitized.sh" "$SOURCE_DIR" "$BUILD_DIR" vintrel vintrel_look_driver

REPORTS=$(mktemp -d /tmp/vintrel-sanitizer-reports.XXXXXX)
trap 'rm -rf "$REPORTS"' EXIT
chmod 1777 "$REPORTS"  # the shell also runs as another user (the user storage test)
# halt_on_error=0: a finding of the allocator (the engine's among them) is written and the
# process goes on, so that the engine's known findings can be told from ours afterwards;
# findings in instrumented code still stop the process (-fno-sanitize-recover). Frames name
# their module, which is what a suppression matches. detect_leaks=0: besides the engine's own
# blocks, kept to the end of the process by design, libraries built without frame pointers
# leave leak stacks that stop before any caller (a trial found D-Bus's, fontconfig's and one
# with no frame at all), which no suppression can place; leaks in the shell's own code are the
# unit tests' check, under the sanitizers and memcheck. fast_unwind_on_fatal=0: the engine and
# Qt are built without frame pointers, so a crash inside them is unwound from their unwind
# tables, or its stack stops short of the call that led there.
FRAME_FORMAT='    #%n %p %F %L {%m}'
export ASAN_OPTIONS="halt_on_error=0:detect_leaks=0:fast_unwind_on_fatal=0:log_path=$REPORTS/asan:stack_trace_format='$FRAME_FORMAT'"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$REPORTS/ubsan:stack_trace_format='$FRAME_FORMAT'"

# An ordinary user gets the engine's sandbox, whose processes are this instrumented executable;
# run so, the sanitized shell never loaded its page (all three such tests ran out of time), so
# they run in the plain end-to-end suite only, until the sandbox is made to start them.
SANDBOXED='as_an_ordinary_user|e2e\.user_storage\.storage_survives'

status=0
ctest --test-dir "$BUILD_DIR" -L e2e -E "$SANDBOXED" --output-on-failure "$@" || status=$?
if compgen -G "$REPORTS/*" >/dev/null; then
  python3 "$HERE/sanitizer_reports.py" "$HERE/engine_findings.supp" "$REPORTS"/* || status=1
fi
exit $status
