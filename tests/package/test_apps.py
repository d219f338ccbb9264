"""Apps packed with vintrel-pack: two apps with their own ids, packed as .deb and .rpm, checked
as the package tools and validators see them, and each run from its unpacked package as the app
it names itself; manifests at fault, for the packer and for the shell."""

import configparser
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import harness  # noqa: E402

PACK = os.environ.get("VINTREL_PACK", "")
SHELL_DEB_VERSION = os.environ.get("VINTREL_DEB_VERSION", "")
RPMLINT_CONFIG = os.path.join(os.path.dirname(__file__), "rpmlint.toml")
MANIFEST_FAULT = 2
DEFAULT_SKIN = os.path.join(os.path.dirname(__file__), "..", "..", "res", "Skins", "Default")
# A point of the caption that shows its background: clear of the icon, title and buttons.
CAPTION_BACKGROUND = (harness.SCREEN_WIDTH // 2, 30)


def run(*args, **options):
    return subprocess.run(args, capture_output=True, text=True, timeout=240, **options)


def png(size, colour, height=None):
    """A PNG of one colour (RGB), square unless given a height, written with the standard
    library."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    height = height or size
    row = b"\x00" + bytes(colour) * size
    header = struct.pack(">IIBBBBB", size, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


def svg(colour):
    """A square drawing of one colour (RGB)."""
    return ("<?xml version='1.0'?><svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
            f"<rect width='10' height='10' fill='#{bytes(colour).hex()}'/></svg>")


# An SVG icon cut off in the middle of an element.
BROKEN_SVG_ICON = "images/broken.svg"
BROKEN_SVG = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><rect width='10'"


def png_size(path):
    with open(path, "rb") as file:
        return struct.unpack(">II", file.read(24)[16:24])


class App:
    """A small app folder: a start page in the app's colour that stores something, and an
    icon in the same colour, a PNG of icon_size or an SVG as the manifest's icon names it."""

    def __init__(self, manifest, colour, icon_size, skin_folder=None):
        self.manifest = manifest
        self.colour = colour
        self.icon_size = icon_size
        self.skin_folder = skin_folder

    @property
    def id(self):
        return self.manifest["id"]

    @property
    def hex_colour(self):
        return "%02X%02X%02X" % self.colour

    def write(self, folder, manifest_text=None):
        os.makedirs(os.path.join(folder, "images"))
        page = (f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>{self.manifest['name']}"
                f"</title></head><body style='background:#{self.hex_colour}'>"
                f"<script>localStorage.setItem('app', '{self.manifest.get('id')}');</script>"
                "</body></html>")
        for name, heading in (("request.html", "Online"), ("Error.html", "Offline")):
            with open(os.path.join(folder, name), "w") as file:
                file.write(page.replace("</body>", f"<h1>{heading}</h1></body>"))
        with open(os.path.join(folder, "images", "icon.png"), "wb") as file:
            file.write(png(self.icon_size, self.colour))
        if self.has_svg_icon:
            with open(os.path.join(folder, self.manifest["icon"]), "w") as file:
                file.write(svg(self.colour))
        if self.skin_folder:
            # The default skin with its caption in the app's colour.
            skin = os.path.join(folder, self.skin_folder)
            shutil.copytree(DEFAULT_SKIN, skin)
            for name in ("DialogBkg.png", "DialogBkg@2x.png"):
                background = os.path.join(skin, "dialog", name)
                width, height = png_size(background)
                with open(background, "wb") as file:
                    file.write(png(width, self.colour, height))
        # What a working copy holds that users must not get.
        os.makedirs(os.path.join(folder, "cache"))
        open(os.path.join(folder, "debug"), "w").close()
        with open(os.path.join(folder, "vintrel-app.json"), "w") as file:
            file.write(manifest_text if manifest_text is not None else
                       __import__("json").dumps(self.manifest, indent=2))

    @property
    def has_svg_icon(self):
        return str(self.manifest.get("icon")).endswith(".svg")

    @property
    def deb(self):
        return f"{self.id}_{self.manifest['version']}_all.deb"

    @property
    def rpm(self):
        return f"{self.id}-{self.manifest['version']}.noarch.rpm"


TESTER = App({
    "id": "org.example.Tester", "name": "Tester", "version": "2.1.0",
    "summary": "Keep track of the tests a team runs",
    "description": "Tester lists the tests a team runs and what they found.\n\n"
                   "It runs in a window of its own.",
    "maintainer": "Tester Team <team@tester.example.org>", "license": "MIT",
    "homepage": "https://tester.example.org/", "categories": ["Development"],
    "icon": "images/icon.png", "title": "Tester", "skin": "skin"}, (0xC0, 0x30, 0x20), 512,
    "skin")
NOTES = App({
    "id": "net.example.notes", "name": "Notes", "version": "0.9~beta1",
    "maintainer": "Notes People <notes@example.net>", "license": "Apache-2.0",
    "icon": "images/icon.svg"}, (0x20, 0x60, 0xC0), 512)
APPS = (TESTER, NOTES)
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256, 512)


