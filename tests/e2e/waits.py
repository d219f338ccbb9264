"""Waiting with deadlines: how long the end-to-end tests give each kind of event, and the one
polling loop they all use.

A wait ends on what the program reports; its limit only tells a fault from a slow machine, so
every limit is the one measured on a quiet machine times TIMEOUT_SCALE: the factor asked for in
VINTREL_TIMEOUT_SCALE (the sanitizer tree's tests ask for one, and get as much more time in
CTest), times 1 plus the load other programs put on each core when the test starts (at most 2)."""

import os
import subprocess
import time


MAX_LOAD_FACTOR = 2.0  # keeps the longest limit inside the test's own time limit in CTest


def _load_factor():
    """1 plus the processes other programs keep ready to run, per core: the most of the last
    minute's average and of those running now, the reading process left out; at most
    MAX_LOAD_FACTOR."""
    with open("/proc/loadavg") as loadavg:
        fields = loadavg.read().split()
    others = max(float(fields[0]), int(fields[3].split("/")[0]) - 1)
    return min(MAX_LOAD_FACTOR, 1.0 + others / (os.cpu_count() or 1))


def _asked_factor():
    try:
        return max(1.0, float(os.environ.get("VINTREL_TIMEOUT_SCALE", "1")))
    except ValueError:
        return 1.0


TIMEOUT_SCALE = _asked_factor() * _load_factor()


def scaled(seconds):
    """A limit measured on a quiet machine, for this run."""
    return seconds * TIMEOUT_SCALE


FIRST_LOAD_TIMEOUT = scaled(30.0)  # first window and page: >10x the slowest start seen quiet
EVENT_TIMEOUT = scaled(10.0)  # an effect of one action
EXIT_TIMEOUT = scaled(5.0)  # process and engine children gone after the main window closes
STOP_TIMEOUT = scaled(5.0)  # grace period for a process asked to stop before it is killed


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
