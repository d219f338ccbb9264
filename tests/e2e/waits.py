"""Waiting with deadlines: how long the end-to-end tests give each kind of event, and the one
polling loop they all use."""

import subprocess
import time

FIRST_LOAD_TIMEOUT = 30.0  # first window and page: >10x the slowest start seen with busy cores
EVENT_TIMEOUT = 10.0  # an effect of one action
EXIT_TIMEOUT = 5.0  # process and engine children gone after the main window closes
STOP_TIMEOUT = 5.0  # grace period for a process asked to stop before it is killed


class Deadline(Exception):
    """A condition did not come true in time; the message names the condition."""


class NotYet(Exception):
    """Raised by a probe whose answer is not there yet: wait_for asks again."""


def wait_for(what, probe, timeout=EVENT_TIMEOUT, interval=0.05):
    """Polls probe() until it returns something truthy, and returns that; raises Deadline."""
    end = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except (OSError, NotYet, subprocess.CalledProcessError):
            value = None
        if value:
            return value
        if time.monotonic() >= end:
            raise Deadline(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)
