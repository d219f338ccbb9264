"""The shell as a screen reader meets it, with the accessibility bus on and the screen reader
switched on as Orca switches it on: the window is a frame named by its title, its caption
buttons are named push buttons that can be pressed where they are painted, the page is there
without any variable set by the user, popups and the developer tools are frames of their own
named by their titles, nothing else is there, and the keyboard focus stays in the page whatever
is done with the frame."""

import os
import shutil
import tempfile
import unittest

import accessibility
import harness
import skin_images
from facts import (ABOUT_PATH, APP_TITLE, BORDER_WIDTH, CAPTION_HEIGHT, DEVTOOLS_TITLE,
                   FRAME_PAGE_TITLE, MAIN_TITLE, PAGE_BACKGROUND, POPUP_PAGE_TITLE, POPUP_TITLE,
                   START_PAGE_TITLE, button_rect)
from harness import close_enough
from loopback_server import LoopbackServer, Reply

W, H = harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT
PAGE_SPOT = (W // 2, H // 2)  # inside the example page in the maximised window
MAXIMIZED = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}
PAGE_VARIABLE = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"
MENU_SPOT = (700, 700)  # plain page background in the maximised window
# How deep below a window its page's document lies: the window, the view, the document.
DOCUMENT_DEPTH = 2
# A text field at a known place on the page, for keys typed after working the frame.
FIELD_SCRIPT = """(() => {
  const field = document.createElement('input');
  field.id = 'field';
  field.style = 'position: fixed; left: 40px; top: 40px; width: 200px; height: 30px';
  document.body.prepend(field);
  return true;
})()"""
# Inside the field: the client area's origin plus the field's place.
FIELD_SPOT = (BORDER_WIDTH + 60, CAPTION_HEIGHT + 55)


def setUpModule():
    """One session and accessibility bus for every test of the module: the AT-SPI library keeps
    the first bus it finds for the life of the process."""
    bus_dir = tempfile.mkdtemp(prefix="vintrel-a11y-")
    unittest.addModuleCleanup(shutil.rmtree, bus_dir, ignore_errors=True)
    bus = accessibility.AccessibilityBus(bus_dir)
    unittest.addModuleCleanup(bus.stop)  # also when setting up fails half way
    bus.start()
    ReaderTestCase.bus = bus
    ReaderTestCase.Atspi = accessibility.atspi(bus)


class ReaderTestCase(harness.ShellTestCase):
    bus = None
    Atspi = None

    def setUp(self):
        super().setUp()
        self.bus.set_screen_reader(True)

    def start_reader_shell(self, extra_env=None):
        """Starts the shell on the test's bus and waits for its maximised window and page."""
        self.start_shell({"DBUS_SESSION_BUS_ADDRESS": self.bus.address, **(extra_env or {})})
        self.page = self.open_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: MAXIMIZED <= harness.window_states(self.window))

    def frame(self):
        """The shell's window as the reader finds it, once the page is in it."""
        pid = self.shell.popen.pid
        app = harness.wait_for("the shell on the accessibility bus",
                               lambda: accessibility.application_of(self.Atspi, pid))
        frame = harness.wait_for("the window in the tree",
                                 lambda: (accessibility.children(app) or [None])[0])
        harness.wait_for("the page's heading in the tree", lambda: any(
            node.get_role_name() == "heading" and node.get_name() == START_PAGE_TITLE
            for _, node in accessibility.walk(frame)))
        return frame

    def windows(self):
        """(role, name) of each of the shell's top-level objects, in no particular order."""
        app = accessibility.application_of(self.Atspi, self.shell.popen.pid)
        app.clear_cache()
        return sorted((node.get_role_name(), node.get_name())
                      for node in accessibility.children(app))

    def buttons(self, frame):
        return {node.get_name(): node for node in accessibility.children(frame)
                if node.get_role_name() == "push button"}