def expected_files(app, kind):
    """Every file the app's package installs, from its manifest."""
    share = f"/usr/share/{app.id}"
    files = {f"{share}/request.html", f"{share}/Error.html", f"{share}/images/icon.png",
             f"{share}/vintrel-app.json", f"/usr/bin/{app.id}",
             f"/usr/share/applications/{app.id}.desktop",
             f"/usr/share/metainfo/{app.id}.metainfo.xml",
             f"/usr/share/man/man1/{app.id}.1.gz", f"{share}/{app.manifest['icon']}"}
    files |= {f"/usr/share/icons/hicolor/{size}x{size}/apps/{app.id}.png"
              for size in ICON_SIZES if size <= app.icon_size}
    if app.has_svg_icon:
        files.add(f"/usr/share/icons/hicolor/scalable/apps/{app.id}.svg")
    if "skin" in app.manifest:
        skin = f"{share}/{app.manifest['skin']}"
        files |= {f"{skin}/{os.path.relpath(os.path.join(folder, name), DEFAULT_SKIN)}"
                  for folder, _, names in os.walk(DEFAULT_SKIN) for name in names}
    package = app.id.lower()
    if kind == "deb":
        files |= {f"/usr/share/doc/{package}/copyright", f"/usr/share/doc/{package}/changelog.gz",
                  f"/usr/share/lintian/overrides/{package}"}
    else:
        files.add(f"/usr/share/licenses/{app.id}/copyright")
    return files


def deb_files(path):
    listing = run("dpkg-deb", "-c", path).stdout
    return {line.split()[-1].lstrip(".") for line in listing.splitlines()
            if not line.startswith("d")}


def rpm_query(path, *args):
    return run("rpm", "-qp", *args, path).stdout


def ini(path):
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path)
    return entry["Desktop Entry"]


class PackedAppsCase(unittest.TestCase):
    """Both apps, packed once for the class into both formats and unpacked."""

    @classmethod
    def setUpClass(cls):
        if not PACK or not os.access(PACK, os.X_OK):
            raise unittest.SkipTest("VINTREL_PACK must name the vintrel-pack to test")
        cls.root = tempfile.mkdtemp(prefix="vintrel-apps-")
        cls.out = os.path.join(cls.root, "out")
        for app in APPS:
            folder = os.path.join(cls.root, "src", app.id)
            app.write(folder)
            done = run(PACK, folder, "--out", cls.out)
            if done.returncode != 0:
                raise AssertionError(f"packing {app.id} failed: {done.stderr}")
            os.makedirs(cls.unpacked(app))
            done = run("dpkg-deb", "-x", os.path.join(cls.out, app.deb), cls.unpacked(app))
            if done.returncode != 0:
                raise AssertionError(f"unpacking {app.deb} failed: {done.stderr}")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    @classmethod
    def unpacked(cls, app):
        return os.path.join(cls.root, "unpacked", app.id)

    def package(self, name):
        return os.path.join(self.out, name)


