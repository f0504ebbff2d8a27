#!/usr/bin/env python3
"""Local stand-ins for the block-check service and the notification service.

One small HTTP server for loopback. It answers the block-check query
(GET /<key>/wxcheck?url=<domain>) with a UTF-8 answer that contains "域名正常"
unless the domain is on the blocked list, accepts notification triggers
(GET /trigger?id=<code>&text=<percent-encoded code page 936 text>), and prints
every request it receives: request line and headers, then what it made of it.

    tools/standin_services.py --port 18080 --blocked example.com

With --port 0 it picks a free port. The first line it prints is always
"listening on <host>:<port>".
"""

import argparse
import sys
import threading
import urllib.parse

from loopback_common import RequestLog, read_request, serve_forever

CHECK_PATH_SUFFIX = "/wxcheck"
TRIGGER_PATH = "/trigger"

print_lock = threading.Lock()


request_log = RequestLog(None)


def say(text):
    with print_lock:
        try:
            sys.stdout.write(text)
            sys.stdout.flush()
        except OSError:
            pass  # nobody reads our output any more; keep serving


def query_bytes(target, key):
    """The raw percent-decoded bytes of one query value, or None."""
    _, _, query = target.partition(b"?")
    for pair in query.split(b"&"):
        name, sep, value = pair.partition(b"=")
        if sep and name == key:
            return urllib.parse.unquote_to_bytes(value)
    return None


def shown(raw):
    """Code page 936 bytes as readable text for the log."""
    return raw.decode("gbk", errors="backslashreplace")


class Services:
    def __init__(self, blocked):
        self.blocked = {d.encode("gbk") for d in blocked}
        self.checks = 0
        self.alerts = 0

    def answer(self, target):
        path = target.split(b"?", 1)[0]
        if path.endswith(CHECK_PATH_SUFFIX.encode()):
            self.checks += 1
            domain = query_bytes(target, b"url") or b""
            if domain in self.blocked:
                say(f"-- check #{self.checks}: {shown(domain)!r} is BLOCKED\n")
                return 200, '{"code":1,"msg":"域名已被封"}'
            say(f"-- check #{self.checks}: {shown(domain)!r} is fine\n")
            return 200, '{"code":0,"msg":"域名正常"}'
        if path == TRIGGER_PATH.encode():
            self.alerts += 1
            code = query_bytes(target, b"id") or b""
            text = query_bytes(target, b"text") or b""
            say(f"-- ALERT #{self.alerts} for code {shown(code)!r}: {shown(text)}\n")
            return 200, '{"code":0,"msg":"提醒已发送"}'
        return 404, '{"code":404,"msg":"not found"}'

    def serve(self, conn):
        with conn:
            conn.settimeout(30)
            try:
                raw, _ = read_request(conn)
            except OSError:
                return
            if not raw:
                return
            request_log.record(raw)
            head = raw.partition(b"\r\n\r\n")[0]
            lines = head.split(b"\r\n")
            say("== request\n" + "\n".join(shown(l) for l in lines) + "\n== end\n")
            parts = lines[0].split(b" ")
            target = parts[1] if len(parts) >= 3 else b"/"
            status, body = self.answer(target)
            payload = body.encode("utf-8")
            reason = "OK" if status == 200 else "Not Found"
            response = (
                f"HTTP/1.1 {status} {reason}\r\n"
                "Content-Type: application/json; charset=utf-8\r\n"
                f"Content-Length: {len(payload)}\r\n"
                "Connection: close\r\n\r\n"
            ).encode() + payload
            try:
                conn.sendall(response)
            except OSError:
                pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=18080)
    parser.add_argument("--blocked", action="append", default=[],
                        help="a domain the check reports as blocked (repeatable)")
    parser.add_argument("--log", help="file every raw request is appended to")
    args = parser.parse_args()
    global request_log
    request_log = RequestLog(args.log)

    services = Services(args.blocked)
    serve_forever(services.serve, args.host, args.port,
                  lambda port: say(f"listening on {args.host}:{port}\n"))


if __name__ == "__main__":
    main()