class AccessibilityTest(ReaderTestCase):

    def test_tree_holds_the_frame_its_named_caption_buttons_and_the_page(self):
        self.start_reader_shell()
        with open(f"/proc/{self.shell.popen.pid}/environ", "rb") as environ:
            self.assertNotIn(PAGE_VARIABLE.encode(), environ.read(), "set by the user")
        frame = self.frame()
        print(f"--- the example app's tree ---\n{accessibility.dump(frame)}")

        app = accessibility.application_of(self.Atspi, self.shell.popen.pid)
        self.assertEqual([(node.get_role_name(), node.get_name())
                          for node in accessibility.children(app)], [("frame", APP_TITLE)],
                         "the shell's windows only")

        top = accessibility.children(frame)
        self.assertEqual([(node.get_role_name(), node.get_name()) for node in top[:4]],
                         [("push button", name)
                          for name in ("About", "Minimize", "Restore", "Close")])
        for node in top[:4]:
            name = "Maximize" if node.get_name() == "Restore" else node.get_name()
            with self.subTest(name):
                self.assertEqual(accessibility.actions(node), ["Press"])
                self.assertEqual(accessibility.states(node, self.Atspi),
                                 {"enabled", "showing", "visible"})
                self.assertEqual(accessibility.extents(node, self.Atspi), button_rect(name, W))
                left, top_, width, height = button_rect(name, W)
                found = frame.get_accessible_at_point(left + width // 2, top_ + height // 2,
                                                      self.Atspi.CoordType.SCREEN)
                self.assertEqual((found.get_role_name(), found.get_name()),
                                 ("push button", node.get_name()))

        found = frame.get_accessible_at_point(*PAGE_SPOT, self.Atspi.CoordType.SCREEN)
        ancestors = []
        while found is not None and found.get_role_name() != "frame":
            ancestors.append(found.get_role_name())
            found = found.get_parent()
        self.assertIn("document web", ancestors, "the page's pixels answer the page")

        nodes = [(node.get_role_name(), node.get_name()) for _, node in accessibility.walk(frame)]
        for heading in (START_PAGE_TITLE, "Popup window", "Download", "Failed page",
                        FRAME_PAGE_TITLE):
            self.assertIn(("heading", heading), nodes)
        for link in ("Open a popup", "Save the release notes", "Open a missing site"):
            self.assertIn(("link", link), nodes)
        self.assertIn(("document web", FRAME_PAGE_TITLE), nodes, "the iframe's page too")

    def test_popups_and_the_developer_tools_are_frames_named_by_their_titles(self):
        self.start_reader_shell()
        frame = self.frame()
        open(os.path.join(self.workdir, "debug"), "w").close()  # the menu offers the tools
        harness.open_context_menu(MENU_SPOT, PAGE_BACKGROUND, self.root)
        harness.press_keys("s")  # the access key of "&Show DevTools"
        tools_window = harness.wait_window(DEVTOOLS_TITLE, harness.EVENT_TIMEOUT)
        self.page.evaluate("window.open('popup.html', 'reader', 'width=560,height=420') !== null",
                           userGesture=True)
        popup_window = harness.wait_window(POPUP_TITLE, harness.EVENT_TIMEOUT)
        popup_page = self.open_page("/popup.html", harness.EVENT_TIMEOUT)

        expected = sorted([("frame", APP_TITLE), ("frame", "DevTools"),
                           ("frame", POPUP_PAGE_TITLE)])
        harness.wait_for("a frame for each window", lambda: self.windows() == expected)
        app = accessibility.application_of(self.Atspi, self.shell.popen.pid)
        frames = {node.get_name(): node for node in accessibility.children(app)}
        print("--- the tree with a popup and the developer tools open ---\n"
              f"{accessibility.dump(frames['DevTools'], max_depth=DOCUMENT_DEPTH + 1)}\n"
              f"{accessibility.dump(frames[POPUP_PAGE_TITLE])}")
        self.assertEqual(frames[APP_TITLE], frame)
        for name in ("DevTools", POPUP_PAGE_TITLE):
            with self.subTest(name):
                self.assertTrue(self.document_of(frames[name]), "the window's page")
        self.assertEqual(self.document_of(frames[POPUP_PAGE_TITLE]).get_name(), POPUP_PAGE_TITLE)

        popup_page.evaluate("document.title = 'Renamed popup'; true")
        renamed = sorted([("frame", APP_TITLE), ("frame", "DevTools"), ("frame", "Renamed popup")])
        harness.wait_for("the popup's frame renamed", lambda: self.windows() == renamed)

        # Minimised, every window keeps its name. The shell has seen the last minimise once the
        # page in that window is hidden, and the ones before it by then.
        for window in (tools_window, popup_window, self.window):
            harness.run_tool("xdotool", "windowminimize", str(window))
        for page in (popup_page, self.page):
            harness.wait_for("the page hidden", lambda page=page: page.evaluate(
                "document.visibilityState") == "hidden")
        self.assertEqual(self.windows(), renamed)

    def document_of(self, window):
        """The page of a window: the document at most DOCUMENT_DEPTH levels down, or None."""
        return next((node for depth, node in accessibility.walk(window, max_depth=DOCUMENT_DEPTH)
                     if node.get_role_name() == "document web"), None)

    def test_pressing_maximize_or_restore_does_what_a_click_does_and_renames_it(self):
        self.start_reader_shell()
        frame = self.frame()
        renamed = []
        listener = self.Atspi.EventListener.new(
            lambda event: renamed.append(event.source.get_name()))
        listener.register("object:property-change:accessible-name")
        self.addCleanup(listener.deregister, "object:property-change:accessible-name")

        def announced(name):
            accessibility.deliver_events()
            return name in renamed

        self.buttons(frame)["Restore"].do_action(0)
        harness.wait_for("the window restored",
                         lambda: not MAXIMIZED & harness.window_states(self.window))
        harness.wait_for("the button's new name announced", lambda: announced("Maximize"))
        frame.clear_cache()
        self.assertIn("Maximize", self.buttons(frame))

        self.buttons(frame)["Maximize"].do_action(0)
        harness.wait_for("the window maximised",
                         lambda: MAXIMIZED <= harness.window_states(self.window))
        harness.wait_for("the button's name announced again", lambda: announced("Restore"))

    def test_pressing_about_loads_the_about_page_as_a_click_does(self):
        about = b"<html><head><title>About lumerock</title></head><body>about</body></html>"
        with LoopbackServer({"/about/index.htm": Reply(about, "text/html")}) as server:
            host = server.url("").removeprefix("http://")
            self.start_reader_shell({"VINTREL_ABOUT_HOST": host})
            self.buttons(self.frame())["About"].do_action(0)
            page = self.open_page(ABOUT_PATH, harness.EVENT_TIMEOUT)
            self.assertEqual(page.evaluate("document.title"), "About lumerock")

    def test_pressing_close_ends_the_shell_cleanly(self):
        self.start_reader_shell()
        self.buttons(self.frame())["Close"].do_action(0)
        self.assertEqual(self.shell.popen.wait(harness.FIRST_LOAD_TIMEOUT), 0)

    def test_nothing_is_built_while_no_assistive_technology_is_on(self):
        self.bus.set_screen_reader(False)
        self.start_reader_shell()
        self.assertIsNone(accessibility.application_of(self.Atspi, self.shell.popen.pid),
                          "the shell joined the accessibility bus with nothing to read it")


