"""What the loopback servers of tools/ share: the request log the C++ tests
read back, reading one raw HTTP request, and a threaded accept loop that
announces its port on the first line of standard output."""

import socket
import sys
import threading

MAX_HEAD = 256 * 1024
_log_lock = threading.Lock()


class RequestLog:
    """Appends raw requests to a file as records "REQUEST <length>\\n<bytes>\\n"."""

    def __init__(self, path):
        self.path = path

    def record(self, raw):
        if not self.path:
            return
        with _log_lock, open(self.path, "ab") as log:
            log.write(b"REQUEST %d\n" % len(raw) + raw + b"\n")
            log.flush()


def content_length(head):
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            return int(value.strip() or b"0")
    return 0


def read_request(conn, pending=b""):
    """One raw request (head, blank line and body) from conn, and the bytes
    read past it; (None, b"") when the peer left or the head is too long."""
    data = pending
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk or len(data) > MAX_HEAD:
            return None, b""
        data += chunk
    head, _, rest = data.partition(b"\r\n\r\n")
    length = content_length(head)
    while len(rest) < length:
        chunk = conn.recv(65536)
        if not chunk:
            return None, b""
        rest += chunk
    return head + b"\r\n\r\n" + rest[:length], rest[length:]


def serve_forever(handle, host="127.0.0.1", port=0, announce=None):
    """Accepts connections for ever, each handled by handle(conn) on a thread
    of its own. The port goes out first, as announce(port) or as a bare line."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((host, port))
    listener.listen(64)
    bound = listener.getsockname()[1]
    if announce:
        announce(bound)
    else:
        print(bound, flush=True)
    try:
        while True:
            conn, _ = listener.accept()
            threading.Thread(target=handle, args=(conn,), daemon=True).start()
    except KeyboardInterrupt:
        sys.exit(0)
