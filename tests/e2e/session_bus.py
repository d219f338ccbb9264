"""A session bus of the caller's own, as a desktop session gives every program."""

import os
import subprocess


def start_session_bus():
    """Starts dbus-daemon on a session bus; returns (process, address) once it accepts
    clients."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_end}"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as address_line:
        address = address_line.readline().strip()  # written once the bus accepts clients
    if not address:
        process.kill()
        process.wait()
        raise RuntimeError("the session bus did not start")
    return process, address
