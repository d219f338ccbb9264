"""Every route a page has to a file, tried as an attacker would: a page of the app tries to read
a secret beside the app folder by each of them and reports what it read to a loopback server of
the test's own. None may bring the secret in, by any address (outside, through a file or folder
link in the app, thousands of separators, escapes, localhost), while the app's own file comes in
by the same route: so a refused route is refused by the shell, not broken."""

import http.server
import json
import os
import shlex
import shutil
import threading
import unittest
import uuid

import harness

UNPRIVILEGED = 65534  # nobody: the secret stays readable to it, so only the shell keeps it out
MANY_SEPARATORS = "/" * 4200  # longer than the system takes as one path
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

# What a route reads, by the name it loads; {token} is the file's own or the secret token.
FILES = {
    "data.txt": "{token}",
    "data.json": '{{"token": "{token}"}}',
    "script.js": "self.readToken = '{token}';",
    "module.js": "export default '{token}';",
    "style.css": "#token {{ content: '{token}'; }}",
    "image.svg": ('<svg xmlns="http://www.w3.org/2000/svg" width="7" height="5">'
                  "<text>{token}</text></svg>"),
}

# One script for every kind of worker: it reads what it is asked to, by the way it is asked
# to, and answers with what it read or "refused".
WORKER = r"""
const readIn = async (how, url) => {
  if (how === 'fetch') return (await fetch(url)).text();
  if (how === 'synchronous XHR') {
    const request = new XMLHttpRequest();
    request.open('GET', url, false);
    request.send();
    return request.responseText;
  }
  if (how === 'importScripts') { importScripts(url); return self.readToken; }
  if (how === 'import()') return (await import(url)).default;
  if (how.startsWith('nested ')) {
    const inner = new Worker(URL.createObjectURL(new Blob([WORKER_SOURCE])));
    return new Promise(done => {
      inner.onmessage = event => done(event.data);
      inner.onerror = () => done('refused');
      inner.postMessage({how: how.slice(7), url});
    });
  }
  throw new Error('no such read ' + how);
};
const answer = (port, {how, url}) =>
  readIn(how, url).then(text => port.postMessage(String(text)), () => port.postMessage('refused'));
self.onmessage = event => answer(self, event.data);
self.onconnect = event => {
  const port = event.ports[0];
  port.onmessage = message => answer(port, message.data);
};
"""

