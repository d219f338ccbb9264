"""Asked to terminate, the shell ends the way closing its window does."""

import os
import signal
import subprocess
import unittest

import harness


class TerminationSignalTest(harness.ShellTestCase):

    def test_sigterm_and_sigint_end_everything_and_the_next_start_uses_the_same_cache(self):
        for number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=number.name):
                self.start_shell()
                page = self.open_page("/request.html")
                page.evaluate("localStorage.setItem('runs', "
                              "String(Number(localStorage.getItem('runs')) + 1))")
                engine = self.shell.engine_processes()
                self.assertTrue(engine)
                os.kill(self.shell.popen.pid, number)
                try:
                    self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
                except subprocess.TimeoutExpired:
                    self.fail(f"still running after {number.name}")
                harness.wait_for("every engine sub-process to end",
                                 lambda: not any(harness.alive(pid) for pid in engine))
        # Both runs stored into the one cache folder the shell keeps in the working directory.
        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("localStorage.getItem('runs')"), "2")


if __name__ == "__main__":
    unittest.main()
