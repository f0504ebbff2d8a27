#!/usr/bin/env python3
"""Turns a PNG picture (8 bits per sample, grey or colour, not interlaced)
into a BMP file: grey as 8 bits per pixel with a grey palette, colour as 24
bits per pixel, any alpha dropped (the window draws the pictures opaque).
The Windows build keeps its pictures as bitmap resources, so that showing
them needs no image decoder at run time.

    cmake/png_to_bmp.py in.png out.bmp
"""
import struct
import sys
import zlib


def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG picture")
    at, chunks, idat = 8, {}, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IDAT":
            idat += body
        else:
            chunks.setdefault(kind, body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0:
        raise SystemExit(f"unsupported PNG: depth {depth}, colour type {colour}, interlace {interlace}")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(stride):
            left = row[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(row))
        previous = row
    return width, height, channels, rows


def write_bmp(width, height, channels, rows):
    grey = channels <= 2
    bits = 8 if grey else 24
    palette = b"".join(bytes((v, v, v, 0)) for v in range(256)) if grey else b""
    stride = (width * bits // 8 + 3) & ~3
    pixels = b""
    for row in reversed(rows):  # bottom-up
        if grey:
            line = row[::channels]
        else:
            line = b"".join(bytes((row[x + 2], row[x + 1], row[x])) for x in range(0, len(row), channels))
        pixels += line + b"\0" * (stride - len(line))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 3780, 3780,
                       256 if grey else 0, 0)
    return header + info + palette + pixels


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], "rb") as source:
        picture = read_png(source.read())
    with open(sys.argv[2], "wb") as out:
        out.write(write_bmp(*picture))


if __name__ == "__main__":
    main()