ROUTES_SCRIPT = r"""
const WORKER_SOURCE = %(worker)s;
const workerScript = 'const WORKER_SOURCE = ' + JSON.stringify(WORKER_SOURCE) + ';' + WORKER_SOURCE;
const settle = promise => promise.then(text => String(text), () => 'refused');
let fonts = 0;

function loaded(element, attribute, url, read) {
  return new Promise(done => {
    element.onload = () => { try { done(read(element)); } catch (e) { done('refused'); } };
    element.onerror = () => done('refused');
    element[attribute] = url;
    document.body.appendChild(element);
  }).finally(() => element.remove());
}

function popup(url) {
  const opened = window.open(url);
  if (!opened) return Promise.resolve('refused');
  // The popup holds its empty first document until the address commits: poll its state.
  return new Promise(done => {
    const look = () => {
      let text;
      try {
        if (opened.location.href === 'about:blank' || opened.document.readyState !== 'complete')
          return setTimeout(look, 50);
        text = opened.document.documentElement.textContent;
      } catch (e) { text = 'refused'; }
      opened.close();
      done(text);
    };
    look();
  });
}

function inWorker(kind, how, url) {
  const sources = {
    file: () => 'own/worker.js',
    blob: () => URL.createObjectURL(new Blob([workerScript], {type: 'text/javascript'})),
    data: () => 'data:text/javascript,' + encodeURIComponent(workerScript),
  };
  const [type, from] = kind.split(' ');
  if (type === 'shared' && typeof SharedWorker === 'undefined') return 'no shared workers';
  return new Promise(done => {
    const worker = type === 'shared' ? new SharedWorker(sources[from]()) : new Worker(sources[from]());
    const port = type === 'shared' ? worker.port : worker;
    port.onmessage = event => done(event.data);
    worker.onerror = () => done('refused');
    if (type === 'shared') port.start();
    port.postMessage({how, url});
  });
}

const READS = {
  'fetch': url => fetch(url).then(reply => reply.text()),
  'synchronous XHR': url => {
    const request = new XMLHttpRequest();
    request.open('GET', url, false);
    request.send();
    return request.responseText;
  },
  'asynchronous XHR': url => new Promise((done, fail) => {
    const request = new XMLHttpRequest();
    request.onload = () => done(request.responseText);
    request.onerror = fail;
    request.open('GET', url);
    request.send();
  }),
  'EventSource': url => new Promise((done, fail) => {
    const source = new EventSource(url);
    source.onmessage = event => { source.close(); done(event.data); };
    source.onerror = () => { source.close(); fail(); };
  }),
  'module import()': url => import(url).then(module => module.default),
  'JSON module': url => import(url, {assert: {type: 'json'}}).then(module => module.default.token),
  'script': url => loaded(document.createElement('script'), 'src', url, () => self.readToken),
  'style sheet': url => {
    const link = document.createElement('link');
    link.rel = 'stylesheet';
    return loaded(link, 'href', url, element => element.sheet.cssRules[0].cssText);
  },
  'style sheet @import': url => {
    const style = document.createElement('style');
    style.textContent = `@import url("${url}");`;
    return new Promise(done => {
      style.onload = () => done(style.sheet.cssRules[0].styleSheet.cssRules[0].cssText);
      style.onerror = () => done('refused');
      document.head.appendChild(style);
    }).finally(() => style.remove());
  },
  'audio worklet': url => {
    const context = new AudioContext();
    return context.audioWorklet.addModule(url).then(() => 'worklet').finally(() => context.close());
  },
  'image': url => loaded(new Image(), 'src', url, image => 'image ' + image.naturalWidth),
  'font': url => new FontFace('probe' + ++fonts, `url("${url}")`).load().then(() => 'font'),
  'iframe': url => loaded(document.createElement('iframe'), 'src', url,
                          frame => frame.contentDocument.documentElement.textContent),
  'object': url => loaded(document.createElement('object'), 'data', url,
                          object => object.contentDocument.documentElement.textContent),
  'embed': url => loaded(document.createElement('embed'), 'src', url,
                         embed => embed.getSVGDocument().documentElement.textContent),
  'window.open': popup,
  // Reads made by other documents' loaders: an empty frame's and an empty popup's.
  'fetch in an empty frame': url => {
    const frame = document.body.appendChild(document.createElement('iframe'));
    return frame.contentWindow.fetch(url).then(reply => reply.text()).finally(() => frame.remove());
  },
  'fetch in an empty popup': url => {
    const opened = window.open('');
    return opened.fetch(url).then(reply => reply.text()).finally(() => opened.close());
  },
  'service worker': url => navigator.serviceWorker
      ? navigator.serviceWorker.register(url).then(() => 'registered')
      : Promise.reject(),
};

async function tryRoute(route, url) {
  self.readToken = undefined;
  const [place, how] = route.split(': ');
  const text = await settle(Promise.resolve().then(
      () => how ? inWorker(place, how, url) : READS[route](url)));
  await fetch(%(report)s, {method: 'POST', body: JSON.stringify({route, url, text})})
      .catch(() => {});
  return text;
}
"""

# Each route with the file it reads: page routes, then every kind of worker with every way a
# worker reads.
PAGE_ROUTES = {
    "fetch": "data.txt", "synchronous XHR": "data.txt", "asynchronous XHR": "data.txt",
    "EventSource": "data.txt", "module import()": "module.js", "JSON module": "data.json",
    "script": "script.js", "style sheet": "style.css", "style sheet @import": "style.css",
    "audio worklet": "script.js", "image": "image.svg", "font": "font.ttf",
    "iframe": "data.txt", "object": "data.txt", "embed": "image.svg", "window.open": "data.txt",
    "fetch in an empty frame": "data.txt", "fetch in an empty popup": "data.txt",
    "service worker": "script.js",
}
WORKER_READS = {"fetch": "data.txt", "synchronous XHR": "data.txt",
                "importScripts": "script.js", "import()": "module.js",
                "nested fetch": "data.txt"}
