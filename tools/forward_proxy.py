#!/usr/bin/env python3
"""A tiny forward HTTP proxy for loopback tests.

It binds 127.0.0.1 on a free port and prints that port on the first line of
its standard output. It takes requests in absolute form
("GET http://host:port/path HTTP/1.1"), appends each one raw to the --log file
as a record "REQUEST <length>\\n<bytes>\\n", forwards it to host:port in origin
form with "Via: 1.1 forward_proxy" added and "Connection: close", and relays
the answer back, one request per connection. Anything else gets 400.

    tools/forward_proxy.py --log /tmp/proxy.log
"""

import argparse
import signal
import socket
import sys
import urllib.parse

from loopback_common import RequestLog, read_request, serve_forever

request_log = RequestLog(None)


def forward(client):
    try:
        raw, _ = read_request(client)
        if raw is None:
            return
        request_log.record(raw)
        head, _, body = raw.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        method, target, version = lines[0].split(b" ", 2)
        url = urllib.parse.urlsplit(target.decode("latin-1"))
        if url.scheme != "http" or not url.hostname:
            client.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
            return
        path = url.path or "/"
        if url.query:
            path += "?" + url.query
        kept = [l for l in lines[1:]
                if l.split(b":", 1)[0].strip().lower() not in (b"proxy-connection", b"connection")]
        out = [b"%s %s %s" % (method, path.encode("latin-1"), version)] + kept
        out += [b"Via: 1.1 forward_proxy", b"Connection: close"]
        with socket.create_connection((url.hostname, url.port or 80), timeout=30) as upstream:
            upstream.sendall(b"\r\n".join(out) + b"\r\n\r\n" + body)
            while True:
                chunk = upstream.recv(65536)
                if not chunk:
                    break
                client.sendall(chunk)
    except (OSError, ValueError):
        pass
    finally:
        client.close()


def main():
    global request_log
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--log", help="file the raw requests are appended to")
    args = parser.parse_args()
    request_log = RequestLog(args.log)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    serve_forever(forward)


if __name__ == "__main__":
    main()
