#!/usr/bin/python3
"""Draws Pingolet's icon, an alarm clock, as PNGs in at most 256 colours (indexed images with a
transparency table): 48 x 48 for the window, 128 and 256 for menus and software centres. Only
the standard library: run it again after a change,
  src/view/icons/make_icon.py
and commit pingolet.png, pingolet-128.png and pingolet-256.png beside it."""

import math
import os
import struct
import zlib

SIZE = 48  # the size the drawing is made in; larger icons scale it
# Each size and its samples per pixel along each axis, for smooth edges.
OUTPUTS = ((48, 6, "pingolet.png"), (128, 3, "pingolet-128.png"), (256, 2, "pingolet-256.png"))

OUTLINE = (60, 20, 20)
BODY = (214, 48, 40)
FACE = (250, 246, 234)
BELL = (236, 184, 48)
BELL_OUTLINE = (120, 80, 10)
HANDS = (34, 34, 34)
LEG = (70, 70, 70)


def circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2


def bell(x, y, cx, cy, r, angle):
    """A dome: a disc cut by a line through its centre, tilted by angle (radians)."""
    nx, ny = math.sin(angle), math.cos(angle)  # points out of the open side
    cut = (x - cx) * nx + (y - cy) * ny - 1.0
    return max(circle(x, y, cx, cy, r), cut)


# The drawing, from the back to the front: (distance function, colour). A sample is inside a
# shape where the distance is negative; outlines are the shape grown by their width.
def shapes():
    cx, cy = 24.0, 27.0
    left, right = math.radians(-40), math.radians(40)
    items = [
        (lambda x, y: segment(x, y, 14, 38, 9, 45, 3.2), LEG),
        (lambda x, y: segment(x, y, 34, 38, 39, 45, 3.2), LEG),
        (lambda x, y: segment(x, y, 24, 9, 24, 4.5, 2.4), HANDS),
        (lambda x, y: circle(x, y, 24, 4, 2.2), HANDS),
        (lambda x, y: bell(x, y, 11.5, 10.5, 8.2, left) - 1.3, BELL_OUTLINE),
        (lambda x, y: bell(x, y, 11.5, 10.5, 8.2, left), BELL),
        (lambda x, y: bell(x, y, 36.5, 10.5, 8.2, right) - 1.3, BELL_OUTLINE),
        (lambda x, y: bell(x, y, 36.5, 10.5, 8.2, right), BELL),
        (lambda x, y: circle(x, y, cx, cy, 18), OUTLINE),
        (lambda x, y: circle(x, y, cx, cy, 16.4), BODY),
        (lambda x, y: circle(x, y, cx, cy, 12.6), OUTLINE),
        (lambda x, y: circle(x, y, cx, cy, 11.6), FACE),
    ]
    for hour in range(12):
        a = math.radians(30 * hour)
        inner = 8.6 if hour % 3 == 0 else 9.6
        sx, sy = math.sin(a), -math.cos(a)
        items.append((lambda x, y, sx=sx, sy=sy, inner=inner: segment(
            x, y, cx + inner * sx, cy + inner * sy, cx + 10.6 * sx, cy + 10.6 * sy, 1.1), HANDS))
    # Ten to two: the hour hand a little before two, the minute hand at ten to.
    items += [
        (lambda x, y: segment(x, y, cx, cy, cx + 5.6 * math.sin(math.radians(55)),
                              cy - 5.6 * math.cos(math.radians(55)), 2.2), HANDS),
        (lambda x, y: segment(x, y, cx, cy, cx + 8.6 * math.sin(math.radians(-60)),
                              cy - 8.6 * math.cos(math.radians(-60)), 1.6), HANDS),
        (lambda x, y: circle(x, y, cx, cy, 1.6), BODY),
    ]
    return items


def render(size, sub):
    items = shapes()
    scale = SIZE / size
    pixels = []
    for py in range(size):
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(sub):
                for sx in range(sub):
                    x, y = (px + (sx + 0.5) / sub) * scale, (py + (sy + 0.5) / sub) * scale
                    colour = None
                    for distance, fill in items:
                        if distance(x, y) < 0:
                            colour = fill
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = sub * sub
            pixels.append((r / a, g / a, b / a, 255 * a / n) if a else (0, 0, 0, 0))
    return pixels


def quantise(pixels, limit=256):
    """A palette of at most limit entries and each pixel's index. Coarser steps are tried until
    the colours fit; the fully transparent colour is always entry 0."""
    for step in (1, 2, 4, 8, 16, 32):
        def key(p):
            if p[3] < 8:
                return (0, 0, 0, 0)
            return tuple(min(255, int(round(c / step)) * step) for c in p)
        keys = [key(p) for p in pixels]
        palette = sorted(set(keys) - {(0, 0, 0, 0)})
        if len(palette) + 1 <= limit:
            palette = [(0, 0, 0, 0)] + palette
            index = {c: i for i, c in enumerate(palette)}
            return palette, [index[k] for k in keys]
    raise RuntimeError("too many colours")


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, size, palette, indices):
    header = struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)  # 8-bit palette indices
    rows = b"".join(b"\0" + bytes(indices[y * size:(y + 1) * size]) for y in range(size))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    png += chunk(b"PLTE", b"".join(bytes(c[:3]) for c in palette))
    png += chunk(b"tRNS", bytes(c[3] for c in palette))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    for size, sub, name in OUTPUTS:
        palette, indices = quantise(render(size, sub))
        out = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
        write_png(out, size, palette, indices)
        print(f"{out}: {size} x {size}, {len(palette)} colours")


if __name__ == "__main__":
    main()