WORKER_KINDS = ["dedicated file", "dedicated blob", "dedicated data",
                "shared file", "shared blob", "shared data"]
ROUTES = dict(PAGE_ROUTES, **{f"{kind}: {how}": name for kind in WORKER_KINDS
                              for how, name in WORKER_READS.items()})

# Routes the engine itself closes to every file, the app's own included: what they answer.
CLOSED_BY_THE_ENGINE = {
    # A stream must be served as text/event-stream, which no file is.
    "EventSource": "refused",
    # Service workers need a web origin.
    "service worker": "refused",
}
# Workers made from data: addresses run in an origin of their own, which the app's files do
# not share; shared workers are turned off, since their loads pass beside the shell's guard.
for how in WORKER_READS:
    CLOSED_BY_THE_ENGINE[f"dedicated data: {how}"] = "refused"
    for source in ("file", "blob", "data"):
        CLOSED_BY_THE_ENGINE[f"shared {source}: {how}"] = "no shared workers"

# The routes that show the app's own file loading by each other way to write its address. The
# engine takes file://localhost/ for an origin of its own, which scripts of file:// pages may
# not read: an image shows that it loads.
OWN_ADDRESS_ROUTES = {
    "own through localhost": ("image", "script"),
    "own with many separators": ("fetch", "iframe", "dedicated file: fetch"),
    "own with an escaped name": ("fetch", "iframe", "dedicated file: fetch"),
}


class ReportServer:
    """A loopback server that keeps every report the page posts to it."""

    def __init__(self):
        self.reports = []
        reports = self.reports

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                length = int(self.headers.get("Content-Length", 0))
                reports.append(json.loads(self.rfile.read(length)))
                self.send_response(204)
                self.send_header("Access-Control-Allow-Origin", "*")
                self.end_headers()

            def log_message(self, *args):
                pass

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self._server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self._server.server_address[1]}/report"

    def close(self):
        self._server.shutdown()
        self._server.server_close()


