"""Frames that fail to load show the one-line error page inside the frame, and only there: no
other frame hears of the failure."""

import os
import re
import unittest

import harness
from facts import ERROR_PAGE, NAME_FAILURES
from loopback_server import LoopbackServer, Reply

UNRESOLVABLE = "http://no-such-host.invalid/"
PAGE = """<!DOCTYPE html><body>
<p id="own">the page's own text</p>
<iframe name="unresolvable" src="{unresolvable}"></iframe>
<iframe name="missing" src="missing.html"></iframe>
<iframe name="present" src="present.html"></iframe>
<iframe name="listener" src="{listener}"></iframe>
</body>"""
# A frame of another origin that writes down every message its window receives.
LISTENER = b"""<!DOCTYPE html><head><script>
window.addEventListener('message', event => {
  document.body.append(JSON.stringify([event.data, event.ports.length]) + ';');
});
</script></head><body></body>"""


class FrameErrorTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        server = LoopbackServer({"/listener.html": Reply(LISTENER, content_type="text/html")})
        server.__enter__()
        self.addCleanup(server.__exit__, None, None, None)
        with open(os.path.join(self.workdir, "frames.html"), "w") as page:
            page.write(PAGE.format(unresolvable=UNRESOLVABLE,
                                   listener=server.url("/listener.html")))
        with open(os.path.join(self.workdir, "present.html"), "w") as page:
            page.write("<p>present</p>")
        self.start_shell()
        self.open_page("/request.html").evaluate("location.href = 'frames.html'")
        self.page = self.open_page("/frames.html", harness.EVENT_TIMEOUT)

    def frame_html(self, name):
        """The body of the child frame with that name, read in a world of the test's own."""
        frames = self.page.call("Page.getFrameTree")["frameTree"].get("childFrames", [])
        frame_id = next(f["frame"]["id"] for f in frames if f["frame"].get("name") == name)
        context = self.page.call("Page.createIsolatedWorld", frameId=frame_id,
                                 worldName="test")["executionContextId"]
        return self.page.evaluate("document.body ? document.body.innerHTML : ''",
                                  contextId=context)

    def error_page_in(self, name):
        return harness.wait_for(f"the error page in frame {name}",
                                lambda: (lambda html: "Failed to load URL" in html and html)(
                                    self.frame_html(name)))

    def test_each_failing_frame_shows_its_error_and_the_rest_stays(self):
        html = self.error_page_in("unresolvable")
        code = int(re.search(r"\((-\d+)\)\.</h2>$", html).group(1))
        self.assertIn(code, NAME_FAILURES)
        self.assertEqual(html, ERROR_PAGE.format(url=UNRESOLVABLE, text=NAME_FAILURES[code],
                                                 code=code))

        missing = "file://" + os.path.join(self.workdir, "missing.html")
        self.assertEqual(self.error_page_in("missing"),
                         ERROR_PAGE.format(url=missing, text="net::ERR_FILE_NOT_FOUND", code=-6))

        self.assertEqual(self.frame_html("present"), "<p>present</p>")
        self.assertEqual(self.page.evaluate("document.getElementById('own').textContent"),
                         "the page's own text")
        self.assertEqual(self.page.evaluate("location.href"),
                         "file://" + os.path.join(self.workdir, "frames.html"))
        self.assertEqual(self.page.evaluate("document.querySelectorAll('iframe').length"), 4)

        # The other origin's frame heard nothing of either failure: only what is sent to it.
        self.page.evaluate("frames.listener.postMessage('control', '*')")
        self.assertEqual(harness.wait_for("the listener to hear the control message", lambda: (
            lambda heard: "control" in heard and heard)(self.frame_html("listener"))),
            '["control",0];')


if __name__ == "__main__":
    unittest.main()
