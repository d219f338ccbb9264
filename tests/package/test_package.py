"""The Debian package as a user gets it: its control data, its files, the desktop entry and
metainfo as validators see them, lintian's findings, and the shell run from an unpacked copy."""

import configparser
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import harness  # noqa: E402
import skin_images  # noqa: E402

DEB = os.environ.get("VINTREL_DEB", "")
APP_ID = os.environ.get("VINTREL_APP_ID", "")
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
DATA = "usr/share/vintrel"
DESKTOP_ENTRY = f"usr/share/applications/{APP_ID}.desktop"
METAINFO = f"usr/share/metainfo/{APP_ID}.metainfo.xml"
# Libraries the shell links and the packages that hold them: each must be a dependency.
# vintrel-pack's interpreter is one too.
LINKED_PACKAGES = ("python3", "libc6", "libstdc++6", "libqt6core6", "libqt6gui6",
                   "libqt6widgets6",
                   "libqt6webenginecore6", "libqt6webenginewidgets6")


def run(*args, **options):
    return subprocess.run(args, capture_output=True, text=True, timeout=240, **options)


def unpack(folder):
    done = run("dpkg-deb", "-x", DEB, folder)
    if done.returncode != 0:
        raise RuntimeError(f"dpkg-deb -x failed: {done.stderr}")


def desktop_entry(root):
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(os.path.join(root, DESKTOP_ENTRY))
    return entry["Desktop Entry"]


