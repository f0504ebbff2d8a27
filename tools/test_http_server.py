#!/usr/bin/env python3
"""Loopback HTTP(S) server for the tests of the HTTP platform layer.

It binds 127.0.0.1 on a free port and prints that port on the first line of
its standard output. Every request it receives is appended raw (request line,
headers and body exactly as they arrived) to the --log file as a record
"REQUEST <length>\\n<bytes>\\n". The path chooses the answer:

  /echo...                  200, the body is the raw request itself
  /cookies/echo             the same, below the path the cookies are set for
  /cookies/set?name=N&value=V  200, Set-Cookie: N=V; Path=/cookies
  /status/<code>            that status; body "status <code>" (none for 204, 304)
  /chunked                  200, body "hello, chunked world" in chunks, one trailer
  /bytes                    200, 3000 bytes cycling through 0..255 (zero bytes inside)
  /redirect?to=<location>   302 to <location>, body "moved"
  /loop                     302 to /loop, forever
  /big-headers              200 whose header block exceeds 6000 bytes
  /silent                   reads the request and never answers
  /endless                  200 with an endless body (ends when the client leaves)
  /body?hex=<hex>           200, the body is those bytes
  /delay?ms=<n>&hex=<hex>   waits n milliseconds, then answers as /body

Hostile answers, for the hardening tests:

  /trickle?every=<s>&bytes=<n>  200 announcing n bytes (default 1000), then one
                            byte every s seconds (default 2)
  /reset?after=<n>          200 announcing 1000 bytes, sends the first n (default
                            40) of a check answer holding "域名正常", then resets
                            the connection
  /header-flood?bytes=<n>   header lines without end, or n bytes of them and
                            then a short body
  /not-http                 a line that is no HTTP status line, some text, close

With --answer-as TARGET every request is answered as if it had asked for
TARGET (it is still logged as it came), so that a client whose paths are fixed,
such as the monitor's check, meets any of the answers above.

With --tls it speaks HTTPS with a self-signed certificate for "localhost" that
it makes with the openssl command at start, in a temporary folder.

    tools/test_http_server.py --log /tmp/requests.log [--tls] [--answer-as TARGET]
"""

import argparse
import os
import signal
import socket
import ssl
import struct
import subprocess
import sys
import tempfile
import time
import urllib.parse

from loopback_common import RequestLog, read_request, serve_forever

answer_as = None
request_log = RequestLog(None)

# A block-check answer in UTF-8 that says "域名正常": what /reset cuts short.
CHECK_ANSWER = '{"code":0,"msg":"域名正常","data":"%s"}' % ("x" * 900)


def response(status, headers=(), body=b"", head_only=False, reason="Reason"):
    lines = [b"HTTP/1.1 %d %s" % (status, reason.encode())]
    lines += [h.encode() if isinstance(h, str) else h for h in headers]
    if status not in (204, 304):
        lines.append(b"Content-Length: %d" % len(body))
    out = b"\r\n".join(lines) + b"\r\n\r\n"
    return out if head_only or status in (204, 304) else out + body


