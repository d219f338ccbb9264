"""Downloads from a loopback web server of the test's own: progress in the shell's downloads
window, Cancel there, and nothing half-written under the name the user chose."""

import hashlib
import os
import unittest
import uuid

import harness
from downloads import DownloadTestCase
from facts import DOWNLOADS_TITLE
from loopback_server import GeneratedReply, Reply

BODY = bytes(range(256)) * 1024  # 256 KiB
FIRST_PART = 64 * 1024


def held_reply(name):
    """A reply that sends its first part, then waits for the test to finish or drop it."""
    return Reply(BODY, hold_after=FIRST_PART, attachment=name)


class DownloadTest(DownloadTestCase):

    def setUp(self):
        super().setUp()
        self.start()

    def wait_running(self, target, reply):
        reply.sent_first_part.wait(harness.EVENT_TIMEOUT)
        harness.wait_for(f"{target} to be under a temporary name",
                         lambda: self.partial_files(target))
        self.assertFalse(os.path.exists(target), "the name appears only with the whole file")

    def wait_whole(self, target):
        def whole():
            with open(target, "rb") as saved:
                return saved.read() == BODY
        harness.wait_for(f"all of {target}", whole)
        self.assertEqual(self.partial_files(target), [])

    def wait_nothing_left(self, target):
        harness.wait_for(f"the temporary file of {target} to go",
                         lambda: not self.partial_files(target))
        self.assertFalse(os.path.exists(target))
        self.assertEqual(os.listdir(self.folder), [])

    def test_a_download_gets_its_name_only_when_complete(self):
        server = self.serve({"/notes.bin": held_reply("notes.bin")})
        target = self.download(server, "/notes.bin")
        harness.wait_window(DOWNLOADS_TITLE, harness.EVENT_TIMEOUT)
        self.wait_running(target, server.routes["/notes.bin"])
        server.routes["/notes.bin"].finish()
        self.wait_whole(target)

    def test_a_cut_off_download_leaves_no_file(self):
        server = self.serve({"/cut.bin": held_reply("cut.bin")})
        target = self.download(server, "/cut.bin")
        self.wait_running(target, server.routes["/cut.bin"])
        server.routes["/cut.bin"].drop()
        self.wait_nothing_left(target)

    def test_two_downloads_at_once(self):
        server = self.serve({"/one.bin": held_reply("one.bin"), "/two.bin": held_reply("two.bin")})
        one = self.download(server, "/one.bin")
        self.wait_running(one, server.routes["/one.bin"])
        harness.run_tool("wmctrl", "-i", "-a", hex(self.main_window))
        two = self.download(server, "/two.bin")
        self.wait_running(two, server.routes["/two.bin"])
        self.assertTrue(self.partial_files(one), "the first still runs")
        server.routes["/two.bin"].finish()
        server.routes["/one.bin"].finish()
        self.wait_whole(one)
        self.wait_whole(two)

    def test_cancel_in_the_window_and_the_window_comes_back(self):
        server = self.serve({"/big.bin": held_reply("big.bin")})
        target = self.download(server, "/big.bin")
        self.wait_running(target, server.routes["/big.bin"])
        window = harness.wait_window(DOWNLOADS_TITLE, harness.EVENT_TIMEOUT)
        harness.run_tool("wmctrl", "-i", "-a", hex(window))
        harness.wait_for("the downloads window to be active",
                         lambda: harness.active_window() == window)
        harness.press_keys("space")  # the newest download's Cancel has the focus
        self.wait_nothing_left(target)

        harness.close_window(window)
        harness.wait_for("the downloads window to close",
                         lambda: not harness.visible_windows(DOWNLOADS_TITLE))
        self.assertIsNone(self.shell.popen.poll(), "closing it leaves the shell running")
        harness.run_tool("wmctrl", "-i", "-a", hex(self.main_window))
        harness.wait_for("the main window to be active",
                         lambda: harness.active_window() == self.main_window)
        harness.press_keys("ctrl+j")
        harness.wait_window(DOWNLOADS_TITLE, harness.EVENT_TIMEOUT)

    def test_closing_the_main_window_cancels_a_running_download(self):
        server = self.serve({"/late.bin": held_reply("late.bin")})
        target = self.download(server, "/late.bin")
        self.wait_running(target, server.routes["/late.bin"])
        harness.close_window(self.main_window)
        self.shell.popen.wait(harness.FIRST_LOAD_TIMEOUT)
        self.wait_nothing_left(target)


CGROUP_ROOT = "/sys/fs/cgroup"
MEMORY_LIMIT = 768 << 20
LARGE_SIZE = 1024 << 20  # more than the whole process tree may hold in memory
LARGE_DOWNLOAD_TIMEOUT = harness.scaled(150.0)


def write_setting(folder, name, value):
    with open(os.path.join(folder, name), "w") as setting:
        setting.write(str(value))


def memory_limited_group(limit):
    """A new memory cgroup (v2, else v1) limited to limit bytes; None where this machine does
    not let the test make one."""
    name = f"vintrel-e2e-{uuid.uuid4().hex[:12]}"
    try:
        with open(os.path.join(CGROUP_ROOT, "cgroup.controllers")) as controllers:
            unified = "memory" in controllers.read().split()
    except OSError:
        unified = False
    group = os.path.join(CGROUP_ROOT, name) if unified else os.path.join(CGROUP_ROOT, "memory",
                                                                          name)
    try:
        os.mkdir(group)
    except OSError:
        return None
    try:
        if unified:
            write_setting(group, "memory.max", limit)
            if os.path.exists(os.path.join(group, "memory.swap.max")):
                write_setting(group, "memory.swap.max", 0)
        else:
            write_setting(group, "memory.limit_in_bytes", limit)
    except OSError:
        os.rmdir(group)
        return None
    return group


class LargeDownloadTest(DownloadTestCase):

    def setUp(self):
        super().setUp()
        group = memory_limited_group(MEMORY_LIMIT)
        if group is None:
            self.skipTest("no memory cgroup can be made here")
        self.addCleanup(self.remove_group, group)
        launcher = os.path.join(self.root, "in-group.sh")
        with open(launcher, "w") as script:
            script.write(f"#!/bin/sh\necho $$ > '{group}/cgroup.procs' && exec '{self.executable}'\n")
        os.chmod(launcher, 0o755)
        self.start(launcher)

    @staticmethod
    def remove_group(group):
        harness.wait_for("the memory cgroup to empty", lambda: os.rmdir(group) or True)

    def test_a_file_larger_than_the_memory_limit_is_streamed_to_disk(self):
        server = self.serve({"/large.bin": GeneratedReply(LARGE_SIZE, "large.bin")})
        target = self.download(server, "/large.bin")
        harness.wait_for("the large download to complete",
                         lambda: os.path.exists(target) and not self.partial_files(target),
                         LARGE_DOWNLOAD_TIMEOUT)
        self.assertIsNone(self.shell.popen.poll(), "the shell lives on")
        self.assertEqual(os.path.getsize(target), LARGE_SIZE)
        expected, saved = hashlib.sha256(), hashlib.sha256()
        for chunk in GeneratedReply.chunks(LARGE_SIZE):
            expected.update(chunk)
        with open(target, "rb") as file:
            for chunk in iter(lambda: file.read(GeneratedReply.CHUNK), b""):
                saved.update(chunk)
        self.assertEqual(saved.hexdigest(), expected.hexdigest())


if __name__ == "__main__":
    unittest.main()
