#!/usr/bin/env python3
"""Draws the three label-kind icons (32 x 32 RGBA PNG) with the standard library only.

Run from this directory: python3 make_icons.py
"""
import math
import struct
import zlib

SIZE = 32
SAMPLES = 4  # per axis, for smooth edges


def png(path, pixels):
    raw = b"".join(b"\x00" + bytes(row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def render(layers):
    """layers: list of (inside(x, y) -> bool, (r, g, b)); later layers paint over earlier ones."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for inside, rgb in layers:
                        if inside(x, y):
                            colour = rgb
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row += [0, 0, 0, 0]
            else:
                row += [round(acc[0] / n), round(acc[1] / n), round(acc[2] / n),
                        round(255 * n / (SAMPLES * SAMPLES))]
        rows.append(row)
    return rows


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(l, t, r, b):
    return lambda x, y: l <= x <= r and t <= y <= b


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def thick_line(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return inside


WHITE = (255, 255, 255)
DARK = (40, 40, 40)

# Direction: a green disc with a white arrow pointing right.
direction = render([
    (circle(16, 16, 15), (0, 99, 68)),
    (rect(7, 13, 18, 19), WHITE),
    (polygon([(17, 7), (26, 16), (17, 25)]), WHITE),
])

# Attention: an amber triangle with a dark exclamation mark.
attention = render([
    (polygon([(16, 1.5), (31, 29.5), (1, 29.5)]), (244, 193, 0)),
    (polygon([(14.3, 10), (17.7, 10), (17, 21), (15, 21)]), DARK),
    (circle(16, 25, 1.9), DARK),
])

# Danger: a red octagon with a white cross.
octagon = [(16 + 15.5 * math.cos(math.radians(22.5 + 45 * k)),
            16 + 15.5 * math.sin(math.radians(22.5 + 45 * k))) for k in range(8)]
danger = render([
    (polygon(octagon), (223, 4, 35)),
    (thick_line(10, 10, 22, 22, 4), WHITE),
    (thick_line(22, 10, 10, 22, 4), WHITE),
])

png("direction.png", direction)
png("attention.png", attention)
png("danger.png", danger)
