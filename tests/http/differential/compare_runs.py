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
                    "changes no byte of the request or the answer; connections are "
                    "not counted",
    "what a CONNECT carries": "the tunnel request belongs to the proxy hop; only its "
                    "request line is compared",
    "what a failed request leaves in responseHeaders": "no answer arrived, so there "
                    "is no header block to report; the engine reads whatever the "
                    "platform leaves in its buffer",
    "the space after the colon of an empty value": "\"Name: \" and \"Name:\" carry "
                    "the same empty value (the spaces around a value are not part of "
                    "it); libcurl writes no space where nothing follows the colon",
    "the default port in a proxy's request target": "http://host:80/ and "
                    "http://host/ are one URL; WinINet writes the port, libcurl leaves "
                    "the default out",
}

# Where the libcurl backend keeps the sound behaviour, or cannot do otherwise,
# against what wine's WinINet does: by case, with the reason.
DEVIATIONS = {
    "header-without-name": "a line with nothing before its colon is no header line, "
                    "and a server refuses a request holding one (400): libcurl drops "
                    "it; WinINet drops \": x\" but sends \" :x\" as \": x\"",
    "target-space-936": "the request target is percent-escaped: a raw byte of 0x80 or "
                    "above is not allowed in a request line; WinINet sends them raw "
                    "(both targets decode to the same bytes)",
    "header-line-breaks": "a lone CR or LF inside a caller's header line becomes a "
                    "space, so that no line ends early or adds a header; WinINet "
                    "ends the line there (a header is added after a CR, the rest is "
                    "lost after an LF). The X- lines are left out of the comparison",
    "redirect-post-307": "a 307 asks for the same request again, body included; "
                    "WinINet repeats the POST without its body, libcurl with it",
    "redirect-put-307": "as for the POST: libcurl repeats the PUT with its body",
    "response-line-without-colon": "libcurl refuses an answer holding a header line "
                    "without a colon (malformed HTTP) and has no setting to accept "
                    "it; WinINet leaves the line out. The request itself is compared",
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


def escaped_target(request_line):
    """The request line with the target's bytes of 0x80 and above escaped."""
    return re.sub(rb"[\x80-\xff]", lambda m: b"%%%02X" % m.group(0)[0], request_line)


def normalized(raw, case):
    """A raw request as compared: its request line, its header lines with the
    platform's freedoms taken out, in one order, and its body."""
    if raw == b"<TLS>":
        return (b"<TLS>",)
    head, _, body = raw.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")
    if lines[0].startswith(b"CONNECT "):  # what a CONNECT carries
        return (lines[0],)
    # the default port in a proxy's request target
    request_line = re.sub(rb"^(\S+ http://[^/:]+):80/", rb"\1/", lines[0])
    if case == "target-space-936":
        request_line = escaped_target(request_line)
    kept = []
    for line in lines[1:]:
        name, _, value = line.partition(b":")
        name = name.strip().lower()
        if name == b"proxy-connection":  # Proxy-Connection
            continue
        if name == b"content-length" and not body and value.strip() == b"0":
            continue  # Content-Length: 0 on body-less requests
        if not name and case == "header-without-name":
            continue
        if name.startswith(b"x-") and case == "header-line-breaks":
            continue
        if not value.strip(b" "):  # the space after the colon of an empty value
            line = line.rstrip(b" ")
        kept.append(line)
    if case in ("redirect-post-307", "redirect-put-307"):
        return (request_line,)
    return (request_line, tuple(sorted(kept)), body)  # header order


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
            case = case_of(raw)
            requests.setdefault(case, []).append(normalized(raw, case))
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
            # what a failed request leaves in responseHeaders: nothing reached
            # the server as HTTP
            failed = name not in windows[1]
            for field in sorted(set(got) | set(want)):
                if field == "responseHeaders" and failed:
                    continue
                if name == "response-line-without-colon":
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
        elif name in DEVIATIONS:
            print("same     %s (but for: %s)" % (name, DEVIATIONS[name]))
        else:
            print("same     %s" % name)
    tunnel_linux = sorted(set(linux[1].get(TUNNEL, [])))
    tunnel_windows = sorted(set(windows[1].get(TUNNEL, [])))
    if tunnel_linux != tunnel_windows:
        failures += 1
        print("DIFFERS  tunnels and TLS handshakes\n      WinINet %s\n      libcurl %s"
              % (tunnel_windows, tunnel_linux))
    print("platform freedoms allowed: " + "; ".join(FREEDOMS))
    unknown = set(DEVIATIONS) - set(names)
    if unknown:
        failures += 1
        print("DEVIATIONS name cases that did not run: %s" % ", ".join(sorted(unknown)))
    print("differential suite: %d case(s), %d differ" % (len(names), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
