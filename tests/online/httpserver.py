#!/usr/bin/env python3
"""Download folder for the update tests: one sub-folder per kind of server behaviour.

Prints its port on the first line of stdout, then serves until killed. Each request line is appended to the
log file given as first argument.
"""
import hashlib
import http.server
import socketserver
import sys
import time

LOG = sys.argv[1] if len(sys.argv) > 1 else None


def installer(size=5000):
    return bytes((i * 7 + 3) % 251 for i in range(size))


def description(version, sha=None, pad=1200):
    text = "<?xml version=\"1.0\"?>\r\n<Lenkwerk>\r\n<Program_Version>%s</Program_Version>\r\n" % version
    if sha is not None:
        text += "<Program_Sha256>%s</Program_Sha256>\r\n" % sha
    text += "<!-- " + "x" * pad + " -->\r\n</Lenkwerk>\r\n"
    return text.encode("latin-1")


GOOD_SHA = hashlib.sha256(installer()).hexdigest()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def raw(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def plain(self, body, status=200, version="HTTP/1.0", length=True):
        head = "%s %d X\r\nContent-Type: application/octet-stream\r\n" % (version, status)
        if length:
            head += "Content-Length: %d\r\n" % len(body)
        self.raw(head.encode() + b"\r\n" + body)

    def do_GET(self):
        if LOG:
            with open(LOG, "a") as f:
                f.write(self.requestline + "|" + self.headers.get("Host", "") + "\n")
        parts = self.path.strip("/").split("/")
        kind, name = (parts + ["", ""])[:2]
        is_desc = name == "Lenkwerk.xml"
        if kind in ("v242", "v241", "v300"):
            version = {"v242": "2.42", "v241": "2.41", "v300": "3.00"}[kind]
            self.plain(description(version, GOOD_SHA) if is_desc else installer())
        elif kind == "badsha":
            self.plain(description("2.42", "0" * 64) if is_desc else installer())
        elif kind == "nosha":
            self.plain(description("2.42") if is_desc else installer())
        elif kind == "small":
            self.plain(description("2.42", GOOD_SHA, pad=10)[:500])
        elif kind == "errorpage":
            page = b"<html><head><title>404 Not Found</title></head><body>" + b"Nicht gefunden. " * 120 + b"</body></html>"
            self.plain(page, status=404)
        elif kind == "chunked":
            body = description("2.42", GOOD_SHA) if is_desc else installer()
            out = b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
            for i in range(0, len(body), 700):
                piece = body[i:i + 700]
                out += b"%x;ext=1\r\n" % len(piece) + piece + b"\r\n"
            self.raw(out + b"0\r\nX-Trailer: 1\r\n\r\n")
        elif kind == "chunked10":
            # An HTTP/1.0 reply does not know chunks: the header is ignored and the bytes are the body.
            self.raw(b"HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + b"5\r\nhallo\r\n0\r\n\r\n" + b"y" * 2000)
        elif kind == "nolength":
            self.plain(description("2.42", GOOD_SHA) if is_desc else installer(), length=False)
        elif kind == "stall":
            time.sleep(30)
        elif kind == "trickle":
            # One header byte every 0.3 s: never a full time-out, but the head never ends either.
            for c in b"HTTP/1.0 200 OK\r\nX-Slow: " + b"a" * 100:
                self.raw(bytes([c]))
                time.sleep(0.3)
        elif kind == "early":
            self.raw(b"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + installer(3000))
        elif kind == "lie":
            # Announces less than it sends: only the announced bytes count.
            self.raw(b"HTTP/1.0 200 OK\r\nContent-Length: 600\r\n\r\n" + installer(5000))
        elif kind == "longheader":
            self.raw(b"HTTP/1.0 200 OK\r\nX-Long: " + b"a" * 100000 + b"\r\n\r\n" + installer())
        elif kind == "huge":
            self.raw(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % (50 * 1024 * 1024))
            block = b"z" * 65536
            for _ in range(16):
                self.raw(block)
        elif kind == "hugenolength":
            self.raw(b"HTTP/1.0 200 OK\r\n\r\n")
            block = b"z" * 65536
            try:
                for _ in range(800):
                    self.raw(block)
            except OSError:
                pass
        else:
            self.plain(b"unknown", status=404)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


if __name__ == "__main__":
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()
