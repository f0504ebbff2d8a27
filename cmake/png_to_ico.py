#!/usr/bin/env python3
"""Wraps PNG pictures into one Windows icon file (.ico), each picture an image
of the icon stored as PNG, as Windows Vista and later read them.

    cmake/png_to_ico.py out.ico in.png [in.png...]
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main():
    out, pictures = sys.argv[1], [open(p, "rb").read() for p in sys.argv[2:]]
    header = struct.pack("<HHH", 0, 1, len(pictures))
    entries, offset = b"", 6 + 16 * len(pictures)
    for data in pictures:
        width, height = png_size(data)
        # 256 and more are written as 0.
        entries += struct.pack("<BBBBHHII", width if width < 256 else 0, height if height < 256 else 0,
                               0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as ico:
        ico.write(header + entries + b"".join(pictures))


if __name__ == "__main__":
    main()
