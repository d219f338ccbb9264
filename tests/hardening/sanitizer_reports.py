"""Reads the sanitizer report files of a run and fails on every finding that no line of the
suppression file names. A suppression names a kind of AddressSanitizer finding and the module
of the first frame outside the sanitizer runtime, the code that made the call the runtime
checked; each line says why. Everything else counts, UndefinedBehaviorSanitizer's findings
and reports this script cannot read included.

Usage: sanitizer_reports.py SUPPRESSIONS REPORT_FILE...
Frames must carry their module in braces (stack_trace_format='... {%m}')."""

import os
import re
import sys

SEPARATOR = re.compile(r"^=+\n", re.MULTILINE)
ERROR_HEADER = re.compile(r"^==\d+==ERROR: AddressSanitizer: ([\w-]+)", re.MULTILINE)
FRAME_MODULE = re.compile(r"^\s+#\d+ .*\{([^{}]*)\}$", re.MULTILINE)
RUNTIME_MODULES = ("libasan.", "libubsan.")


def read_suppressions(path):
    """(kind, module) pairs; a line without a reason is an error."""
    suppressions = []
    with open(path) as lines:
        for number, line in enumerate(lines, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = line.split(maxsplit=2)
            if len(fields) < 3:
                sys.exit(f"{path}:{number}: a suppression is a kind, a module and its reason")
            suppressions.append((fields[0], fields[1]))
    return suppressions


def calling_module(report):
    """The module of the first frame below the sanitizer runtime, or None."""
    for module in FRAME_MODULE.findall(report):
        name = os.path.basename(module)
        if not name.startswith(RUNTIME_MODULES):
            return name
    return None


def suppressed(report, suppressions):
    header = ERROR_HEADER.search(report)
    if not header:
        return False
    module = calling_module(report)
    return any(header.group(1) == kind and module and module.startswith(name)
               for kind, name in suppressions)


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    suppressions = read_suppressions(argv[1])
    findings = allowed = 0
    for path in argv[2:]:
        with open(path, errors="replace") as report_file:
            reports = [r for r in SEPARATOR.split(report_file.read()) if r.strip()]
        for report in reports:
            if suppressed(report, suppressions):
                allowed += 1
                continue
            findings += 1
            print(f"--- {os.path.basename(path)} ---\n{report}", file=sys.stderr)
    print(f"sanitizer reports: {findings} findings, {allowed} suppressed engine findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