def reset(conn):
    """Ends the connection with a reset instead of an orderly close."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    conn.close()


def answer(conn, raw):
    """Sends the answer to one request; returns False to end the connection."""
    request_line = raw.split(b"\r\n", 1)[0]
    parts = request_line.split(b" ")
    method = parts[0]
    target = parts[1] if len(parts) > 1 else b"/"
    if answer_as:
        target = answer_as.encode("latin-1")
    path, _, query = target.partition(b"?")
    params = dict(urllib.parse.parse_qsl(query.decode("latin-1")))
    head_only = method == b"HEAD"

    if path.startswith(b"/echo") or path == b"/cookies/echo":
        conn.sendall(response(200, ["Content-Type: application/octet-stream"], raw, head_only))
    elif path == b"/cookies/set":
        cookie = "Set-Cookie: %s=%s; Path=/cookies" % (params.get("name", "n"), params.get("value", "v"))
        conn.sendall(response(200, [cookie], b"cookie set", head_only))
    elif path.startswith(b"/status/"):
        code = int(path.split(b"/")[2])
        conn.sendall(response(code, [], b"status %d" % code, head_only))
    elif path == b"/chunked":
        pieces = [b"hello", b", chunked", b" world"]
        body = b"".join(b"%x\r\n%s\r\n" % (len(p), p) for p in pieces) + b"0\r\nX-Trailer: done\r\n\r\n"
        head = b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTrailer: X-Trailer\r\n\r\n"
        conn.sendall(head if head_only else head + body)
    elif path == b"/bytes":
        conn.sendall(response(200, [], bytes(i % 256 for i in range(3000)), head_only))
    elif path == b"/redirect":
        conn.sendall(response(302, ["Location: " + params.get("to", "/echo")], b"moved", head_only, "Found"))
    elif path == b"/loop":
        conn.sendall(response(302, ["Location: /loop"], b"again", head_only, "Found"))
    elif path == b"/big-headers":
        filler = ["X-Filler-%02d: %s" % (i, "f" * 100) for i in range(60)]
        conn.sendall(response(200, filler, b"big", head_only))
    elif path == b"/silent":
        while conn.recv(65536):
            pass
        return False
    elif path == b"/endless":
        conn.sendall(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
        block = b"x" * 65536
        while True:
            conn.sendall(block)
    elif path in (b"/body", b"/delay"):
        time.sleep(int(params.get("ms", "0")) / 1000.0)
        conn.sendall(response(200, [], bytes.fromhex(params.get("hex", "")), head_only, "OK"))
    elif path == b"/trickle":
        total = int(params.get("bytes", "1000"))
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % total)
        for _ in range(total):
            time.sleep(float(params.get("every", "2")))
            conn.sendall(b"x")
    elif path == b"/reset":
        body = CHECK_ANSWER.encode("utf-8")
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % (len(body) + 100))
        conn.sendall(body[:int(params.get("after", "40"))])
        time.sleep(0.1)  # the client has the piece before the reset comes
        reset(conn)
        return False
    elif path == b"/header-flood":
        limit = int(params.get("bytes", "0"))
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 7\r\n")
        sent, i = 0, 0
        while not limit or sent < limit:
            line = b"X-Flood-%d: %s\r\n" % (i, b"f" * 200)
            conn.sendall(line)
            sent, i = sent + len(line), i + 1
        conn.sendall(b"\r\nflooded")
    elif path == b"/not-http":
        conn.sendall(b"SSH-2.0-OpenSSH_9.2\r\nProtocol mismatch.\r\n\r\nno http here")
        return False
    else:
        conn.sendall(response(404, [], b"no such route", head_only, "Not Found"))
    return True


def wants_close(raw):
    head = raw.split(b"\r\n\r\n", 1)[0]
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"connection" and value.strip().lower() == b"close":
            return True
    return False


def serve(conn, tls):
    try:
        if tls:
            conn = tls.wrap_socket(conn, server_side=True)
        pending = b""
        while True:
            raw, pending = read_request(conn, pending)
            if raw is None:
                break
            request_log.record(raw)
            if not answer(conn, raw) or wants_close(raw):
                break
    except (OSError, ssl.SSLError, ValueError):
        pass
    finally:
        try:
            conn.close()
        except OSError:
            pass


def make_tls_context(folder):
    key = os.path.join(folder, "key.pem")
    cert = os.path.join(folder, "cert.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
         "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=localhost",
         "-addext", "subjectAltName=DNS:localhost"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def main():
    global request_log, answer_as
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--log", help="file the raw requests are appended to")
    parser.add_argument("--tls", action="store_true", help="speak HTTPS with a self-signed certificate")
    parser.add_argument("--answer-as", help="answer every request as if it asked for this target")
    args = parser.parse_args()
    request_log = RequestLog(args.log)
    answer_as = args.answer_as
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))

    with tempfile.TemporaryDirectory(prefix="kelvorat-tls-") as folder:
        tls = make_tls_context(folder) if args.tls else None
        serve_forever(lambda conn: serve(conn, tls))


if __name__ == "__main__":
    main()
