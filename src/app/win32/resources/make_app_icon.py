#!/usr/bin/env python3
"""Draws the installer's application icon (the Ludrin emblem of ReflectionImage, see
src/ui/controls/artwork.cpp) at the usual icon sizes and writes it as a .ico file.

No image comes from elsewhere: the icon is made from shapes, at build time."""
import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def hexrgb(v):
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255)


def round_rect(l, t, r, b, rad):
    def inside(x, y):
        if x < l or x > r or y < t or y > b:
            return False
        cx = min(max(x, l + rad), r - rad)
        cy = min(max(y, t + rad), b - rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
    return inside, (l, t, r, b)


def circle(cx, cy, r):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, outer, inner):
    return (lambda x, y: inner * inner < (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer), \
        (cx - outer, cy - outer, cx + outer, cy + outer)


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
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def vertical(top, bottom, y0, y1, alpha=1.0):
    a, b = hexrgb(top), hexrgb(bottom)
    return lambda x, y: (mix(a, b, (y - y0) / (y1 - y0)), alpha)


class Canvas:
    def __init__(self, size, samples):
        self.size = size
        self.samples = samples
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]  # premultiplied, 0..1

    def fill(self, shape, paint):
        inside, (l, t, r, b) = shape
        n = self.samples
        s = self.size
        for py in range(max(int(t * s), 0), min(int(b * s) + 1, s)):
            for px in range(max(int(l * s), 0), min(int(r * s) + 1, s)):
                a = cr = cg = cb = 0.0
                for j in range(n):
                    for i in range(n):
                        x = (px + (i + 0.5) / n) / s
                        y = (py + (j + 0.5) / n) / s
                        if inside(x, y):
                            (r_, g_, b_), al = paint(x, y)
                            a += al
                            cr += r_ / 255 * al
                            cg += g_ / 255 * al
                            cb += b_ / 255 * al
                if a <= 0:
                    continue
                k = n * n
                a, cr, cg, cb = a / k, cr / k, cg / k, cb / k
                d = self.px[py * s + px]
                keep = 1 - a
                self.px[py * s + px] = [cr + d[0] * keep, cg + d[1] * keep, cb + d[2] * keep,
                                        a + d[3] * keep]


def emblem(size):
    c = Canvas(size, 4 if size <= 64 else 2)
    c.fill(round_rect(0.06, 0.06, 0.94, 0.94, 0.2), vertical(0x0A2F73, 0x061C47, 0.06, 0.94))
    face = round_rect(0.075, 0.075, 0.925, 0.925, 0.185)
    c.fill(face, vertical(0x4FA3FF, 0x0C3C93, 0.075, 0.925))
    c.fill(ring(0.5, 0.53, 0.29, 0.24), lambda x, y: ((255, 255, 255), 0.95))
    c.fill(polygon([(0.43, 0.40), (0.43, 0.66), (0.65, 0.53)]),
           vertical(0xFFFFFF, 0xDCE9FF, 0.40, 0.66))
    if size >= 32:
        for r in (0.36, 0.42):
            inside, box = ring(0.5, 0.53, r, r - 0.025)
            c.fill((lambda x, y, inside=inside: inside(x, y) and x > 0.5 and
                    abs(y - 0.53) < (x - 0.5) * 0.9, box), lambda x, y: ((255, 255, 255), 0.7))
    gloss_in, _ = face
    ell = lambda x, y: ((x - 0.5) / 0.6) ** 2 + ((y - 0.08) / 0.38) ** 2 <= 1
    c.fill((lambda x, y: gloss_in(x, y) and ell(x, y), (0.075, 0.075, 0.925, 0.46)),
           lambda x, y: ((255, 255, 255), 0.55 * (1 - min(max(y / 0.46, 0), 1))))
    return c


def bgra_rows(canvas):
    """Straight-alpha BGRA rows, bottom row first (as a DIB stores them)."""
    s = canvas.size
    rows = []
    for y in range(s):
        row = bytearray()
        for x in range(s):
            r, g, b, a = canvas.px[y * s + x]
            if a > 0:
                r, g, b = r / a, g / a, b / a
            row += bytes(round(min(max(v, 0), 1) * 255) for v in (b, g, r, a))
        rows.append(bytes(row))
    return rows


def png(canvas):
    s = canvas.size
    raw = b""
    for row in bgra_rows(canvas):
        rgba = bytearray()
        for i in range(0, len(row), 4):
            b, g, r, a = row[i:i + 4]
            rgba += bytes((r, g, b, a))
        raw += b"\0" + bytes(rgba)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(canvas):
    s = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(reversed(bgra_rows(canvas)))
    mask_row = ((s + 31) // 32) * 4
    return header + pixels + b"\0" * (mask_row * s)  # alpha decides; the AND mask is empty


def main(path):
    images = []
    for size in SIZES:
        canvas = emblem(size)
        images.append((size, png(canvas) if size >= 256 else dib(canvas)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