class FileRoutesTest(harness.ShellTestCase):

    def setUp(self):
        super().setUp()
        self.own_token, self.secret_token = "own-" + uuid.uuid4().hex, "secret-" + uuid.uuid4().hex
        self.server = ReportServer()
        self.addCleanup(self.server.close)
        self.app = self.workdir
        self.secret_folder = os.path.join(self.root, "secret")  # beside the app, not in it
        self.write_files(os.path.join(self.app, "own"), self.own_token)
        self.write_files(self.secret_folder, self.secret_token)
        with open(os.path.join(self.app, "own", "worker.js"), "w") as file:
            file.write(f"const WORKER_SOURCE = {json.dumps(WORKER)};{WORKER}")
        links = os.path.join(self.app, "links")
        os.mkdir(links)
        for name in os.listdir(self.secret_folder):
            os.symlink(os.path.join(self.secret_folder, name), os.path.join(links, name))
        os.symlink(self.secret_folder, os.path.join(self.app, "secret-folder"))
        with open(os.path.join(self.app, "routes.html"), "w") as page:
            page.write("<!DOCTYPE html><body><script>%s</script>" % ROUTES_SCRIPT % {
                "worker": json.dumps(WORKER), "report": json.dumps(self.server.url)})

    @staticmethod
    def write_files(folder, token):
        os.makedirs(folder)
        for name, text in FILES.items():
            with open(os.path.join(folder, name), "w") as file:
                file.write(text.format(token=token))
        shutil.copy(FONT, os.path.join(folder, "font.ttf"))

    def own_addresses(self, name):
        app = self.app
        return {"own": f"file://{app}/own/{name}",
                "own through localhost": f"file://localhost{app}/own/{name}",
                "own with many separators": f"file://{app}{MANY_SEPARATORS}own/{name}",
                "own with an escaped name": f"file://{app}/own/%{ord(name[0]):02X}{name[1:]}"}

    def secret_addresses(self, name):
        app, secret = self.app, self.secret_folder
        return {"outside": f"file://{secret}/{name}",
                "through localhost": f"file://localhost{secret}/{name}",
                "through a file link": f"file://{app}/links/{name}",
                "through a folder link": f"file://{app}/secret-folder/{name}",
                "many separators, then a link": f"file://{app}{MANY_SEPARATORS}links/{name}",
                "escaped link name": f"file://{app}/%6Cinks/{name}",
                "escaped climb": f"file://{app}/own/..%2F..%2Fsecret/{name}"}

    def start_as_user(self):
        os.chmod(self.root, 0o755)
        os.chown(self.home, UNPRIVILEGED, UNPRIVILEGED)
        user_runtime = os.path.join(self.root, "user-runtime")
        os.makedirs(user_runtime, mode=0o700)
        os.chown(user_runtime, UNPRIVILEGED, UNPRIVILEGED)
        for parent, folders, files in os.walk(self.root):
            for entry in folders + files:
                path = os.path.join(parent, entry)
                if not os.path.islink(path) and not path.startswith((self.home, user_runtime)):
                    os.chmod(path, 0o755 if entry in folders else 0o644)
        launch = os.path.join(self.root, "launch-as-user.sh")
        with open(launch, "w") as script:
            script.write("#!/bin/sh\nexec setpriv --reuid={0} --regid={0} --clear-groups "
                         "env XDG_RUNTIME_DIR={1} {2}\n".format(
                             UNPRIVILEGED, shlex.quote(user_runtime),
                             shlex.quote(self.executable)))
        os.chmod(launch, 0o755)
        self.start_shell(executable=launch)

    def open_routes(self):
        self.open_page("/request.html").evaluate("location.href = 'routes.html'")
        return self.open_page("/routes.html", harness.EVENT_TIMEOUT)

    def try_every_route(self, page):
        for route, name in ROUTES.items():
            closed = CLOSED_BY_THE_ENGINE.get(route)
            for where, url in self.own_addresses(name).items():
                if where != "own" and route not in OWN_ADDRESS_ROUTES[where]:
                    continue  # each way to write the address is shown by a few routes
                with self.subTest(route=route, where=where):
                    text = page.evaluate(f"tryRoute({json.dumps(route)}, {json.dumps(url)})")
                    if closed:
                        self.assertEqual(text, closed)
                    else:
                        self.assertNotEqual(text, "refused")
                        if route not in ("image", "font", "audio worklet"):
                            self.assertIn(self.own_token, text)
            for where, url in self.secret_addresses(name).items():
                with self.subTest(route=route, where=where):
                    text = page.evaluate(f"tryRoute({json.dumps(route)}, {json.dumps(url)})")
                    self.assertEqual(text, closed or "refused")
        self.try_the_profiles_storage(page)
        self.assertEqual([f"{report['route']} <- {report['url'][:200]}"
                          for report in self.server.reports
                          if self.secret_token in report["text"]], [])
        self.assertGreater(len(self.server.reports), len(ROUTES))

    def try_the_profiles_storage(self, page):
        """The profile keeps what pages store (cookies and storage of every site) in the app
        folder when it can write there: no page reads it."""
        storage = os.path.join(self.app, "cache")
        if not os.path.isdir(storage):
            return  # an ordinary user keeps it in a cache folder of their own, outside
        for name in ["", *os.listdir(storage)]:
            for route in ("fetch", "iframe"):
                with self.subTest(route=route, where="the profile's storage", name=name):
                    self.assertEqual(page.evaluate(f"tryRoute({json.dumps(route)}, "
                                                   f"{json.dumps(f'file://{storage}/{name}')})"),
                                     "refused")

    def navigate_top_level(self, page, url):
        """What the main frame shows after a page sends it to url."""
        page.evaluate(f"location.href = {json.dumps(url)}")
        # The document may still be replaced by the error page: its text is read in one step.
        text = harness.wait_for("the navigation to end", lambda: page.evaluate(
            "!window.tryRoute && document.readyState === 'complete' && document.documentElement"
            " ? document.documentElement.textContent : ''"))
        page.call("Page.navigate", url=f"file://{self.app}/routes.html")
        harness.wait_for("the routes page", lambda: page.evaluate(
            "!!window.tryRoute && document.readyState === 'complete'"))
        return text

    def try_top_level_navigation(self, page):
        self.assertIn(self.own_token,
                      self.navigate_top_level(page, self.own_addresses("data.txt")["own"]))
        for where, url in self.secret_addresses("data.txt").items():
            with self.subTest(route="top-level navigation", where=where):
                self.assertNotIn(self.secret_token, self.navigate_top_level(page, url))

    def download_as_offered(self, page, url):
        """Follows a download link to url and accepts the save dialog it brings."""
        known = set(harness.managed_windows())
        self.click_download_link(page, url)
        dialog = harness.wait_for("the save dialog", lambda: next(
            (window for window, title in harness.managed_windows().items()
             if window not in known and title != "Downloads"), None))
        harness.wait_for("the save dialog to be active", lambda: harness.active_window() == dialog)
        harness.press_keys("Return")
        harness.wait_for("the save dialog to close",
                         lambda: dialog not in harness.managed_windows())

    @staticmethod
    def click_download_link(page, url):
        # In a frame of its own: the engine follows a link it will not download from another
        # origin (file://localhost) as a link, and the frame goes there instead of the page.
        page.evaluate(f"""(() => {{
            const frame = document.body.appendChild(document.createElement('iframe'));
            const link = frame.contentDocument.createElement('a');
            link.href = {json.dumps(url)};
            link.download = '';
            frame.contentDocument.body.appendChild(link);
            setTimeout(() => link.click());  // after this reply: a save dialog holds the shell
        }})()""", userGesture=True)

    def test_a_file_outside_the_app_folder_is_not_downloaded(self):
        self.start_shell()
        page = self.open_routes()
        for url in self.secret_addresses("data.txt").values():
            self.click_download_link(page, url)
        # Each download after the refused ones is offered: had any of those been let through,
        # its dialog would have come first and saved the secret.
        for name in ("data.txt", "data.json"):
            self.download_as_offered(page, self.own_addresses(name)["own"])
        folder = os.path.join(self.home, "Downloads")
        harness.wait_for("both downloads to complete",
                         lambda: sorted(os.listdir(folder)) == ["data.json", "data.txt"])
        for name in os.listdir(folder):
            with open(os.path.join(folder, name)) as saved:
                self.assertIn(self.own_token, saved.read())

    def test_no_route_reads_a_file_outside_the_app_folder(self):
        self.start_shell()
        page = self.open_routes()
        self.try_every_route(page)
        self.try_top_level_navigation(page)

    def test_switches_given_to_the_engine_do_not_open_a_route(self):
        # Both would have workers load beside the shell's guard.
        launch = os.path.join(self.root, "launch-with-switches.sh")
        with open(launch, "w") as script:
            script.write("#!/bin/sh\nexec {} --enable-features=PlzDedicatedWorker "
                         "--enable-blink-features=SharedWorker\n".format(
                             shlex.quote(self.executable)))
        os.chmod(launch, 0o755)
        self.start_shell(executable=launch)
        self.try_every_route(self.open_routes())

    def test_no_route_reads_a_file_outside_the_app_folder_as_an_ordinary_user(self):
        self.start_as_user()
        page = self.open_routes()
        self.try_every_route(page)
        self.try_top_level_navigation(page)


if __name__ == "__main__":
    unittest.main()
