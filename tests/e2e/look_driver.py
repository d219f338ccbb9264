"""The shell with its command channel (look_driver.cpp), started for a test: for the frame's
commands that no user input reaches, and for input on platforms where no tool here can inject
any."""

import os
import queue
import subprocess
import threading

import harness


class LookDriver:
    """The shell with its command channel (look_driver.cpp): lines in, reports out."""

    def __init__(self, test, extra_env=None, args=()):
        executable = os.path.join(os.path.dirname(test.executable), "vintrel_look_driver")
        env = harness.program_environment(test.root, test.home)
        env.update(extra_env or {})
        with open(os.path.join(test.root, "shell.log"), "ab") as log:
            popen = subprocess.Popen([executable, *args], cwd=test.workdir, env=env,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=log, text=True, bufsize=1)
        self.shell = harness.ShellProcess(popen)
        test.addCleanup(popen.stdin.close)
        test.addCleanup(self.shell.stop)
        self._reports = queue.Queue()
        threading.Thread(target=self._read_reports, args=(popen.stdout,), daemon=True).start()

    def _read_reports(self, stream):
        with stream:  # until the shell and every sub-process holding it have ended
            for line in stream:
                self._reports.put(line.strip())

    def report(self, prefix, timeout=harness.EVENT_TIMEOUT):
        """The next report line that starts with prefix."""
        while True:
            try:
                line = self._reports.get(timeout=timeout)
            except queue.Empty:
                raise harness.Deadline(f"no report '{prefix}...' within {timeout:.0f} s")
            if line.startswith(prefix):
                return line

    def send(self, line):
        """Sends a command line; returns its report."""
        self.shell.popen.stdin.write(line + "\n")
        self.shell.popen.stdin.flush()
        return self.report(f"done {line}")
