"""Start-up with no argument: the main window, the start page, the cache folder, the locale."""

import os
import shutil
import unittest

import harness
from facts import APP_VERSION, MAIN_TITLE, PAGE_BACKGROUND, START_PAGE_TITLE
from harness import SCREEN_HEIGHT, SCREEN_WIDTH

# Where the example's start page has a solid colour once it is painted in a maximised window.
HEADER_PIXEL, HEADER_COLOUR = (40, 100), "1E3A5F"
PAGE_PIXEL, PAGE_COLOUR = (40, SCREEN_HEIGHT - 40), PAGE_BACKGROUND


class StartPageTest(harness.ShellTestCase):

    def test_one_maximised_window_shows_request_page(self):
        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("document.title"), START_PAGE_TITLE)
        self.assertEqual(page.evaluate("location.href"),
                         "file://" + os.path.join(self.workdir, "request.html"))

        window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the main window to fill the screen",
                         lambda: harness.window_geometry(window) ==
                         (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT))
        self.assertLessEqual({"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"},
                             harness.window_states(window))
        self.assertEqual(list(harness.managed_windows()), [window])

        for (x, y), colour in ((HEADER_PIXEL, HEADER_COLOUR), (PAGE_PIXEL, PAGE_COLOUR)):
            harness.wait_for(f"#{colour} at {x},{y}",
                             lambda: harness.screen_pixel(x, y, self.root) == colour)

    def test_pages_and_frames_read_the_shell_version(self):
        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("window.appVersion"), APP_VERSION)
        self.assertEqual(page.evaluate("document.getElementById('version').textContent"),
                         "Vintrel " + APP_VERSION)
        frame = "document.getElementById('frame').contentWindow"
        harness.wait_for("the iframe to load",
                         lambda: page.evaluate(f"{frame}.document.readyState") == "complete")
        self.assertEqual(page.evaluate(f"{frame}.appVersion"), APP_VERSION)
        self.assertEqual(page.evaluate(f"{frame}.document.getElementById('version').textContent"),
                         "Vintrel " + APP_VERSION)

    def test_cache_is_created_under_the_working_directory(self):
        # A private copy of the executable, so that its own folder starts without a cache.
        app_dir = os.path.join(self.root, "app")
        os.makedirs(app_dir)
        executable = shutil.copy2(self.executable, app_dir)
        skins = os.path.join(os.path.dirname(self.executable), "Skins")
        if os.path.isdir(skins):
            shutil.copytree(skins, os.path.join(app_dir, "Skins"))

        self.start_shell(executable=executable)
        self.open_page("/request.html")
        cache = os.path.join(self.workdir, "cache")
        harness.wait_for("the cache folder", lambda: os.path.isdir(cache) and os.listdir(cache))
        self.assertFalse(os.path.exists(os.path.join(app_dir, "cache")))


class LocaleTest(harness.ShellTestCase):
    # The engine's language follows the system language; Portugal, Brazil and Austria are not
    # in the shell's table and fall back to American English.
    CASES = (("de_DE.UTF-8", "de"), ("pt_PT.UTF-8", "en-US"), ("pt_BR.UTF-8", "en-US"),
             ("de_AT.UTF-8", "en-US"))

    def test_navigator_language_follows_lang(self):
        for lang, expected in self.CASES:
            with self.subTest(LANG=lang):
                shell = self.start_shell(extra_env={"LANG": lang})
                try:
                    page = self.open_page("/request.html")
                    self.assertEqual(page.evaluate("navigator.language"), expected)
                finally:
                    shell.stop()


if __name__ == "__main__":
    unittest.main()
