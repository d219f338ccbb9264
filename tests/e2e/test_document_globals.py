"""The shell's globals in every kind of new document, read by that document's first script."""

import json
import os
import unittest

import harness
from facts import APP_VERSION

GLOBALS = [APP_VERSION, "pavonix"]
READ = "[window.appVersion, window.pavonix]"
# Each page's first script records what it saw at top.seen[kind].
RECORD = "<script>top.seen = top.seen || {}; top.seen[%r] = " + READ + ";</script>"
PAGES = {
    "kinds.html": """<!DOCTYPE html><body>
<iframe id="parsed"></iframe>
<script>
  top.seen = top.seen || {};
  top.seen['parser-made blank frame'] = [frames[0].appVersion, frames[0].pavonix];
</script>
<iframe srcdoc="%s"></iframe>
<iframe src="level1.html"></iframe>
<script>
  const blank = document.createElement('iframe');
  document.body.appendChild(blank);
  top.seen = top.seen || {};
  top.seen['script-made blank frame'] = [blank.contentWindow.appVersion,
                                         blank.contentWindow.pavonix];
  blank.contentDocument.write(%s);
  blank.contentDocument.close();
  delete blank.contentWindow.pavonix;
  top.seen['after a delete'] = typeof blank.contentWindow.pavonix;
</script>
</body>""" % (RECORD.replace("'", "&#39;") % "srcdoc frame",
              json.dumps(RECORD % "script written into a blank frame").replace("/", "\\/")),
    "level1.html": "<iframe src='level2.html'></iframe>",
    "level2.html": RECORD % "frame two levels down",
    "opened.html": "<!DOCTYPE html>" + RECORD.replace("top.seen", "window.seen") % "popup",
    "reopened.html": """<!DOCTYPE html><script>
  document.open();
  document.write(%s);
  document.close();
</script>""" % json.dumps(RECORD % "after document.open()").replace("/", "\\/"),
}


class DocumentGlobalsTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        for name, text in PAGES.items():
            with open(os.path.join(self.workdir, name), "w") as page:
                page.write(text)
        self.start_shell()
        self.start_page = self.open_page("/request.html")

    def seen_in(self, page, kinds):
        return harness.wait_for(
            f"the first scripts of {kinds}",
            lambda: page.evaluate(f"window.seen && {kinds!r}.every(k => k in window.seen)"
                                  " && window.seen"))

    def test_frames_of_every_kind_see_the_globals_in_their_first_script(self):
        self.start_page.evaluate("location.href = 'kinds.html'")
        page = self.open_page("/kinds.html", harness.EVENT_TIMEOUT)
        kinds = ["parser-made blank frame", "srcdoc frame", "frame two levels down",
                 "script-made blank frame", "script written into a blank frame"]
        seen = self.seen_in(page, kinds)
        for kind in kinds:
            with self.subTest(kind=kind):
                self.assertEqual(seen[kind], GLOBALS)
        # What a document does to its globals stays, however its frame is reached later.
        self.assertEqual(seen["after a delete"], "undefined")

    def test_a_document_after_document_open_sees_the_globals(self):
        self.start_page.evaluate("location.href = 'reopened.html'")
        page = self.open_page("/reopened.html", harness.EVENT_TIMEOUT)
        self.assertEqual(self.seen_in(page, ["after document.open()"])["after document.open()"],
                         GLOBALS)

    def test_popups_see_the_globals_in_their_first_script(self):
        self.start_page.evaluate("void window.open('opened.html', '_blank', 'width=400,height=300')",
                                 userGesture=True)
        popup = self.open_page("/opened.html", harness.EVENT_TIMEOUT)
        self.assertEqual(self.seen_in(popup, ["popup"])["popup"], GLOBALS)
        # A popup on no address at all holds a blank document its opener reads at once.
        self.assertEqual(self.start_page.evaluate(
            "(() => { const w = window.open('', 'blank-popup', 'width=300,height=200');"
            " return [w.appVersion, w.pavonix]; })()", userGesture=True), GLOBALS)


if __name__ == "__main__":
    unittest.main()
