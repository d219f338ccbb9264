"""A client of the engine's DevTools protocol: the target list over HTTP and, per page, just
enough of WebSocket for Runtime.evaluate."""

import base64
import contextlib
import json
import os
import re
import socket
import struct
import urllib.request

from waits import EVENT_TIMEOUT, FIRST_LOAD_TIMEOUT, NotYet, wait_for

ERROR_DOCUMENT = "chrome-error://chromewebdata/"  # where the engine shows a failed load


class DevToolsError(NotYet):
    """The endpoint or a page did not answer as the protocol says."""


def free_loopback_port():
    with contextlib.closing(socket.socket()) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class DevToolsPage:
    """One page target over its WebSocket: enough of the protocol for Runtime.evaluate."""

    def __init__(self, websocket_url, timeout=EVENT_TIMEOUT):
        match = re.match(r"ws://([^:/]+):(\d+)(/.*)", websocket_url)
        if not match:
            raise DevToolsError(f"unexpected WebSocket address {websocket_url}")
        host, port, path = match.group(1), int(match.group(2)), match.group(3)
        self._socket = socket.create_connection((host, port), timeout=timeout)
        self._buffer = b""
        self._next_id = 0
        self._handshake(host, port, path)

    def close(self):
        self._socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _handshake(self, host, port, path):
        key = base64.b64encode(os.urandom(16)).decode()
        self._socket.sendall((f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\n"
                              "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                              f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n"
                              ).encode())
        while b"\r\n\r\n" not in self._buffer:
            self._receive_more()
        response, self._buffer = self._buffer.split(b"\r\n\r\n", 1)
        if b" 101 " not in response.split(b"\r\n", 1)[0]:
            raise DevToolsError(f"WebSocket upgrade refused: {response[:200]!r}")

    def _receive_more(self):
        chunk = self._socket.recv(65536)
        if not chunk:
            raise DevToolsError("DevTools connection closed")
        self._buffer += chunk

    def _take(self, count):
        while len(self._buffer) < count:
            self._receive_more()
        taken, self._buffer = self._buffer[:count], self._buffer[count:]
        return taken

    def _send_text(self, text):
        payload = text.encode()
        header = bytes([0x81])  # FIN, text frame
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 1 << 16:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        mask = os.urandom(4)  # clients must mask their frames
        masked = bytes(byte ^ mask[i % 4] for i, byte in enumerate(payload))
        self._socket.sendall(header + mask + masked)

    def _receive_message(self):
        message = b""
        while True:
            first, second = self._take(2)
            length = second & 0x7F
            if length == 126:
                (length,) = struct.unpack(">H", self._take(2))
            elif length == 127:
                (length,) = struct.unpack(">Q", self._take(8))
            payload = self._take(length)
            opcode = first & 0x0F
            if opcode == 0x8:
                raise DevToolsError("DevTools closed the WebSocket")
            if opcode in (0x0, 0x1, 0x2):
                message += payload
                if first & 0x80:
                    return json.loads(message)

    def call(self, method, **params):
        self._next_id += 1
        request_id = self._next_id
        self._send_text(json.dumps({"id": request_id, "method": method, "params": params}))
        while True:
            reply = self._receive_message()
            if reply.get("id") == request_id:
                if "error" in reply:
                    raise DevToolsError(f"{method}: {reply['error']}")
                return reply["result"]

    def evaluate(self, expression, **options):
        """Value of a script expression in the page (promises are awaited); options go to
        Runtime.evaluate as they are (userGesture=True, say)."""
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True, **options)
        if "exceptionDetails" in result:
            raise DevToolsError(f"script failed: {result['exceptionDetails']}")
        return result["result"].get("value")


class DevTools:
    """The engine's DevTools endpoint on a loopback port."""

    def __init__(self, port):
        self.port = port

    def pages(self):
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}/json/list", timeout=2) as reply:
            return [target for target in json.load(reply) if target.get("type") == "page"]

    def page_with_url(self, url_suffix):
        for target in self.pages():
            if target.get("url", "").endswith(url_suffix):
                return target
        return None

    def wait_page(self, url_suffix, timeout=FIRST_LOAD_TIMEOUT):
        """Opens the page whose URL ends with url_suffix once its document has loaded."""
        target = wait_for(f"a page at *{url_suffix}", lambda: self.page_with_url(url_suffix),
                          timeout)
        page = DevToolsPage(target["webSocketDebuggerUrl"])
        try:
            # The target lists the URL before its document commits; until then the page
            # still holds the empty initial document, which also reads as complete. A failed
            # load commits the engine's error document, which has an address of its own.
            loaded = (f"(location.href.endsWith({json.dumps(url_suffix)})"
                      f" || location.href === {json.dumps(ERROR_DOCUMENT)})"
                      " && document.readyState === 'complete'")
            wait_for(f"*{url_suffix} to finish loading", lambda: page.evaluate(loaded), timeout)
        except Exception:
            page.close()
            raise
        return page
