"""Serves the demo feed documents on 127.0.0.1 for the demo run.

Usage: serve_feeds.py FOLDER PORT-FILE [PORT]
Listens on PORT (a free one when it is 0 or busy), writes the port into PORT-FILE once it
listens, and serves the files of FOLDER until it is stopped.
"""
import functools
import http.server
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


def main():
    folder, port_file = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    handler = functools.partial(QuietHandler, directory=folder)
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", wanted), handler)
    except OSError:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    with open(port_file, "w") as out:
        out.write(str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main()
