"""What a local page may reach on the disk: the app's own files, by any route, but nothing
outside the app's folder (every route to the outside is tried in test_file_routes)."""

import json
import os
import unittest

import harness
from loopback_server import LoopbackServer

SECRET = "not for pages"
APP_PAGE = """<!DOCTYPE html>
<link rel="stylesheet" href="own.css">
<script src="own.js"></script>
<img id="image" src="own.svg">
<iframe id="frame" src="own-frame.html"></iframe>
"""
APP_FILES = {
    "own.css": "body { margin-left: 17px; }",
    "own.js": "window.ownScriptRan = true;",
    "own.svg": '<svg xmlns="http://www.w3.org/2000/svg" width="7" height="5"/>',
    "own-frame.html": "<p id='inside'>own frame</p>",
}
# A script's way to read a file, resolving to what it read or to 'refused'.
READS = {
    "fetch": "fetch(%s).then(reply => reply.text(), () => 'refused')",
    "synchronous XHR": """(() => {
        const request = new XMLHttpRequest();
        try { request.open('GET', %s, false); request.send(); } catch (e) { return 'refused'; }
        return request.responseText || 'refused';
    })()""",
    "asynchronous XHR": """new Promise(done => {
        const request = new XMLHttpRequest();
        request.onload = () => done(request.responseText || 'refused');
        request.onerror = () => done('refused');
        request.open('GET', %s);
        request.send();
    })""",
    # Pages may frame their own files; a frame from outside the folder must not come in.
    "frame": """new Promise(done => {
        const frame = document.createElement('iframe');
        frame.onload = () => {
            let text = 'refused';
            try { text = frame.contentDocument.body.textContent || 'refused'; } catch (e) {}
            done(text);
        };
        frame.src = %s;
        document.body.appendChild(frame);
    })""",
}


class LocalFilesTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        for name, text in dict(APP_FILES, **{"local.html": APP_PAGE}).items():
            with open(os.path.join(self.workdir, name), "w") as file:
                file.write(text)
        self.secret = os.path.join(self.root, "secret.txt")  # beside the app folder, not in it
        with open(self.secret, "w") as file:
            file.write(SECRET)
        os.symlink(self.secret, os.path.join(self.workdir, "link-to-secret.txt"))
        self.start_shell()
        self.open_page("/request.html").evaluate("location.href = 'local.html'")
        self.page = self.open_page("/local.html", harness.EVENT_TIMEOUT)

    def read(self, how, url):
        return self.page.evaluate(READS[how] % json.dumps(url))

    def test_scripts_read_only_the_apps_own_files(self):
        urls = {"outside the app folder": "file://" + self.secret,
                "a link in the app folder": "file://" + self.workdir + "/link-to-secret.txt",
                "a system file": "file:///etc/hostname"}
        for how in ("fetch", "synchronous XHR", "asynchronous XHR"):
            for where, url in urls.items():
                with self.subTest(how=how, where=where):
                    self.assertEqual(self.read(how, url), "refused")
            with self.subTest(how=how, where="the app's own file"):
                self.assertEqual(self.read(how, "own.css"), APP_FILES["own.css"])
        for where, url in urls.items():
            with self.subTest(how="frame", where=where):
                self.assertEqual(self.read("frame", url), "refused")

    def test_the_apps_own_files_load_from_disk(self):
        self.assertIs(self.page.evaluate("window.ownScriptRan"), True)
        self.assertEqual(self.page.evaluate("getComputedStyle(document.body).marginLeft"), "17px")
        self.assertEqual(self.page.evaluate("document.getElementById('image').naturalWidth"), 7)
        self.assertEqual(self.page.evaluate(
            "document.getElementById('frame').contentDocument.getElementById('inside').textContent"),
            "own frame")
        self.assertEqual(self.read("frame", "own-frame.html"), "own frame")

    def test_web_addresses_stay_within_reach(self):
        with LoopbackServer({"/data": b"from the web"}) as server:
            self.assertEqual(self.read("fetch", server.url("/data")), "from the web")
            self.assertEqual(self.read("synchronous XHR", server.url("/data")), "from the web")


if __name__ == "__main__":
    unittest.main()
