"""The engine's sandbox around the processes that run pages: on as an ordinary user, with a
seccomp filter and namespaces of their own; off as root, where the engine refuses it, and then
said once; off when the user asks for it."""

import os
import shlex
import unittest

import harness
from facts import START_PAGE_TITLE

UNPRIVILEGED_ID = 65534  # nobody
SANDBOX_OFF_LINE = "vintrel: web pages run without the engine's sandbox"
SECCOMP_FILTER = "2"  # /proc/PID/status: a seccomp-bpf filter is installed
RENDERER_SWITCH = b"--type=renderer"
ZYGOTE_SWITCH = b"--type=zygote"
ENGINE_PARAMETER = "  *  "


def status_field(pid, name):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            if key == name:
                return value.strip()
    return None


def namespace(pid, kind):
    return os.readlink(f"/proc/{pid}/ns/{kind}")


def renderers(shell_pid):
    """The processes that run pages. The engine names them by their type once they run; until
    then they are copies of its zygote that already run threads (the zygote keeps one, to
    fork)."""
    found = []
    for pid in harness.descendants(shell_pid):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                switches = cmdline.read().replace(b"\0", b" ").split()
            threads = int(status_field(pid, "Threads"))
        except (OSError, TypeError, ValueError):
            continue  # gone meanwhile
        if RENDERER_SWITCH in switches or (ZYGOTE_SWITCH in switches and threads > 1):
            found.append(pid)
    return found


class SandboxTest(harness.ShellTestCase):

    def as_unprivileged_user(self):
        """A launcher that runs the shell as nobody, with a home of its own; the app folder
        stays root's, readable by all."""
        for folder in (self.home, os.path.join(self.root, "runtime")):
            for path, _, files in os.walk(folder):
                for name in [path, *(os.path.join(path, file) for file in files)]:
                    os.chown(name, UNPRIVILEGED_ID, UNPRIVILEGED_ID)
        os.chmod(self.root, 0o755)
        launcher = os.path.join(self.root, "launch.sh")
        with open(launcher, "w") as script:
            script.write(f"#!/bin/sh\nexec setpriv --reuid={UNPRIVILEGED_ID} "
                         f"--regid={UNPRIVILEGED_ID} --clear-groups "
                         f"{shlex.quote(self.executable)}\n")
        os.chmod(launcher, 0o755)
        return launcher

    def start_and_show_two_pages(self, **start):
        """Starts the shell with the start page and a popup of another page of the app; returns
        the processes that run them, once each page's script has run."""
        self.start_shell(**start)
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("document.title"), START_PAGE_TITLE)
        page.evaluate("window.open('frame.html', '_blank', 'popup'); true")
        popup = self.open_page("/frame.html")
        harness.wait_for("the popup's document", lambda: popup.evaluate(
            "document.readyState === 'complete'"))
        return harness.wait_for("the pages' processes", lambda: renderers(self.shell.popen.pid))

    def sandbox_lines(self):
        """What the shell and the engine said about the sandbox, apart from the engine's list of
        its start parameters."""
        with open(os.path.join(self.root, "shell.log"), errors="replace") as log:
            return [line for line in log
                    if "sandbox" in line.lower() and not line.startswith(ENGINE_PARAMETER)]

    def test_as_an_ordinary_user_every_page_runs_in_the_sandbox(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to become another user")
        pages = self.start_and_show_two_pages(executable=self.as_unprivileged_user())
        shell_pid = self.shell.popen.pid
        for pid in pages:
            with self.subTest(renderer=pid):
                self.assertEqual(status_field(pid, "Seccomp"), SECCOMP_FILTER)
                for kind in ("user", "pid"):
                    self.assertNotEqual(namespace(pid, kind), namespace(shell_pid, kind), kind)
        self.assertEqual(self.sandbox_lines(), [])

    def test_the_user_may_turn_the_sandbox_off(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to become another user")
        pages = self.start_and_show_two_pages(executable=self.as_unprivileged_user(),
                                              extra_env={"QTWEBENGINE_DISABLE_SANDBOX": "1"})
        for pid in pages:
            self.assertEqual(status_field(pid, "Seccomp"), "0")
        self.assertNotIn(SANDBOX_OFF_LINE, "".join(self.sandbox_lines()), "the user knows")

    def test_as_root_pages_run_unsandboxed_and_one_line_says_so(self):
        if os.geteuid() != 0:
            self.skipTest("runs as root only")
        for pid in self.start_and_show_two_pages():
            self.assertEqual(status_field(pid, "Seccomp"), "0")
        lines = self.sandbox_lines()
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].startswith(SANDBOX_OFF_LINE), lines)


if __name__ == "__main__":
    unittest.main()