class KeyboardTest(ReaderTestCase):

    def type_into_field(self, keys, expected):
        harness.press_keys(*keys)
        harness.wait_for(f"the field to read {expected!r}", lambda: self.page.evaluate(
            "document.getElementById('field').value") == expected)

    def test_focus_stays_in_the_page_after_caption_clicks_and_moves(self):
        self.start_reader_shell()
        self.page.evaluate(FIELD_SCRIPT)
        harness.run_tool("xdotool", "mousemove", *map(str, FIELD_SPOT), "click", "1")
        harness.wait_for("the field to have the focus", lambda: self.page.evaluate(
            "document.activeElement.id === 'field' && document.hasFocus()"))
        self.type_into_field(["a"], "a")

        harness.run_tool("xdotool", "mousemove", str(W // 2), "20", "click", "1")
        self.type_into_field(["b"], "ab")

        # A double-click on the caption restores the window. It lands away from the click
        # above, which it would otherwise pair with into a double-click of its own: the window
        # would restore early and its second click would fall on the desktop.
        harness.run_tool("xdotool", "mousemove", str(W // 4), "20", "click", "--repeat", "2",
                         "--delay", "80", "1")
        harness.wait_for("the window restored",
                         lambda: not MAXIMIZED & harness.window_states(self.window))
        self.type_into_field(["c"], "abc")

        harness.run_tool("wmctrl", "-i", "-r", hex(self.window), "-e", "0,200,150,1200,800")
        harness.wait_for("the window placed",
                         lambda: harness.window_geometry(self.window) == (200, 150, 1200, 800))
        self.drag((700, 170), (800, 270))  # the caption: a move
        harness.wait_for("the window moved",
                         lambda: harness.window_geometry(self.window)[:2] != (200, 150))
        self.type_into_field(["d"], "abcd")

        x, y, width, height = harness.window_geometry(self.window)
        self.drag((x + width - 1, y + height // 2), (x + width + 150, y + height // 2))  # border
        harness.wait_for("the window resized",
                         lambda: harness.window_geometry(self.window)[2] > width + 100)
        self.type_into_field(["e"], "abcde")

    @staticmethod
    def drag(start, end, steps=5):
        harness.run_tool("xdotool", "mousemove", *map(str, start), "mousedown", "1")
        for step in range(1, steps + 1):
            harness.run_tool("xdotool", "mousemove",
                             str(start[0] + (end[0] - start[0]) * step // steps),
                             str(start[1] + (end[1] - start[1]) * step // steps))
        harness.run_tool("xdotool", "mouseup", "1")

    def test_tab_moves_through_the_page_and_never_into_the_frame(self):
        self.start_reader_shell()
        links = ["popup-link", "download-link", "broken-link"]
        harness.run_tool("xdotool", "mousemove", *map(str, PAGE_SPOT), "click", "1")
        harness.wait_for("the page to have the focus",
                         lambda: self.page.evaluate("document.hasFocus()"))
        self.page.evaluate(f"document.getElementById('{links[0]}').focus()")
        focused = ("document.hasFocus() ? (document.activeElement.id || "
                   "document.activeElement.tagName) : 'outside the page'")
        visited = [self.page.evaluate(focused)]
        # Round the page twice: each Tab moves the focus to the page's next stop, and from the
        # last one back to the first.
        for _ in range(2 * (len(links) + 1)):
            harness.press_keys("Tab")
            visited.append(harness.wait_for(
                "the focus to move", lambda: (lambda now: now != visited[-1] and now)(
                    self.page.evaluate(focused))))
        self.assertEqual(visited, [*links, "frame"] * 2 + [links[0]])


    def test_the_window_managers_close_key_works_while_the_page_has_the_focus(self):
        self.start_reader_shell()
        harness.run_tool("xdotool", "mousemove", *map(str, PAGE_SPOT), "click", "1")
        harness.wait_for("the page to have the focus",
                         lambda: self.page.evaluate("document.hasFocus()"))
        harness.press_keys("alt+F4")  # openbox's binding
        self.assertEqual(self.shell.popen.wait(harness.FIRST_LOAD_TIMEOUT), 0)


class ScaleTwoReaderTest(ReaderTestCase):
    """The toolkit's bridge gives the whole tree, the page included, in logical pixels: a
    button's extents times the scale are the device pixels it is painted on."""
    SCREEN_SIZE = (2560, 1600)
    SCALE = 2

    def test_button_extents_are_its_painted_pixels(self):
        self.start_reader_shell({"QT_SCALE_FACTOR": str(self.SCALE)})
        frame = self.frame()
        window_width = self.SCREEN_SIZE[0] // self.SCALE
        for name, node in self.buttons(frame).items():
            name = "Maximize" if name == "Restore" else name
            with self.subTest(name):
                self.assertEqual(accessibility.extents(node, self.Atspi),
                                 button_rect(name, window_width))
        left, top, width, height = (self.SCALE * value for value in accessibility.extents(
            self.buttons(frame)["Close"], self.Atspi))
        # There the screen shows the close button's 2x art, pixel for pixel.
        _, _, art = skin_images.load_bmp("dialog/dlg_close_btn@2x.bmp")
        screen = harness.ScreenDump(self.root)
        off_art = [(x, y) for y in range(height) for x in range(width)
                   if not close_enough(screen.pixel(left + x, top + y),
                                       skin_images.hex_colour(art[y][x]))]
        self.assertEqual(off_art, [])
        logical_centre = ((left + width // 2) // self.SCALE, (top + height // 2) // self.SCALE)
        found = frame.get_accessible_at_point(*logical_centre, self.Atspi.CoordType.SCREEN)
        self.assertEqual(found.get_name(), "Close")


if __name__ == "__main__":
    unittest.main()
