"""A server names its download: whatever the name holds (a path, control characters, a leading
dot, more than the file system takes), the save dialog offers a plain name in the downloads
folder, and Enter saves the file there under it and nowhere else."""

import os
import unittest
import urllib.parse

import harness
from loopback_server import Reply
from downloads import DownloadTestCase

CONTENT = b"saved where the user looks"
MAX_NAME_BYTES = 255


class SuggestedNameReply(Reply):
    """A whole attachment whose server suggests a name, in the form that carries any character;
    attachment is the name it is expected to be saved under."""

    def __init__(self, suggested, saved_as):
        super().__init__(CONTENT, attachment=saved_as)
        self.suggested = suggested

    def headers(self):
        headers = super().headers()
        headers["Content-Disposition"] = ("attachment; filename*=UTF-8''" +
                                          urllib.parse.quote(self.suggested, safe=""))
        return headers


class DownloadNamesTest(DownloadTestCase):

    def test_hostile_suggested_names_are_saved_under_a_plain_name_in_the_offered_folder(self):
        outside = os.path.join(self.root, "outside")
        os.mkdir(outside)
        names = {  # suggested: saved as
            "../../../outside/relative.txt": "relative.txt",
            os.path.join(outside, "absolute.txt"): "absolute.txt",
            "..\\..\\..\\outside\\backslashes.txt": "backslashes.txt",
            ".profile": "profile",
            " . ..dots": "dots",
            "bell\a escape\x1b new\nline\r.txt": "bell escape newline.txt",
            "invoice\u202efdp.exe": "invoicefdp.exe",
            "b" * 245: "b" * 245,
            "c" * 300 + ".txt": "c" * (MAX_NAME_BYTES - len(".txt")) + ".txt",
            "日" * 100: "日" * (MAX_NAME_BYTES // len("日".encode())),
        }
        server = self.serve({f"/{number}": SuggestedNameReply(suggested, saved_as)
                             for number, (suggested, saved_as) in enumerate(names.items())})
        self.start()
        for path in server.routes:
            with self.subTest(suggested=server.routes[path].suggested):
                harness.run_tool("wmctrl", "-i", "-a", hex(self.main_window))
                target = self.download(server, path)
                harness.wait_for(f"{target!r} to be whole", lambda: self.saved(target))
                self.assertEqual(self.partial_files(target), [])
        self.assertEqual(sorted(os.listdir(self.folder)), sorted(names.values()))
        self.assertEqual(os.listdir(outside), [])

    @staticmethod
    def saved(target):
        with open(target, "rb") as file:
            return file.read() == CONTENT


if __name__ == "__main__":
    unittest.main()
