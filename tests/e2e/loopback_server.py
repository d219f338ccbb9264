"""A small HTTP server of the test's own on a loopback port, whose replies the test steers:
whole bodies, or bodies that stop half way until the test lets them finish or drop."""

import http.server
import socket
import struct
import threading


class Reply:
    """What one path answers. With hold_after set, the reply sends that many bytes of the body,
    then waits until the test calls finish() (the rest follows) or drop() (the connection is
    reset, and so is every later request for the path). declare_length=False leaves the total
    size unknown to the client."""

    def __init__(self, body, content_type="application/octet-stream", hold_after=None,
                 declare_length=True, attachment=None):
        self.body = body
        self.content_type = content_type
        self.hold_after = hold_after
        self.declare_length = declare_length
        self.attachment = attachment
        self.sent_first_part = threading.Event()
        self._released = threading.Event()
        self._drop = False

    def finish(self):
        self._released.set()

    def drop(self):
        self._drop = True
        self._released.set()

    def headers(self):
        # Any page may read the replies, as a public web service would allow.
        headers = {"Content-Type": self.content_type, "Access-Control-Allow-Origin": "*"}
        if self.declare_length:
            headers["Content-Length"] = str(len(self.body))
        if self.attachment:
            headers["Content-Disposition"] = f'attachment; filename="{self.attachment}"'
        return headers

    @property
    def dropped(self):
        return self._drop

    def write_body(self, out):
        """Writes the body; returns False when the connection is to be cut instead."""
        if self.hold_after is None:
            out.write(self.body)
            return True
        out.write(self.body[:self.hold_after])
        out.flush()
        self.sent_first_part.set()
        self._released.wait()
        if self._drop:
            return False
        out.write(self.body[self.hold_after:])
        return True


class GeneratedReply(Reply):
    """A large body made while it is sent, never held whole: size bytes of a repeating
    pattern."""

    CHUNK = 1 << 20

    def __init__(self, size, attachment):
        super().__init__(b"", attachment=attachment)
        self.size = size

    def headers(self):
        headers = super().headers()
        headers["Content-Length"] = str(self.size)
        return headers

    @classmethod
    def chunks(cls, size):
        pattern = bytes(range(256)) * (cls.CHUNK // 256)
        for start in range(0, size, cls.CHUNK):
            yield pattern[:min(cls.CHUNK, size - start)]

    def write_body(self, out):
        for chunk in self.chunks(self.size):
            out.write(chunk)
        return True


class LoopbackServer:
    """Serves {path: Reply or bytes} on 127.0.0.1 in a thread, until the with block ends."""

    def __init__(self, routes):
        self.routes = {path: reply if isinstance(reply, Reply) else Reply(reply)
                       for path, reply in routes.items()}
        routes_seen = self.routes
        self.requested = []  # every path asked for, with its query, in order
        requested = self.requested

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                requested.append(self.path)
                reply = routes_seen.get(self.path.split("?")[0])
                if reply is None:
                    self.send_error(404)
                    return
                if reply.dropped:  # the server is gone for good
                    self.cut()
                    return
                self.send_response(200)
                for name, value in reply.headers().items():
                    self.send_header(name, value)
                self.send_header("Connection", "close")
                self.end_headers()
                try:
                    if not reply.write_body(self.wfile):
                        self.cut()
                except OSError:
                    pass  # the client went away

            def cut(self):
                """Resets the connection, as a server that goes away does."""
                self.wfile.flush()
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                           struct.pack("ii", 1, 0))
                self.close_connection = True

            def log_message(self, *args):
                pass

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)

    def url(self, path):
        return f"http://127.0.0.1:{self._server.server_address[1]}{path}"

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        for reply in self.routes.values():
            reply.drop()  # no reply thread stays waiting
        self._server.shutdown()
        self._server.server_close()
