#!/usr/bin/env python3
"""Starts the loopback servers of tools/ for test programs that cannot start
them themselves: the Windows test programs, which run under wine.

It binds 127.0.0.1 on a free port and prints that port on the first line of
its standard output. Each command comes on a connection of its own, as one
line, and is answered on it:

  START <script> [<arg>...]   starts "python3 tools/<script> --log <file> <args>",
                              and waits for the port it prints first; answers
                              "<id> <port>" ("0 0" when it did not start)
  LOG <id>                    answers "<length>" and a line break, then the
                              server's request log as it is now
  STOP <id>                   ends that server, answers "OK"

Words are separated by single spaces. Every server still running is ended
when the launcher ends (SIGTERM or SIGINT).

    tools/server_launcher.py
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import threading

from loopback_common import serve_forever

TOOLS = os.path.dirname(os.path.abspath(__file__))
ALLOWED = {"test_http_server.py", "forward_proxy.py", "standin_services.py"}

lock = threading.Lock()
servers = {}  # id -> (process, log path)
next_id = 1
folder = tempfile.mkdtemp(prefix="kelvorat-launcher-")


def first_line(process, seconds=30):
    """The first line the server prints, or "" when none comes in time."""
    line = b""
    while not line.endswith(b"\n"):
        ready, _, _ = select.select([process.stdout], [], [], seconds)
        if not ready:
            return ""
        byte = process.stdout.read(1)
        if not byte:
            return ""
        line += byte
    return line.decode("ascii", "replace").strip()


def start(words):
    global next_id
    if not words or words[0] not in ALLOWED:
        return b"0 0\n"
    with lock:
        ident = next_id
        next_id += 1
    log = os.path.join(folder, "requests-%d.log" % ident)
    open(log, "wb").close()
    process = subprocess.Popen(
        [sys.executable, os.path.join(TOOLS, words[0]), "--log", log] + words[1:],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
    # "<port>", or "listening on <host>:<port>" (standin_services.py)
    text = first_line(process).rsplit(":", 1)[-1]
    port = text if text.isdigit() else "0"
    if port == "0":
        process.kill()
        process.wait()
        return b"0 0\n"
    with lock:
        servers[ident] = (process, log)
    return ("%d %s\n" % (ident, port)).encode()


def stop(ident):
    with lock:
        entry = servers.pop(ident, None)
    if entry:
        process, log = entry
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        try:
            os.remove(log)
        except OSError:
            pass
    return b"OK\n"


def read_log(ident):
    with lock:
        entry = servers.get(ident)
    data = b""
    if entry:
        with open(entry[1], "rb") as log:
            data = log.read()
    return b"%d\n" % len(data) + data


def serve(conn):
    with conn:
        data = b""
        while not data.endswith(b"\n"):
            chunk = conn.recv(4096)
            if not chunk:
                return
            data += chunk
        words = data.decode("utf-8", "replace").strip().split(" ")
        command, rest = words[0], words[1:]
        if command == "START":
            answer = start(rest)
        elif command == "LOG" and rest and rest[0].isdigit():
            answer = read_log(int(rest[0]))
        elif command == "STOP" and rest and rest[0].isdigit():
            answer = stop(int(rest[0]))
        else:
            answer = b"?\n"
        conn.sendall(answer)


def stop_all(*_):
    for ident in list(servers):
        stop(ident)
    try:
        os.rmdir(folder)
    except OSError:
        pass
    sys.exit(0)


def main():
    signal.signal(signal.SIGTERM, stop_all)
    signal.signal(signal.SIGINT, stop_all)
    serve_forever(serve)


if __name__ == "__main__":
    main()
