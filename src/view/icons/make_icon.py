#!/usr/bin/python3
"""Draws Pingolet's icon, an alarm clock, from one description of its shapes: as PNGs in at most
256 colours (indexed images with a transparency table), 48 x 48 for the window and 16, 32, 64,
128 and 256 for menus, task bars, notifications and software centres, and as a scalable SVG.
Only the standard library: run it again after a change,
  src/view/icons/make_icon.py
and commit pingolet.png, pingolet-*.png and pingolet.svg beside it."""

import math
import os
import struct
import zlib

SIZE = 48  # the size the drawing is made in; larger icons scale it
# Each size and its samples per pixel along each axis, for smooth edges.
OUTPUTS = ((16, 8, "pingolet-16.png"), (32, 6, "pingolet-32.png"), (48, 6, "pingolet.png"),
           (64, 4, "pingolet-64.png"), (128, 3, "pingolet-128.png"), (256, 2, "pingolet-256.png"))
SVG = "pingolet.svg"
SMALL = 16  # sizes up to this one draw the simpler picture

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


def bell(x, y, cx, cy, r, angle, grow):
    """A dome: a disc cut by a line 1 unit beyond its centre, tilted by angle (radians), grown
    by grow on every side."""
    nx, ny = math.sin(angle), math.cos(angle)  # points out of the open side
    cut = (x - cx) * nx + (y - cy) * ny - 1.0
    return max(circle(x, y, cx, cy, r), cut) - grow


# The drawing, from the back to the front: (kind, parameters, colour). Kinds: a circle
# (cx, cy, r), a segment with round ends (ax, ay, bx, by, width), a bell (cx, cy, r, angle,
# grow). Outlines are the shape grown by their width. Small sizes leave out the hour marks,
# which would only grey the face, and draw the hands bolder.
def shapes(small=False):
    cx, cy = 24.0, 27.0
    left, right = math.radians(-40), math.radians(40)
    items = [
        ("segment", (14, 38, 9, 45, 3.2), LEG),
        ("segment", (34, 38, 39, 45, 3.2), LEG),
        ("segment", (24, 9, 24, 4.5, 2.4), HANDS),
        ("circle", (24, 4, 2.2), HANDS),
        ("bell", (11.5, 10.5, 8.2, left, 1.3), BELL_OUTLINE),
        ("bell", (11.5, 10.5, 8.2, left, 0), BELL),
        ("bell", (36.5, 10.5, 8.2, right, 1.3), BELL_OUTLINE),
        ("bell", (36.5, 10.5, 8.2, right, 0), BELL),
        ("circle", (cx, cy, 18), OUTLINE),
        ("circle", (cx, cy, 16.4), BODY),
        ("circle", (cx, cy, 12.6), OUTLINE),
        ("circle", (cx, cy, 11.6), FACE),
    ]
    for hour in range(0 if small else 12):
        a = math.radians(30 * hour)
        inner = 8.6 if hour % 3 == 0 else 9.6
        sx, sy = math.sin(a), -math.cos(a)
        items.append(("segment", (cx + inner * sx, cy + inner * sy, cx + 10.6 * sx,
                                  cy + 10.6 * sy, 1.1), HANDS))
    # Ten to two: the hour hand a little before two, the minute hand at ten to.
    hour_width, minute_width = (3.4, 2.8) if small else (2.2, 1.6)
    items += [
        ("segment", (cx, cy, cx + 5.6 * math.sin(math.radians(55)),
                     cy - 5.6 * math.cos(math.radians(55)), hour_width), HANDS),
        ("segment", (cx, cy, cx + 8.6 * math.sin(math.radians(-60)),
                     cy - 8.6 * math.cos(math.radians(-60)), minute_width), HANDS),
        ("circle", (cx, cy, 1.6), BODY),
    ]
    return items


DISTANCES = {"circle": circle, "segment": segment, "bell": bell}


def hexcolour(colour):
    return "#%02x%02x%02x" % colour


def svg_element(kind, p, colour):
    fill = hexcolour(colour)
    if kind == "circle":
        return f'<circle cx="{p[0]:g}" cy="{p[1]:g}" r="{p[2]:g}" fill="{fill}"/>'
    if kind == "segment":
        return (f'<line x1="{p[0]:.3f}" y1="{p[1]:.3f}" x2="{p[2]:.3f}" y2="{p[3]:.3f}" '
                f'stroke="{fill}" stroke-width="{p[4]:g}" stroke-linecap="round"/>')
    # A bell: the disc of radius r + grow, less the cap beyond the chord 1 + grow from its centre.
    cx, cy, r, angle, grow = p
    radius, offset = r + grow, 1.0 + grow
    nx, ny = math.sin(angle), math.cos(angle)
    tx, ty = ny, -nx
    half = math.sqrt(radius * radius - offset * offset)
    ax, ay = cx + offset * nx + half * tx, cy + offset * ny + half * ty
    bx, by = cx + offset * nx - half * tx, cy + offset * ny - half * ty
    # The arc that runs through the far side of the disc, away from the cut.
    start = math.atan2(ay - cy, ax - cx)
    far = (math.atan2(-ny, -nx) - start) % (2 * math.pi)
    end = (math.atan2(by - cy, bx - cx) - start) % (2 * math.pi)
    sweep = 1 if far < end else 0
    return (f'<path d="M{ax:.3f},{ay:.3f} A{radius:g},{radius:g} 0 1 {sweep} {bx:.3f},{by:.3f}Z" '
            f'fill="{fill}"/>')


def write_svg(path):
    body = "\n  ".join(svg_element(kind, p, colour) for kind, p, colour in shapes())
    with open(path, "w") as f:
        f.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
                f'viewBox="0 0 {SIZE} {SIZE}">\n  <title>Pingolet</title>\n  {body}\n</svg>\n')


def render(size, sub):
    items = [(lambda x, y, f=DISTANCES[kind], p=p: f(x, y, *p), colour)
             for kind, p, colour in shapes(small=size <= SMALL)]
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
    here = os.path.dirname(os.path.abspath(__file__))
    for size, sub, name in OUTPUTS:
        palette, indices = quantise(render(size, sub))
        out = os.path.join(here, name)
        write_png(out, size, palette, indices)
        print(f"{out}: {size} x {size}, {len(palette)} colours")
    write_svg(os.path.join(here, SVG))
    print(os.path.join(here, SVG))


if __name__ == "__main__":
    main()
