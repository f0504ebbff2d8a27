#!/usr/bin/env python3
"""Draws the window's pictures into resources/pictures/: two donation QR codes
(placeholder addresses, made with qrencode) and the program icon.

The PNGs are committed; run this only to remake them. Needs qrencode only.
"""
import math
import pathlib
import struct
import subprocess
import zlib

OUT = pathlib.Path(__file__).resolve().parent.parent / "resources" / "pictures"


def write_png(path, width, height, rows, colour_type, channels):
    """rows: list of bytes objects, one per row, channels bytes per pixel."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)
    assert all(len(row) == width * channels for row in rows) and len(rows) == height
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    path.write_bytes(png)


def qr_modules(text):
    """The QR code of text as rows of booleans (True = dark), no quiet zone."""
    ascii_art = subprocess.run(["qrencode", "-t", "ASCII", "-m", "0", "-l", "M", text],
                               check=True, capture_output=True, text=True).stdout
    return [[line[i] == "#" for i in range(0, len(line), 2)]
            for line in ascii_art.splitlines() if line]


def qr_picture(path, text, width, height):
    """The code centred on white with at least a four-module quiet zone."""
    modules = qr_modules(text)
    count = len(modules)
    scale = min(width, height) // (count + 8)
    left = (width - count * scale) // 2
    top = (height - count * scale) // 2
    rows = []
    for y in range(height):
        my = (y - top) // scale if y >= top else -1
        row = bytearray(b"\xff" * width)
        if 0 <= my < count:
            for mx in range(count):
                if modules[my][mx]:
                    row[left + mx * scale:left + (mx + 1) * scale] = b"\x00" * scale
        rows.append(bytes(row))
    write_png(path, width, height, rows, colour_type=0, channels=1)


def icon(path, size):
    """A blue disc with a white ring and a green dot: a watch on the domain."""
    rows = []
    centre = (size - 1) / 2
    for y in range(size):
        row = bytearray()
        for x in range(size):
            d = math.hypot(x - centre, y - centre) / (size / 2)
            if d <= 0.28:
                rgba = (40, 190, 80, 255)
            elif 0.50 <= d <= 0.64:
                rgba = (255, 255, 255, 255)
            elif d <= 0.96:
                rgba = (20, 110, 210, 255)
            elif d <= 1.0:
                rgba = (20, 110, 210, int(255 * (1.0 - d) / 0.04))
            else:
                rgba = (0, 0, 0, 0)
            row += bytes(rgba)
        rows.append(bytes(row))
    write_png(path, size, size, rows, colour_type=6, channels=4)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    qr_picture(OUT / "donate_wechat.png", "https://example.com/donate/wechat", 301, 300)
    qr_picture(OUT / "donate_alipay.png", "https://example.com/donate/alipay", 293, 292)
    icon(OUT / "kelvorat_icon.png", 64)


if __name__ == "__main__":
    main()
