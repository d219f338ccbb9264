"""The shell started from odd places: a working directory with an awkward, long name, one that
cannot be written, no usable home folder, no start page. Each time the user sees the start page
or the load-error page in the main window, and closing it ends the shell with status 0."""

import contextlib
import os
import shlex
import shutil
import subprocess
import unittest

import harness
from facts import APP_VERSION, ERROR_PAGE, MAIN_TITLE, SETTINGS, START_PAGE_TITLE

# Spaces, URL delimiters and non-ASCII letters in one folder name.
ODD_NAME = "odd name #1 100% ünïcødé 日本語"
LONG_PATH = 300


class OddPlacesTest(harness.ShellTestCase):

    def launcher(self, script):
        """An executable script of one line that starts the shell in its own way."""
        path = os.path.join(self.root, "launch.sh")
        with open(path, "w") as launch:
            launch.write(f"#!/bin/sh\n{script}\n")
        os.chmod(path, 0o755)
        return path

    def read_only_launcher(self, folder, arguments=()):
        """Runs the shell with folder read-only for it. root writes anywhere, so a mount
        namespace of its own gets a read-only view of the folder."""
        shell = " ".join(shlex.quote(word) for word in (self.executable, *arguments))
        if os.geteuid() != 0:
            os.chmod(folder, 0o555)
            self.addCleanup(os.chmod, folder, 0o755)
            return self.launcher(f"exec {shell}")
        # cd again after the mount, or the working directory stays on the writable view.
        return self.launcher(f"exec unshare -m sh -c 'mount --bind -o ro \"$1\" \"$1\" && "
                             f"cd \"$(pwd -P)\" && shift && exec \"$@\"' sh {shlex.quote(folder)} "
                             f"{shell}")

    def shows_start_page(self):
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("document.title"), START_PAGE_TITLE)
        # The page's own script and the shell's binding both ran.
        self.assertEqual(page.evaluate("document.getElementById('version').textContent"),
                         "Vintrel " + APP_VERSION)
        return page

    def closes_cleanly(self):
        """Closes the one main window; the shell must end with status 0, having shown nothing
        else."""
        window = harness.wait_window(MAIN_TITLE)
        self.assertEqual(list(harness.managed_windows()), [window])
        harness.close_window(window)
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its window closed")

    def test_a_working_directory_with_odd_characters_and_a_long_path(self):
        folder = os.path.join(self.root, ODD_NAME)
        while len(folder) <= LONG_PATH:
            folder = os.path.join(folder, ODD_NAME)
        shutil.move(self.workdir, folder)
        self.workdir = folder

        self.start_shell()
        page = self.shows_start_page()
        self.assertEqual(page.evaluate("decodeURIComponent(location.pathname)"),
                         os.path.join(folder, "request.html"))
        harness.wait_for("the cache folder", lambda: os.listdir(os.path.join(folder, "cache")))
        self.closes_cleanly()

    def test_a_read_only_working_directory(self):
        self.start_shell(executable=self.read_only_launcher(self.workdir))
        self.shows_start_page()
        self.assertFalse(os.path.exists(os.path.join(self.workdir, "cache")))
        self.closes_cleanly()

    def document(self):
        """A document to name on the command line: it joins the recent-file list, which is
        saved at exit."""
        path = os.path.join(self.workdir, "notes.txt")
        open(path, "w").close()
        return path

    def test_no_home_folder(self):
        # Without a home the toolkit would put settings under the file-system root.
        stray = os.path.join("/", SETTINGS)
        self.assertFalse(os.path.exists(stray))
        document = self.document()
        self.start_shell(executable=self.launcher(
            f"exec env -u HOME -u XDG_CONFIG_HOME {shlex.quote(self.executable)} "
            f"{shlex.quote(document)}"))
        self.shows_start_page()
        self.closes_cleanly()
        written = os.path.exists(stray)
        if written:
            os.remove(stray)
            with contextlib.suppress(OSError):
                os.removedirs(os.path.dirname(stray))
        self.assertFalse(written, f"settings written to {stray}")

    def test_a_read_only_home_folder(self):
        # A writable home first shows that the save is attempted.
        document = self.document()
        self.start_shell(executable=self.launcher(
            f"exec {shlex.quote(self.executable)} {shlex.quote(document)}"))
        self.shows_start_page()
        self.closes_cleanly()
        settings = os.path.join(self.home, SETTINGS)
        with open(settings) as saved:
            self.assertIn(document, saved.read())
        os.remove(settings)

        self.start_shell(executable=self.read_only_launcher(self.home, [document]))
        self.shows_start_page()
        self.closes_cleanly()
        self.assertFalse(os.path.exists(settings))

    def test_no_start_page(self):
        os.remove(os.path.join(self.workdir, "request.html"))
        self.start_shell()
        page = self.open_page("/request.html")
        url = "file://" + os.path.join(self.workdir, "request.html")
        harness.wait_for("the error page", lambda: page.evaluate("document.body.innerHTML") ==
                         ERROR_PAGE.format(url=url, text="net::ERR_FILE_NOT_FOUND", code=-6))
        self.closes_cleanly()


if __name__ == "__main__":
    unittest.main()