class PackageCase(unittest.TestCase):

    def setUp(self):
        if not os.path.isfile(DEB):
            self.fail(f"no package at {DEB!r}: build it first (package.build)")
        self.root = tempfile.mkdtemp(prefix="vintrel-package-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.unpacked = os.path.join(self.root, "unpacked")
        unpack(self.unpacked)


class PackageTest(PackageCase):

    def test_control_data_and_dependencies(self):
        fields = run("dpkg-deb", "-f", DEB, "Package", "Depends", "Section",
                     "Description").stdout
        self.assertIn("Package: vintrel", fields)
        depends = re.search(r"^Depends: (.*)$", fields, re.M).group(1)
        packages = {re.match(r"[\w.+-]+", alternative.strip()).group(0)
                    for part in depends.split(",") for alternative in part.split("|")}
        for package in LINKED_PACKAGES:
            self.assertIn(package, packages, f"Depends: {depends}")
        # Versions come from the libraries' symbols, not a guess.
        self.assertRegex(depends, r"libqt6webenginecore6 \(>= [\d.~]+\)")

    def test_file_list_holds_the_shell_its_data_and_desktop_files(self):
        listing = run("dpkg-deb", "-c", DEB).stdout
        files = {line.split()[-1].lstrip(".") for line in listing.splitlines()}
        expected = {
            "/usr/bin/vintrel",
            "/usr/bin/vintrel-pack",
            "/usr/share/man/man1/vintrel-pack.1.gz",
            f"/{DATA}/Skins/Default/dialog/DialogBkg.png",
            f"/{DATA}/Skins/Default/dialog/dlg_close_btn.bmp",
            f"/{DATA}/example/request.html",
            f"/{DATA}/example/Error.html",
            f"/{DESKTOP_ENTRY}",
            f"/{METAINFO}",
            f"/usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
            "/usr/share/man/man1/vintrel.1.gz",
            "/usr/share/doc/vintrel/copyright",
        } | {f"/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png" for size in ICON_SIZES}
        self.assertEqual(expected - files, set())
        self.assertFalse([name for name in files if re.search(r"/(cache|debug)(/|$)", name)],
                         "the example's cache or debug marker went into the package")
        self.assertRegex(listing, r"-rwxr-xr-x root/root .* \./usr/bin/vintrel\n")
        self.assertRegex(listing, r"-rwxr-xr-x root/root .* \./usr/bin/vintrel-pack\n")

    def test_desktop_entry_and_metainfo_are_valid(self):
        desktop = os.path.join(self.unpacked, DESKTOP_ENTRY)
        done = run("desktop-file-validate", desktop)
        self.assertEqual((done.returncode, done.stdout + done.stderr), (0, ""))
        done = run("appstreamcli", "validate", "--no-net", "--pedantic",
                   os.path.join(self.unpacked, METAINFO))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

        entry = desktop_entry(self.unpacked)
        self.assertEqual(entry["Exec"].split()[0], "vintrel")
        self.assertEqual(entry["Path"], f"/{DATA}/example")
        self.assertTrue(os.path.isfile(os.path.join(self.unpacked, entry["Path"].lstrip("/"),
                                                    "request.html")))
        self.assertEqual(entry["Icon"], APP_ID)

    def test_lintian_finds_nothing_unexplained(self):
        # What stays is explained in the package's own lintian overrides.
        done = run("lintian", "--no-cfg", "--display-info", "--tag-display-limit", "0", DEB)
        findings = [line for line in done.stdout.splitlines() if re.match(r"[EWIX]: ", line)]
        self.assertEqual(findings, [])


class UnpackedShellTest(PackageCase, harness.ShellTestCase):
    """The shell from the unpacked package, started in the example's folder as the desktop entry
    starts it: no skin beside the executable, so the installed one must be found."""

    def setUp(self):
        PackageCase.setUp(self)
        os.environ["VINTREL_EXE"] = os.path.join(self.unpacked, "usr", "bin", "vintrel")
        harness.ShellTestCase.setUp(self)
        self.workdir = os.path.join(self.unpacked, DATA, "example")

    def test_shows_the_example_with_its_skin_and_icon(self):
        self.assertFalse(os.path.exists(os.path.join(self.unpacked, "usr", "bin", "Skins")))
        self.start_shell()
        page = self.open_page("/request.html")
        self.assertEqual(page.evaluate("document.title"), "Vintrel example")
        window = harness.wait_window("^lumerock$")
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(window)[2:] ==
                         (harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT))

        _, _, close = skin_images.load_bmp("dialog/dlg_close_btn.bmp")
        width = harness.SCREEN_WIDTH
        harness.wait_for("the skinned close button", lambda: harness.screen_pixel(
            width - 20, 19, self.root) == skin_images.hex_colour(close[11][10]))
        # The icon's tile shows in the caption: a teal pixel left of the V.
        red, green, blue = (int(harness.screen_pixel(17, 19, self.root)[i:i + 2], 16)
                            for i in (0, 2, 4))
        self.assertTrue(green > red + 40 and blue > red + 40, (red, green, blue))

        self.assertEqual(window_class(window), desktop_entry(self.unpacked)["StartupWMClass"])
        self.assertEqual(icon_sizes(window), set(ICON_SIZES))

        # The engine's own windows carry the same icon: a popup and the developer tools.
        page.evaluate("void window.open('popup.html', 'popup', 'width=560,height=420')")
        popup = harness.wait_window("^Vintrel popup$", harness.EVENT_TIMEOUT)
        self.assertEqual(icon_sizes(popup), set(ICON_SIZES))
        open(os.path.join(self.workdir, "debug"), "w").close()
        harness.run_tool("wmctrl", "-i", "-a", hex(window))
        page_colour = harness.screen_pixel(704, 704, self.root)
        harness.run_tool("xdotool", "mousemove", "700", "700", "click", "3")
        harness.wait_for("the page's menu", lambda: harness.screen_pixel(
            704, 704, self.root) != page_colour)
        harness.press_keys("s")  # "&Show DevTools"
        devtools = harness.wait_window("^DevTools$", harness.EVENT_TIMEOUT)
        self.assertEqual(icon_sizes(devtools), set(ICON_SIZES))


def window_class(window):
    """The class part of a window's WM_CLASS."""
    output = harness.run_tool("xprop", "-id", str(window), "WM_CLASS")
    return re.findall(r'"([^"]*)"', output)[-1]


def icon_sizes(window):
    # xprop cuts long properties short unless told otherwise.
    output = harness.run_tool("xprop", "-len", "100000000", "-id", str(window), "_NET_WM_ICON")
    return {int(width) for width, height in re.findall(r"Icon \((\d+) x (\d+)\)", output)
            if width == height}


if __name__ == "__main__":
    unittest.main()
