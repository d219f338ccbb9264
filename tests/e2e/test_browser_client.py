"""What the web app meets inside the browser: the load-error page and the right-click menu
with the developer tools."""

import os
import re
import unittest

import harness
from facts import (APP_VERSION, DEVTOOLS_TITLE, ERROR_PAGE, MAIN_TITLE, NAME_FAILURES,
                   PAGE_BACKGROUND)

MENU_SPOT = (700, 700)  # plain page background in the maximised window
MENU_ROW_WIDTH = 40  # pixels read across a menu's item, from its left edge


class LoadErrorPageTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.start_shell()
        self.page = self.open_page("/request.html")

    def navigate(self, url):
        self.page.evaluate(f"location.href = {url!r}")

    def error_page(self, url_suffix):
        page = self.open_page(url_suffix, harness.EVENT_TIMEOUT)
        harness.wait_for("the error page",
                         lambda: "Failed to load URL" in page.evaluate("document.body.innerHTML"))
        return page

    def test_an_address_that_does_not_resolve_shows_the_one_line_page(self):
        url = "http://no-such-host.invalid/"
        self.navigate(url)
        page = self.error_page("no-such-host.invalid/")
        html = page.evaluate("document.body.innerHTML")
        code = int(re.search(r"\((-\d+)\)\.</h2>$", html).group(1))
        self.assertIn(code, NAME_FAILURES)
        self.assertEqual(html, ERROR_PAGE.format(url=url, text=NAME_FAILURES[code], code=code))
        # Found under the failed address, but of no origin that the failed site's pages share.
        self.assertEqual(page.evaluate("self.origin"), "null")

    def test_an_address_cannot_change_its_own_reading_direction(self):
        self.navigate("http://no-such-host.invalid/invoice\u202efdp.exe")
        html = self.error_page("fdp.exe").evaluate("document.body.innerHTML")
        self.assertIn(" http://no-such-host.invalid/invoice%E2%80%AEfdp.exe with error ", html)
        self.assertNotIn("\u202e", html)

    def test_a_missing_file_shows_the_one_line_page(self):
        url = "file://" + os.path.join(self.workdir, "missing.html")
        self.navigate(url)
        page = self.error_page("/missing.html")
        self.assertEqual(page.evaluate("document.body.innerHTML"),
                         ERROR_PAGE.format(url=url, text="net::ERR_FILE_NOT_FOUND", code=-6))


class ScriptBindingTest(harness.ShellTestCase):

    def test_first_script_sees_the_globals_and_the_next_document_gets_them_back(self):
        with open(os.path.join(self.workdir, "binding.html"), "w") as page:
            page.write("<script>window.seen = [window.appVersion, window.pavonix];"
                       "delete window.appVersion; window.pavonix = 'changed';</script>")
        self.start_shell()
        self.open_page("/request.html").evaluate("location.href = 'binding.html'")
        page = self.open_page("/binding.html", harness.EVENT_TIMEOUT)
        self.assertEqual(page.evaluate("window.seen"), [APP_VERSION, "pavonix"])
        self.assertEqual(page.evaluate("typeof window.appVersion"), "undefined")
        self.assertEqual(page.evaluate("window.pavonix"), "changed")
        # The next document's own first script sees both again, whatever this one did.
        page.evaluate("window.previousDocument = true; location.reload()")
        harness.wait_for("the next document",
                         lambda: page.evaluate("typeof window.previousDocument") == "undefined")
        self.assertEqual(page.evaluate("window.seen"), [APP_VERSION, "pavonix"])


class ContextMenuTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.start_shell()
        self.page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the page painted",
                         lambda: harness.screen_pixel(*MENU_SPOT, self.root) == PAGE_BACKGROUND)

    def open_menu(self):
        """Right-clicks the page; returns the menu's height in pixels below the click."""
        return harness.open_context_menu(MENU_SPOT, PAGE_BACKGROUND, self.root)

    def menu_row(self, height):
        """The pixels across the middle of a menu of that height, where a one-item menu's item
        is, from one dump."""
        screen = harness.ScreenDump(self.root)
        x, y = MENU_SPOT[0] + 4, MENU_SPOT[1] + 4 + height // 2
        return [screen.pixel(x + dx, y) for dx in range(MENU_ROW_WIDTH)]

    def devtools_windows(self):
        return harness.visible_windows(DEVTOOLS_TITLE)

    def test_refresh_alone_without_the_marker_and_devtools_with_it(self):
        marker = os.path.join(self.workdir, "debug")
        one_item = self.open_menu()
        unselected = self.menu_row(one_item)
        # No item answers to "s": the menu stays open, and the next key selects Refresh in it.
        harness.press_keys("s", "Down")
        harness.wait_for("Refresh selected in the menu still open", lambda: (
            lambda row: row != unselected and PAGE_BACKGROUND not in row)(self.menu_row(one_item)))
        self.assertEqual(self.devtools_windows(), [])
        harness.press_keys("Escape")

        open(marker, "w").close()  # takes effect at the next menu, without a restart
        two_items = self.open_menu()
        self.assertGreater(two_items, one_item * 3 // 2, "a second item below Refresh")
        harness.press_keys("s")
        harness.wait_for("the DevTools window", self.devtools_windows, harness.EVENT_TIMEOUT)
        harness.run_tool("wmctrl", "-c", "DevTools")
        harness.wait_for("the DevTools window to close", lambda: not self.devtools_windows())

        os.remove(marker)
        harness.run_tool("xdotool", "mousemove", "10", "10")
        harness.run_tool("wmctrl", "-i", "-a", hex(self.window))
        self.assertEqual(self.open_menu(), one_item)
        harness.press_keys("Escape")

    def test_a_folder_named_debug_counts_as_the_marker(self):
        os.mkdir(os.path.join(self.workdir, "debug"))
        self.open_menu()
        harness.press_keys("s")
        harness.wait_for("the DevTools window", self.devtools_windows, harness.EVENT_TIMEOUT)

    def test_refresh_reloads_the_page(self):
        self.page.evaluate("window.beforeRefresh = 1")
        self.open_menu()
        harness.press_keys("Down", "Return")
        harness.wait_for("the page to reload",
                         lambda: self.page.evaluate("typeof window.beforeRefresh") == "undefined")
        self.assertEqual(self.page.evaluate("window.appVersion"), APP_VERSION)


if __name__ == "__main__":
    unittest.main()