class PackedAppsTest(PackedAppsCase):

    def test_packer_writes_one_deb_and_one_rpm_per_app(self):
        self.assertEqual(sorted(os.listdir(self.out)),
                         sorted(name for app in APPS for name in (app.deb, app.rpm)))

    def test_package_fields_match_the_manifests(self):
        for app in APPS:
            with self.subTest(app=app.id):
                deb = self.package(app.deb)
                manifest = app.manifest
                fields = dict(line.split(": ", 1) for line in run(
                    "dpkg-deb", "-f", deb, "Package", "Version", "Architecture", "Maintainer",
                    "Depends").stdout.splitlines())
                self.assertEqual(fields, {
                    "Package": app.id.lower(), "Version": manifest["version"],
                    "Architecture": "all", "Maintainer": manifest["maintainer"],
                    "Depends": f"vintrel (>= {SHELL_DEB_VERSION})"})
                summary = manifest.get("summary", f"{manifest['name']} web app")
                self.assertEqual(run("dpkg-deb", "-f", deb, "Description").stdout.splitlines()[0],
                                 summary)

                rpm = self.package(app.rpm)
                self.assertEqual(rpm_query(rpm, "--qf", "%{NAME}|%{VERSION}|%{ARCH}|%{LICENSE}")
                                 .strip(), f"{app.id}|{manifest['version']}|noarch|"
                                 f"{manifest['license']}")
                self.assertIn(f"vintrel >= {SHELL_DEB_VERSION.split('-')[0]}",
                              rpm_query(rpm, "--requires").splitlines())

                copyright_file = os.path.join(self.unpacked(app), "usr/share/doc",
                                              app.id.lower(), "copyright")
                with open(copyright_file) as file:
                    self.assertIn(f"\nLicense: {manifest['license']}\n", file.read())

    def test_file_lists_match_the_manifests_and_leave_the_working_copy_out(self):
        for app in APPS:
            with self.subTest(app=app.id):
                self.assertEqual(deb_files(self.package(app.deb)), expected_files(app, "deb"))
                rpm_listing = rpm_query(self.package(app.rpm), "--qf",
                                        "[%{FILEMODES:perms} %{FILENAMES}\n]").splitlines()
                rpm_files = {line.split(" ", 1)[1] for line in rpm_listing
                             if not line.startswith("d")}
                self.assertEqual(rpm_files, expected_files(app, "rpm"))
                self.assertIn(f"-rwxr-xr-x /usr/bin/{app.id}", rpm_listing)
                for size in ICON_SIZES:
                    icon = os.path.join(self.unpacked(app), "usr/share/icons/hicolor",
                                        f"{size}x{size}/apps/{app.id}.png")
                    if size <= app.icon_size:
                        with open(icon, "rb") as file:
                            self.assertEqual(struct.unpack(">II", file.read(24)[16:24]),
                                             (size, size))

    def test_two_apps_share_no_file(self):
        for kind in ("deb", "rpm"):
            with self.subTest(kind=kind):
                tester = expected_files(TESTER, kind)
                notes = expected_files(NOTES, kind)
                self.assertEqual(tester & notes, set())
        self.assertEqual(deb_files(self.package(TESTER.deb)) &
                         deb_files(self.package(NOTES.deb)), set())

    def test_desktop_entry_launches_the_app_as_itself(self):
        for app in APPS:
            with self.subTest(app=app.id):
                root = self.unpacked(app)
                entry = ini(os.path.join(root, f"usr/share/applications/{app.id}.desktop"))
                self.assertEqual(
                    (entry["Name"], entry["Exec"], entry["Icon"], entry["StartupWMClass"],
                     entry["Categories"]),
                    (app.manifest["name"], app.id, app.id, app.id,
                     ";".join(app.manifest.get("categories", ["Utility"])) + ";"))
                with open(os.path.join(root, "usr/bin", app.id)) as file:
                    launcher = file.read()
                self.assertIn(f"\ncd /usr/share/{app.id} ", launcher)
                self.assertTrue(launcher.rstrip().endswith("\nexec vintrel"), launcher)

    def test_validators_accept_desktop_entries_and_metainfo(self):
        for app in APPS:
            with self.subTest(app=app.id):
                root = self.unpacked(app)
                done = run("desktop-file-validate",
                           os.path.join(root, f"usr/share/applications/{app.id}.desktop"))
                self.assertEqual((done.returncode, done.stdout + done.stderr), (0, ""))
                done = run("appstreamcli", "validate", "--no-net", "--pedantic",
                           os.path.join(root, f"usr/share/metainfo/{app.id}.metainfo.xml"))
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_lintian_and_rpmlint_find_nothing_unexplained(self):
        # What stays is explained: lintian's overrides in each app package, rpmlint's in
        # rpmlint.toml beside this test.
        for app in APPS:
            with self.subTest(app=app.id):
                done = run("lintian", "--no-cfg", "--display-info", "--tag-display-limit", "0",
                           self.package(app.deb))
                self.assertEqual([line for line in done.stdout.splitlines()
                                  if re.match(r"[EWIX]: ", line)], [])
                done = run("rpmlint", "--config", RPMLINT_CONFIG, self.package(app.rpm))
                self.assertIn("0 errors, 0 warnings", done.stdout, done.stdout + done.stderr)


