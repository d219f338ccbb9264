"""An application installed where its user cannot write: what its pages store is kept in the
user's own cache folder, survives a restart, and is never shared with another application."""

import os
import shlex
import shutil
import stat
import subprocess
import unittest

import harness
from facts import MAIN_TITLE

UNPRIVILEGED = 65534  # nobody: root writes anywhere, so the user must be someone else
STORED = "localStorage.getItem('note')"


class UserStorageTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        # The user may pass through the test's folders but owns only its home.
        os.chmod(self.root, 0o755)
        os.chown(self.home, UNPRIVILEGED, UNPRIVILEGED)
        self.user_runtime = os.path.join(self.root, "user-runtime")
        os.makedirs(self.user_runtime, mode=0o700)
        os.chown(self.user_runtime, UNPRIVILEGED, UNPRIVILEGED)

    def installed_app(self, name):
        """A copy of the example pages, owned by root and only readable by the user."""
        folder = os.path.join(self.root, name)
        shutil.copytree(self.workdir, folder)
        for parent, folders, files in os.walk(folder):
            for entry in folders + files:
                os.chmod(os.path.join(parent, entry),
                         0o755 if entry in folders else 0o644)
        os.chmod(folder, 0o755)
        return folder

    def start_as_user(self, app_folder):
        launch = os.path.join(self.root, "launch-as-user.sh")
        with open(launch, "w") as script:
            script.write("#!/bin/sh\nexec setpriv --reuid={0} --regid={0} --clear-groups "
                         "env XDG_RUNTIME_DIR={1} {2}\n".format(
                             UNPRIVILEGED, shlex.quote(self.user_runtime),
                             shlex.quote(self.executable)))
        os.chmod(launch, 0o755)
        self.workdir = app_folder
        self.start_shell(executable=launch)
        return self.open_page("/request.html")

    def close(self):
        harness.close_window(harness.wait_window(MAIN_TITLE))
        try:
            self.assertEqual(self.shell.popen.wait(harness.EXIT_TIMEOUT), 0)
        except subprocess.TimeoutExpired:
            self.fail("the shell still runs after its window closed")

    def test_storage_survives_a_restart_and_stays_apart_per_application(self):
        first, second = self.installed_app("first app"), self.installed_app("second app")

        page = self.start_as_user(first)
        self.assertIsNone(page.evaluate(STORED))
        page.evaluate("localStorage.setItem('note', 'kept by the first app')")
        self.close()
        self.assertFalse(os.path.exists(os.path.join(first, "cache")))
        user_caches = os.path.join(self.home, ".cache", "vintrel")
        [kept] = os.listdir(user_caches)
        self.assertEqual(stat.S_IMODE(os.stat(os.path.join(user_caches, kept)).st_mode), 0o700)

        page = self.start_as_user(first)
        self.assertEqual(page.evaluate(STORED), "kept by the first app")
        self.close()

        page = self.start_as_user(second)
        self.assertIsNone(page.evaluate(STORED))
        page.evaluate("localStorage.setItem('note', 'kept by the second app')")
        self.close()
        self.assertEqual(len(os.listdir(user_caches)), 2)

        page = self.start_as_user(first)
        self.assertEqual(page.evaluate(STORED), "kept by the first app")
        self.close()


if __name__ == "__main__":
    unittest.main()
