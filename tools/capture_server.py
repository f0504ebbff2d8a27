#!/usr/bin/env python3
"""The capture server of the differential suite (scripts/test-differential.sh).

It binds 127.0.0.1 on a free port and prints that port on the first line of
its standard output. Every request is appended raw (request line, headers and
body exactly as they arrived) to the --log file as a record
"REQUEST <length>\\n<bytes>\\n"; a connection that opens with a TLS handshake is
recorded as the single record "<TLS>" and closed. Connections are kept open
between requests unless the client asks otherwise.

Paths are "/<case>/<answer>[/...][?query]"; a request in absolute form (as a
proxy gets it) is answered by its path the same way, and a CONNECT gets 403.
The answers:

  ok                 200, body "ok"
  binary             200, 512 bytes cycling through 0..255 (zero bytes inside)
  status-404         404, body "missing"
  set-cookie         200, Set-Cookie: plat=new for "/", fresh=1 for the case
  odd-headers        200 with header lines in odd forms, two of them cookies
  no-colon           200 with a header line that holds no colon
  big-headers        200 whose header block is about 6 KB
  redirect-<code>    that status, Location: /<case>/landing, body "moved"
  landing            200, body "landed"

    tools/capture_server.py --log /tmp/capture.log
"""

import argparse
import signal
import socket
import sys

from loopback_common import RequestLog, read_request, serve_forever

request_log = RequestLog(None)

ODD_HEADERS = [b"Set-Cookie:tight=2", b"X-Wide:    c    ", b"X-Empty:", b"x-lower:v",
               b"X-Colon: a:b", b"Set-Cookie: loose=1", b"X-Tab:\tt\t"]
BIG_HEADERS = [b"X-Filler-%02d: %s" % (i, b"x" * 100) for i in range(56)]


def answer(method, path):
    """(status line, header lines, body) for one request."""
    segments = path.split(b"?", 1)[0].split(b"/")
    case = segments[1] if len(segments) > 1 else b""
    kind = segments[2] if len(segments) > 2 else b""
    status, headers, body = b"200 OK", [b"Content-Type: text/plain"], b"ok"
    if kind == b"binary":
        headers, body = [b"Content-Type: application/octet-stream"], bytes(i % 256 for i in range(512))
    elif kind == b"status-404":
        status, body = b"404 Not Found", b"missing"
    elif kind == b"set-cookie":
        headers += [b"Set-Cookie: plat=new; path=/", b"Set-Cookie: fresh=1; path=/" + case + b"/"]
    elif kind == b"odd-headers":
        headers += ODD_HEADERS
    elif kind == b"no-colon":
        headers += [b"X-Before: 1", b"NoColonLine", b"X-After: 2"]
    elif kind == b"big-headers":
        headers += BIG_HEADERS
    elif kind.startswith(b"redirect-"):
        code = kind[len(b"redirect-"):]
        reasons = {b"301": b"Moved Permanently", b"302": b"Found", b"303": b"See Other",
                   b"307": b"Temporary Redirect"}
        status = code + b" " + reasons.get(code, b"Redirect")
        headers += [b"Location: /" + case + b"/landing"]
        body = b"moved"
    elif kind == b"landing":
        body = b"landed"
    if method == b"CONNECT":
        status, headers, body = b"403 Forbidden", [], b""
    return status, headers, body


def handle(conn):
    with conn:
        try:
            first = conn.recv(1, socket.MSG_PEEK)
            if first == b"\x16":
                request_log.record(b"<TLS>")
                return
            pending = b""
            while True:
                raw, pending = read_request(conn, pending)
                if raw is None:
                    return
                request_log.record(raw)
                head = raw.split(b"\r\n\r\n", 1)[0]
                request_line = head.split(b"\r\n", 1)[0]
                parts = request_line.split(b" ")
                method, target = parts[0], parts[1] if len(parts) > 1 else b"/"
                if target.startswith((b"http://", b"https://")):
                    rest = target.split(b"//", 1)[1]
                    target = b"/" + rest.split(b"/", 1)[1] if b"/" in rest else b"/"
                status, headers, body = answer(method, target)
                closing = method == b"CONNECT" or b"\r\nconnection: close" in head.lower()
                out = [b"HTTP/1.1 " + status] + headers
                out.append(b"Content-Length: %d" % len(body))
                if closing:
                    out.append(b"Connection: close")
                conn.sendall(b"\r\n".join(out) + b"\r\n\r\n" + (b"" if method == b"HEAD" else body))
                if closing:
                    return
        except OSError:
            pass


def main():
    global request_log
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--log", help="file the raw requests are appended to")
    args = parser.parse_args()
    request_log = RequestLog(args.log)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    serve_forever(handle)


if __name__ == "__main__":
    main()
