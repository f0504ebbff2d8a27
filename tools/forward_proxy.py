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
import threading
import urllib.parse

MAX_HEAD = 256 * 1024
log_lock = threading.Lock()
log_path = None


def record(raw):
    if not log_path:
        return
    with log_lock, open(log_path, "ab") as log:
        log.write(b"REQUEST %d\n" % len(raw) + raw + b"\n")
        log.flush()


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk or len(data) > MAX_HEAD:
            return None
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip() or b"0")
    while len(body) < length:
        chunk = conn.recv(65536)
        if not chunk:
            return None
        body += chunk
    return head, body[:length]


def forward(client):
    try:
        request = read_request(client)
        if request is None:
            return
        head, body = request
        record(head + b"\r\n\r\n" + body)
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
    global log_path
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--log", help="file the raw requests are appended to")
    args = parser.parse_args()
    log_path = args.log
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(64)
    print(listener.getsockname()[1], flush=True)
    while True:
        client, _ = listener.accept()
        threading.Thread(target=forward, args=(client,), daemon=True).start()


if __name__ == "__main__":
    main()
