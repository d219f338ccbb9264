"""Processes started by the end-to-end tests, and the engine sub-processes below them."""

import contextlib
import os
import signal
import subprocess

from waits import STOP_TIMEOUT


def stop_process(process, timeout=STOP_TIMEOUT):
    """SIGTERM, then SIGKILL after the grace period; reaps the process."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def process_exe(pid):
    try:
        return os.readlink(f"/proc/{pid}/exe")
    except OSError:
        return None


def descendants(pid):
    """Pids of every live process below pid."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                # The command name may hold spaces and parentheses: split after its last ')'.
                parent = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, pending = [], [pid]
    while pending:
        for child in children.get(pending.pop(), []):
            found.append(child)
            pending.append(child)
    return found


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class ShellProcess:
    """One run of the shell and the engine sub-processes seen below it."""

    def __init__(self, popen):
        self.popen = popen
        self._seen = {}

    def engine_processes(self):
        """The sub-processes now, as {pid: executable}; remembered for stop()."""
        processes = {pid: process_exe(pid) for pid in descendants(self.popen.pid)}
        self._seen.update(processes)
        return processes

    def stop(self):
        """Stops the shell if it still runs, and any sub-process it left behind."""
        if self.popen.poll() is None:
            self.engine_processes()
        stop_process(self.popen)
        for pid, exe in self._seen.items():
            if alive(pid) and process_exe(pid) == exe:  # not a new process under a reused pid
                with contextlib.suppress(OSError):
                    os.kill(pid, signal.SIGKILL)
