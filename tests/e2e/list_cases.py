"""Prints every end-to-end case as unittest would run it, one per line: the module's file name,
then Class.method. CMake registers one test per line, so a new test method runs without being
listed anywhere."""

import os
import sys
import unittest


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, here)
    sys.dont_write_bytecode = True  # runs at configure time: leave the source tree as it is
    loader = unittest.TestLoader()
    for file_name in sorted(os.listdir(here)):
        if not (file_name.startswith("test_") and file_name.endswith(".py")):
            continue
        module = __import__(file_name[:-3])
        for case in cases(loader.loadTestsFromModule(module)):
            print(file_name, f"{type(case).__name__}.{case._testMethodName}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
