#!/usr/bin/env python3
"""Draws the navigator's four 12 x 12 arrows as RGBA PNG files (zlib and struct only).

collapsed*.png point right, expanded*.png point down; the *_selected ones are white for the
black highlight, the others black on the light navigator background.
"""
import os
import struct
import zlib

SIZE = 12


def png(pixels):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def arrow(expanded, colour):
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    # A solid triangle: 4 pixels deep, 7 pixels wide, centred in the square.
    for depth in range(4):
        for across in range(depth, 7 - depth):
            x, y = (3 + across, 4 + depth) if expanded else (4 + depth, 3 + across)
            pixels[y][x] = colour + (255,)
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, expanded, colour in (("collapsed", False, (0, 0, 0)),
                                   ("collapsed_selected", False, (255, 255, 255)),
                                   ("expanded", True, (0, 0, 0)),
                                   ("expanded_selected", True, (255, 255, 255))):
        with open(os.path.join(here, name + ".png"), "wb") as f:
            f.write(png(arrow(expanded, colour)))


if __name__ == "__main__":
    main()
