"""The test case the download tests share: the shell started on the example, a loopback server
of the test's own, and downloads accepted through the save dialog."""

import glob
import os

import harness
from facts import MAIN_TITLE
from loopback_server import LoopbackServer


class DownloadTestCase(harness.ShellTestCase):
    """Starting downloads through the save dialog and watching what they leave on disk."""

    def setUp(self):
        super().setUp()
        self.folder = os.path.join(self.home, "Downloads")  # where the save dialog starts
        self.page = self.main_window = None

    def start(self, executable=None):
        self.start_shell(executable=executable)
        self.page = self.open_page("/request.html")
        self.main_window = harness.wait_window(MAIN_TITLE)

    def serve(self, routes):
        server = LoopbackServer(routes)
        server.__enter__()
        self.addCleanup(server.__exit__, None, None, None)
        return server

    def download(self, server, path):
        """Starts the download at path and accepts the save dialog as offered; returns the
        path the file is to have."""
        known = set(harness.managed_windows())
        self.page.evaluate(f"location.href = {server.url(path)!r}")
        dialog = harness.wait_for("the save dialog", lambda: next(
            (window for window in harness.managed_windows() if window not in known), None))
        harness.wait_for("the save dialog to be active", lambda: harness.active_window() == dialog)
        harness.press_keys("Return")
        harness.wait_for("the save dialog to close",
                         lambda: dialog not in harness.managed_windows())
        return os.path.join(self.folder, server.routes[path].attachment)

    @staticmethod
    def partial_files(target):
        """What the download holds beside its target while it runs."""
        folder, name = os.path.split(target)
        return glob.glob(os.path.join(glob.escape(folder), "." + glob.escape(name) + ".*.part"))
