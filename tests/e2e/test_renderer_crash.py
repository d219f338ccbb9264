"""A renderer that dies: the page comes back, a few times in a row, then the shell's own
page that says it stopped; "Refresh" always brings the page back."""

import os
import signal
import subprocess
import unittest

import harness
from facts import MAIN_TITLE, START_PAGE_TITLE

MENU_SPOT = (700, 700)  # blank page, clear of the stopped page's text
STOPPED_PAGE_BACKGROUND = "FFFFFF"  # the engine's default: the stopped page sets none


def parent_pid(pid):
    with open(f"/proc/{pid}/stat") as stat:
        return int(stat.read().rsplit(")", 1)[1].split()[1])


def renderers(shell_pid):
    """Renderers are forked from the engine's zygote: the shell's grandchildren."""
    found = []
    for pid in harness.descendants(shell_pid):
        try:
            if parent_pid(pid) != shell_pid:
                found.append(pid)
        except OSError:
            pass
    return found


class RendererCrashTest(harness.ShellTestCase):

    def kill_renderers(self):
        victims = harness.wait_for("a renderer", lambda: renderers(self.shell.popen.pid))
        for pid in victims:
            os.kill(pid, signal.SIGKILL)
        harness.wait_for("the renderer to die", lambda: not any(harness.alive(p) for p in victims))

    def page_title(self):
        """The loaded start page's title, or None while there is none to read."""
        target = self.devtools.page_with_url("/request.html")
        if not target:
            return None
        try:
            with harness.DevToolsPage(target["webSocketDebuggerUrl"]) as page:
                return page.evaluate("document.readyState === 'complete' && document.title")
        except (harness.DevToolsError, OSError):
            return None

    def test_the_page_comes_back_then_the_stopped_page_then_refresh_restores_it(self):
        self.start_shell()
        self.open_page("/request.html")
        window = harness.wait_window(MAIN_TITLE)
        for attempt in range(3):
            self.kill_renderers()
            harness.wait_for(f"the page back after crash {attempt + 1}",
                             lambda: self.page_title() == START_PAGE_TITLE,
                             harness.FIRST_LOAD_TIMEOUT)
        self.kill_renderers()
        harness.wait_for("the shell's stopped page",
                         lambda: self.page_title() == "Page stopped", harness.FIRST_LOAD_TIMEOUT)
        self.assertIsNone(self.shell.popen.poll())

        harness.open_context_menu(MENU_SPOT, STOPPED_PAGE_BACKGROUND, self.root)
        harness.press_keys("Down", "Return")  # "Refresh"
        harness.wait_for("the page back after Refresh",
                         lambda: self.page_title() == START_PAGE_TITLE, harness.FIRST_LOAD_TIMEOUT)

        harness.close_window(window)
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its window closed")


if __name__ == "__main__":
    unittest.main()
