#!/usr/bin/env python3
"""Serves a fixture folder on 127.0.0.1 for the download test, plus replies a
plain file server cannot give: a hostile content type, none at all, a body cut
short, one too large, one without end and one that trickles.

Usage: http_fixture_server.py FOLDER. Prints the port the system chose, then serves
until killed."""
import functools
import http.server
import sys
import time

CHUNK = b"\0" * (1 << 20)


class FixtureHandler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        special = SPECIAL.get(self.path.split("?", 1)[0])
        if special is None:
            return super().do_GET()
        try:
            special(self)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up, as the cancel tests want it to

    def head(self, content_type, length=None):
        self.send_response(200)
        if content_type is not None:
            self.send_header("Content-Type", content_type)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def hostile(self):
        body = b"not really a picture"
        self.head("image/../../evil", len(body))
        self.wfile.write(body)

    def untyped(self):
        body = b"\xff\xd8\xff\xe0 no type"
        self.head(None, len(body))
        self.wfile.write(body)

    def truncated(self):
        self.head("image/jpeg", 100000)
        self.wfile.write(b"\xff\xd8" + b"\1" * 998)  # then the connection closes

    def huge(self):
        self.head("image/jpeg", 100 << 20)
        self.wfile.write(CHUNK)

    def endless(self):
        self.head("image/jpeg")
        for _ in range(200):  # ends by itself well past any sane cap
            self.wfile.write(CHUNK)

    def slow(self):
        seconds, steps = 30, 600
        self.head("image/jpeg", steps)
        for _ in range(steps):
            self.wfile.write(b"\1")
            self.wfile.flush()
            time.sleep(seconds / steps)

    def log_message(self, format, *args):
        pass


SPECIAL = {
    "/hostile": FixtureHandler.hostile,
    "/untyped": FixtureHandler.untyped,
    "/truncated.jpg": FixtureHandler.truncated,
    "/huge.jpg": FixtureHandler.huge,
    "/endless.jpg": FixtureHandler.endless,
    "/slow.jpg": FixtureHandler.slow,
}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    handler = functools.partial(FixtureHandler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
