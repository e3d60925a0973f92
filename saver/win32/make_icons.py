#!/usr/bin/env python3
"""make_icons.py OUTDIR: paints the saver's three icons (main, uninstall, configure)
and writes them as OUTDIR/main.ico, uninstall.ico and configure.ico, each with
16, 32 and 48 pixel images of 32 bits, so the repository holds no binary files.

Shapes are coverage tests in unit coordinates (0..1, y down), sampled on a
4 x 4 grid per pixel: that smooths every edge without a drawing library."""

import math
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SAMPLES = 4  # per pixel and axis


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def gear(cx, cy, inner, outer, hole, teeth=8):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < hole or d > outer:
            return False
        # Teeth are the half-turns where the cosine is positive; square-ish at these sizes.
        return d <= inner or math.cos(teeth * math.atan2(dy, dx)) > -0.1
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


class Canvas:
    """Straight-alpha RGBA pixels; shapes are composited over what is there."""

    def __init__(self, size):
        self.size = size
        self.pixels = [(0.0, 0.0, 0.0, 0.0)] * (size * size)

    def paint(self, shape, colour, alpha=1.0):
        """colour is an (r, g, b) tuple or a function of (x, y) giving one."""
        n, step = self.size, 1.0 / (self.size * SAMPLES)
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        for py in range(n):
            for px in range(n):
                x0, y0 = px / n, py / n
                hits = sum(shape(x0 + ox, y0 + oy) for oy in offsets for ox in offsets)
                if hits:
                    c = colour(x0 + 0.5 / n, y0 + 0.5 / n) if callable(colour) else colour
                    self._over(py * n + px, c, alpha * hits / (SAMPLES * SAMPLES))

    def _over(self, index, colour, a):
        r, g, b, da = self.pixels[index]
        out = a + da * (1 - a)
        if out <= 0:
            return
        keep = da * (1 - a)
        self.pixels[index] = tuple((s * a + d * keep) / out for s, d in zip(colour, (r, g, b))) + (out,)


def paint_slide(canvas):
    """A framed landscape: the slide every icon starts from."""
    canvas.paint(rounded_rect(0.03, 0.11, 0.97, 0.89, 0.10), (0, 0, 0), 0.35)  # soft shadow
    canvas.paint(rounded_rect(0.02, 0.09, 0.95, 0.86, 0.09), (58, 63, 78))
    canvas.paint(rounded_rect(0.06, 0.13, 0.91, 0.82, 0.06), (246, 242, 232))
    picture = rounded_rect(0.13, 0.20, 0.84, 0.75, 0.02)
    canvas.paint(picture, lambda x, y: mix((38, 84, 168), (246, 170, 96), (y - 0.20) / 0.48))
    canvas.paint(both(picture, disc(0.62, 0.42, 0.085)), (255, 228, 140))

    def far_hills(x, y):
        return y > 0.58 - 0.12 * math.exp(-((x - 0.36) / 0.12) ** 2) - 0.05 * math.sin(x * 11)

    def near_hill(x, y):
        return y > 0.66 + 0.05 * math.sin(x * 7 + 2.5)

    canvas.paint(both(picture, far_hills), (70, 110, 120))
    canvas.paint(both(picture, near_hill), lambda x, y: mix((52, 128, 64), (28, 84, 44), (y - 0.6) / 0.15))


def paint_minus_badge(canvas):
    canvas.paint(disc(0.74, 0.74, 0.245), (255, 255, 255))
    canvas.paint(disc(0.74, 0.74, 0.205), lambda x, y: mix((236, 72, 64), (176, 28, 28), (y - 0.55) / 0.4))
    canvas.paint(rounded_rect(0.62, 0.705, 0.86, 0.775, 0.02), (255, 255, 255))


def paint_gear_badge(canvas):
    canvas.paint(gear(0.74, 0.74, 0.205, 0.265, 0.0, teeth=8), (255, 255, 255))
    canvas.paint(gear(0.74, 0.74, 0.165, 0.225, 0.065, teeth=8),
                 lambda x, y: mix((120, 130, 150), (64, 72, 92), (y - 0.5) / 0.45))


def icon_image(size, badge):
    canvas = Canvas(size)
    paint_slide(canvas)
    if badge:
        badge(canvas)
    return canvas


def dib(canvas):
    """One icon image: a BITMAPINFOHEADER of double height, the BGRA rows bottom-up,
    then the 1-bit mask (set where fully transparent) that older systems read."""
    n = canvas.size
    mask_stride = ((n + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, n * n * 4 + n * mask_stride, 0, 0, 0, 0)
    colour, mask = bytearray(), bytearray()
    for y in reversed(range(n)):
        bits = bytearray(mask_stride)
        for x in range(n):
            r, g, b, a = canvas.pixels[y * n + x]
            level = round(a * 255)
            colour += bytes((round(b), round(g), round(r), level) if level else (0, 0, 0, 0))
            if not level:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


ICONS = {'main': None, 'uninstall': paint_minus_badge, 'configure': paint_gear_badge}


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_icons.py OUTDIR\n')
        return 1
    out = Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, badge in ICONS.items():
        images = [(size, dib(icon_image(size, badge))) for size in SIZES]
        (out / f'{name}.ico').write_bytes(ico(images))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
