#!/usr/bin/env python3
"""Compares the two runs of the differential suite (scripts/test-differential.sh):
what the capture server received from each platform, case by case, and what
HttpRequest handed back on each. The Windows run (WinINet) is the reference.

    compare_runs.py <run folder>

The folder holds, per platform (linux, windows), <platform>.port (the capture
server's port), <platform>.log (its request log) and <platform>-direct.out,
<platform>-proxy.out (the driver's output). Exits 1 on any difference.
"""

import re
import sys

# What each platform may choose for itself; everything else must be identical.
FREEDOMS = {
    "header order": "HTTP gives the order of differently named header lines no "
                    "meaning; each platform puts its own lines where it likes",
    "Content-Length: 0 on body-less requests": "a request without a body means the "
                    "same with and without it; WinINet writes it for every verb but "
                    "GET and HEAD, libcurl only where a body may follow",
    "Proxy-Connection": "a header of the hop to the proxy, not of the request; the "
                    "proxy drops it",
    "connection reuse": "whether a request goes over a new or a pooled connection "
                    "(and the Connection lines that ask for it) changes no byte of "
                    "the request or the answer",
    "what a CONNECT carries": "the tunnel request belongs to the proxy hop; only its "
                    "request line is compared",
    "what a failed request leaves in responseHeaders": "no answer arrived, so there "
                    "is no header block to report; the engine reads whatever the "
                    "platform leaves in its buffer",
}

TUNNEL = "(tunnel)"


def unescape(text):
    return re.sub(rb"\\(\\|x([0-9A-F]{2}))",
                  lambda m: b"\\" if m.group(1) == b"\\" else bytes([int(m.group(2), 16)]), text)


def read_outputs(paths, port):
    """{case: {field: bytes}} from the driver's output files."""
    cases = {}
    for path in paths:
        current = None
        with open(path, "rb") as f:
            for line in f.read().split(b"\n"):
                if line.startswith(b"CASE "):
                    current = cases.setdefault(line[5:].decode(), {})
                elif line and current is not None:
                    field, _, value = line.partition(b" ")
                    current[field.decode()] = unescape(value).replace(port, b"PORT")
    return cases


def read_log(path, port):
    """[raw request] in the order received, the server's port replaced."""
    data = open(path, "rb").read()
    requests = []
    while data.startswith(b"REQUEST "):
        head, _, data = data.partition(b"\n")
        length = int(head.split()[1])
        requests.append(data[:length].replace(port, b"PORT"))
        data = data[length + 1:]
    return requests


def case_of(raw):
    """The case a raw request belongs to: the first segment of its path."""
    if raw == b"<TLS>" or raw.startswith(b"CONNECT "):
        return TUNNEL
    target = raw.split(b"\r\n", 1)[0].split(b" ")[1]
    if target.startswith(b"http://"):
        target = b"/" + target[7:].split(b"/", 1)[-1]
    return target.split(b"/")[1].split(b"?")[0].decode("latin-1")


def normalized(raw):
    """A raw request as compared: its request line, its header lines with the
    platform's freedoms taken out, in one order, and its body."""
    if raw == b"<TLS>":
        return (b"<TLS>",)
    head, _, body = raw.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")
    if lines[0].startswith(b"CONNECT "):
        return (lines[0],)
    kept = []
    for line in lines[1:]:
        name = line.split(b":", 1)[0].strip().lower()
        if name in (b"proxy-connection", b"connection"):
            continue
        if name == b"content-length" and not body and line.split(b":", 1)[1].strip() == b"0":
            continue
        kept.append(line)
    return (lines[0], tuple(sorted(kept)), body)


def show(value):
    return repr(value)


def main():
    folder = sys.argv[1]
    runs = {}
    for platform in ("linux", "windows"):
        port = open("%s/%s.port" % (folder, platform), "rb").read().split()[0]
        outputs = read_outputs(["%s/%s-%s.out" % (folder, platform, p) for p in ("direct", "proxy")],
                               b"127.0.0.1:" + port)
        requests = {}
        for raw in read_log("%s/%s.log" % (folder, platform), b"127.0.0.1:" + port):
            requests.setdefault(case_of(raw), []).append(normalized(raw))
        runs[platform] = (outputs, requests)

    linux, windows = runs["linux"], runs["windows"]
    names = list(windows[0]) + [n for n in linux[0] if n not in windows[0]]
    failures = 0
    for name in names:
        problems = []
        got, want = linux[0].get(name), windows[0].get(name)
        if got is None or want is None:
            problems.append("ran on one platform only")
        else:
            failed = name not in windows[1]  # nothing reached the server as HTTP
            for field in sorted(set(got) | set(want)):
                if field == "responseHeaders" and failed:
                    continue
                if got.get(field) != want.get(field):
                    problems.append("%s:\n      WinINet %s\n      libcurl %s"
                                    % (field, show(want.get(field)), show(got.get(field))))
        sent, reference = linux[1].get(name, []), windows[1].get(name, [])
        if sent != reference:
            problems.append("requests:\n      WinINet %s\n      libcurl %s"
                            % ("\n              ".join(map(show, reference)),
                               "\n              ".join(map(show, sent))))
        if problems:
            failures += 1
            print("DIFFERS  %s\n    %s" % (name, "\n    ".join(problems)))
        else:
            print("same     %s" % name)
    tunnel_linux = sorted(set(linux[1].get(TUNNEL, [])))
    tunnel_windows = sorted(set(windows[1].get(TUNNEL, [])))
    if tunnel_linux != tunnel_windows:
        failures += 1
        print("DIFFERS  tunnels and TLS handshakes\n      WinINet %s\n      libcurl %s"
              % (tunnel_windows, tunnel_linux))
    print("platform freedoms allowed: " + "; ".join(FREEDOMS))
    print("differential suite: %d case(s), %d differ" % (len(names), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