class BadManifestTest(unittest.TestCase):
    """A manifest at fault gets one line naming the field and exit status 2, from the packer and
    from the shell, and nothing is written."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="vintrel-bad-manifest-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)

    def app_folder(self, name, manifest_text=None, change=None, icon_size=512):
        app = App(dict(TESTER.manifest, **(change or {})), TESTER.colour, icon_size,
                  TESTER.skin_folder)
        app.manifest = {key: value for key, value in app.manifest.items() if value is not None}
        folder = os.path.join(self.root, name)
        app.write(folder, manifest_text)
        if app.manifest.get("icon") == BROKEN_SVG_ICON:
            with open(os.path.join(folder, BROKEN_SVG_ICON), "w") as file:
                file.write(BROKEN_SVG)
        return folder

    def test_packer_names_the_field_at_fault_and_writes_nothing(self):
        cases = [
            ("missing id", {"id": None}, None, 512, "id: missing"),
            ("id with a slash", {"id": "org.example/../x"}, None, 512, "id: must be a reverse"),
            ("id with a line break", {"id": "org.example.Tester\n"}, None, 512,
             "id: must be one line"),
            ("bad version", {"version": "v1.0"}, None, 512, "version: 'v1.0' must start"),
            ("version with a revision", {"version": "1.0-2"}, None, 512, "version: '1.0-2'"),
            ("missing maintainer", {"maintainer": None}, None, 512, "maintainer: missing"),
            ("missing icon file", {"icon": "images/none.png"}, None, 512,
             "icon: images/none.png does not exist"),
            ("icon outside the folder", {"icon": "../icon.png"}, None, 512,
             "icon: ../icon.png lies outside the app folder"),
            ("icon not an image", {"icon": "request.html"}, None, 512,
             "icon: request.html is not a PNG or SVG image"),
            ("malformed SVG icon", {"icon": BROKEN_SVG_ICON}, None, 512,
             "icon: images/broken.svg is not a PNG or SVG image"),
            ("icon too small", {}, None, 128,
             "icon: images/icon.png is 128 x 128; it must be at least 256 x 256"),
            ("no main category", {"categories": ["Calculator"]}, None, 512,
             "categories: needs one of"),
            ("misspelt field", {"catgories": ["Office"]}, None, 512, "catgories: unknown field"),
            ("not JSON", {}, '{"id": "org.example.Tester",', 512,
             "not valid JSON"),
        ]
        for what, change, text, icon_size, line in cases:
            with self.subTest(what):
                folder = self.app_folder(what.replace(" ", "-"), text, change, icon_size)
                if what == "icon outside the folder":
                    shutil.copy(os.path.join(folder, "images", "icon.png"), self.root)
                out = os.path.join(self.root, "out")
                done = run(PACK, folder, "--out", out)
                self.assertEqual(done.returncode, MANIFEST_FAULT, done.stderr)
                self.assertEqual(done.stdout, "")
                self.assertEqual(len(done.stderr.splitlines()), 1, done.stderr)
                self.assertIn(f"vintrel-app.json: {line}", done.stderr)
                self.assertFalse(os.path.exists(out))

    def test_packer_refuses_files_it_cannot_pack_as_they_are(self):
        cases = [
            ("a*.html", lambda path: open(path, "w").close(),
             "a*.html: a file name with control characters"),
            ("secret.txt", lambda path: os.symlink("/etc/passwd", path),
             "secret.txt: links outside the app folder"),
            ("pipe", os.mkfifo, "pipe: is neither a file nor a folder"),
        ]
        for name, make, line in cases:
            with self.subTest(name):
                folder = self.app_folder(name.replace("*", "star"))
                make(os.path.join(folder, name))
                out = os.path.join(self.root, "out")
                done = run(PACK, folder, "--out", out)
                self.assertEqual(done.returncode, MANIFEST_FAULT, done.stderr)
                self.assertEqual(len(done.stderr.splitlines()), 1, done.stderr)
                self.assertTrue(done.stderr.startswith(f"vintrel-pack: {folder}: {line}"),
                                done.stderr)
                self.assertFalse(os.path.exists(out))

    def test_packer_without_a_manifest(self):
        folder = os.path.join(self.root, "pages")
        os.makedirs(folder)
        done = run(PACK, folder, "--out", os.path.join(self.root, "out"))
        self.assertEqual((done.returncode, done.stderr.strip()),
                         (MANIFEST_FAULT, f"vintrel-pack: {folder}/vintrel-app.json: missing"))
        self.assertFalse(os.path.exists(os.path.join(self.root, "out")))

    def test_shell_names_the_field_at_fault_and_writes_nothing(self):
        executable = os.environ.get("VINTREL_EXE", "")
        cases = [
            ("not JSON", None, "[1, 2", "vintrel-app.json: not valid JSON"),
            ("missing id", {"id": None}, None, "vintrel-app.json: id: missing"),
            ("id that walks out", {"id": "../../.config"}, None,
             "vintrel-app.json: id: must be a reverse domain name"),
            ("id with a line break", {"id": "org.example.Tester\n"}, None,
             "vintrel-app.json: id: must be a reverse domain name"),
            ("missing icon file", {"icon": "none.png"}, None,
             "vintrel-app.json: icon: none.png does not exist"),
            ("icon not an image", {"icon": "request.html"}, None,
             "vintrel-app.json: icon: request.html is not a PNG or SVG image"),
            ("malformed SVG icon", {"icon": BROKEN_SVG_ICON}, None,
             "vintrel-app.json: icon: images/broken.svg is not a PNG or SVG image"),
            ("empty title", {"title": " "}, None, "vintrel-app.json: title: must be a text"),
            ("skin that is a file", {"skin": "request.html"}, None,
             "vintrel-app.json: skin: request.html is not a folder"),
        ]
        for what, change, text, line in cases:
            with self.subTest(what):
                folder = self.app_folder(what.replace(" ", "-"), text, change)
                shutil.rmtree(os.path.join(folder, "cache"))
                home = os.path.join(self.root, what.replace(" ", "-") + "-home")
                os.makedirs(home)
                env = harness.program_environment(self.root, home)
                env.update(QT_QPA_PLATFORM="offscreen", QTWEBENGINE_DISABLE_SANDBOX="1")
                before = sorted(os.listdir(folder))
                done = run(executable, cwd=folder, env=env)
                self.assertEqual(done.returncode, MANIFEST_FAULT, done.stderr)
                self.assertIn(f"vintrel: {line}", done.stderr)
                self.assertEqual(os.listdir(home), [])
                self.assertEqual(sorted(os.listdir(folder)), before)


class UnpackedAppsTest(PackedAppsCase, harness.ShellTestCase):
    """Each app from its unpacked package, started in its pages' folder as its launcher starts
    it, both at once: its own pages, window class, icon, title and storage."""

    @classmethod
    def setUpClass(cls):
        PackedAppsCase.setUpClass()

    def setUp(self):
        harness.ShellTestCase.setUp(self)

    def start_app(self, app):
        self.workdir = os.path.join(self.unpacked(app), "usr/share", app.id)
        self.start_shell()
        return self.devtools

    def test_each_app_runs_as_itself(self):
        windows = {}
        for app in APPS:
            devtools = self.start_app(app)
            page = devtools.wait_page("/request.html", harness.FIRST_LOAD_TIMEOUT)
            self.addCleanup(page.close)
            self.assertEqual(page.evaluate("document.title"), app.manifest["name"])
            self.assertEqual(page.evaluate("localStorage.getItem('app')"), app.id)
            title = app.manifest.get("title", "lumerock")
            windows[app.id] = harness.wait_window(f"^{re.escape(title)}$")
            # The app started last covers the screen; its caption is its skin's.
            harness.wait_for("the window to be maximised", lambda: harness.window_geometry(
                windows[app.id])[2:] == (harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT))
            caption = lambda: harness.screen_pixel(*CAPTION_BACKGROUND, self.root)  # noqa: E731
            if "skin" in app.manifest:
                harness.wait_for("the app's own skin", lambda: caption() == app.hex_colour)
            else:
                harness.wait_for("the default skin's caption", lambda: caption() not in
                                 {other.hex_colour for other in APPS} | {"000000"})

        for app in APPS:
            with self.subTest(app=app.id):
                window = windows[app.id]
                entry = ini(os.path.join(self.unpacked(app),
                                         f"usr/share/applications/{app.id}.desktop"))
                self.assertEqual(window_class(window), entry["StartupWMClass"])
                self.assertEqual(icon_centre_colours(window), {app.hex_colour})
                storage = os.path.join(self.home, ".cache", app.id)
                harness.wait_for(f"{app.id}'s storage", lambda folder=storage: os.path.isdir(
                    os.path.join(folder, "Local Storage")))
                self.assertFalse(os.path.exists(os.path.join(self.workdir, "..", "cache")))
        # Storage went to the apps' own folders only.
        self.assertEqual(sorted(os.listdir(os.path.join(self.home, ".cache"))),
                         sorted(app.id for app in APPS))
        for app in APPS:
            self.assertFalse(os.path.exists(
                os.path.join(self.unpacked(app), "usr/share", app.id, "cache")))


def window_class(window):
    """The class part of a window's WM_CLASS."""
    output = harness.run_tool("xprop", "-id", str(window), "WM_CLASS")
    return re.findall(r'"([^"]*)"', output)[-1]


def icon_centre_colours(window):
    """The centre pixel's colour (RGB) of every size in a window's _NET_WM_ICON."""
    output = harness.run_tool("xprop", "-len", "100000000", "-notype", "-f", "_NET_WM_ICON",
                              "32c", "-id", str(window), "_NET_WM_ICON")
    values = [int(value) for value in output.split("=", 1)[1].split(",")]
    colours = set()
    while values:
        width, height, pixels = values[0], values[1], values[2:]
        argb = pixels[(height // 2) * width + width // 2]
        colours.add("%06X" % (argb & 0xFFFFFF))
        values = pixels[width * height:]
    return colours


if __name__ == "__main__":
    unittest.main()
