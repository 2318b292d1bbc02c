#!/usr/bin/env python3
"""Draws Korvyn's bitmaps, its new-station sound and its application icon.

The pictures are small pixel drawings: shapes are sampled 4 x 4 times per pixel so
their edges are smoothed. Pure black (0, 0, 0) is the transparent colour of the
slider, button and lamp pictures, so only untouched background pixels are pure black;
the flags have no transparent parts and avoid pure black altogether. The application
icon is a PNG with an alpha channel at every size of the icon theme (16 to 512
pixels); korvyn.ico holds those up to 256 for the window.

Usage: tools/make_artwork.py [--out DIR] [--check]
DIR defaults to resources/art, where the output is checked in. The output is
deterministic; --check writes nothing and fails when the files in DIR differ from
what would be drawn now.
"""
import argparse
import math
import zlib
import os
import struct
import sys

SAMPLES = 4  # per pixel and axis
TRANSPARENT = (0, 0, 0)


class Canvas:
    def __init__(self, width, height, background=TRANSPARENT):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def shape(self, inside, colour):
        """Paints colour where inside(x, y) holds, x and y in pixel units."""
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                            hits += 1
                if hits:
                    self.blend(px, py, colour, hits / (SAMPLES * SAMPLES))

    def blend(self, x, y, colour, alpha):
        old = self.pixels[y][x]
        new = tuple(round(o + (c - o) * alpha) for o, c in zip(old, colour))
        if new == TRANSPARENT:  # a drawn pixel must never turn transparent
            new = (16, 16, 16)
        self.pixels[y][x] = new

    def rect(self, x0, y0, x1, y1, colour):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, colour)

    def ring(self, cx, cy, outer, inner, colour, upper_only=False):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return inner <= d <= outer and (not upper_only or y <= cy)
        self.shape(inside, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        self.shape(inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        self.shape(inside, colour)

    def bmp(self):
        """A 24-bit bottom-up Windows bitmap file."""
        stride = (self.width * 3 + 3) & ~3
        rows = b""
        for row in reversed(self.pixels):
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
            rows += data + b"\0" * (stride - len(data))
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(rows),
                           2835, 2835, 0, 0)
        header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
        return header + info + rows


class IconCanvas:
    """A transparent RGBA canvas; shapes are painted over what is there."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def shape(self, inside, colour, opacity=1.0, box=(0.0, 0.0, 1.0, 1.0)):
        """inside(x, y) takes coordinates in 0..1 across the icon; no point outside box
        (x0, y0, x1, y1) is inside, so only the pixels it touches are sampled."""
        n = self.size
        x0, y0, x1, y1 = (max(0, min(n, int(v * n) + d)) for v, d in zip(box, (-1, -1, 2, 2)))
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside((px + (sx + 0.5) / SAMPLES) / n, (py + (sy + 0.5) / SAMPLES) / n):
                            hits += 1
                if hits:
                    self.over(px, py, colour, opacity * hits / (SAMPLES * SAMPLES))

    def over(self, x, y, colour, alpha):
        r, g, b, a = self.pixels[y][x]
        out = alpha + a * (1 - alpha)
        mix = [(c * alpha + o * a * (1 - alpha)) / out for c, o in zip(colour, (r, g, b))]
        self.pixels[y][x] = (mix[0], mix[1], mix[2], out)

    def png(self):
        """An 8-bit RGBA PNG file, the same bytes on every run."""
        raw = b"".join(
            b"\0" + bytes(v for r, g, b, a in row
                          for v in (round(r), round(g), round(b), round(a * 255)))
            for row in self.pixels)

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# Colours
RED = (214, 32, 40)
WHITE = (255, 255, 255)
FLAG_BLACK = (24, 24, 24)
GOLD = (255, 204, 0)
NAVY = (1, 33, 105)
BLUE = (0, 85, 164)
GREEN = (0, 122, 61)
GREY = (150, 150, 150)
LIGHT_GREY = (210, 210, 210)
DARK_GREY = (90, 90, 90)


def cross_out(c):
    """The red diagonal that marks a hidden or muted choice."""
    c.line(2, 14, 14, 2, 2.2, (230, 20, 20))


# Slider
def slider_channel():
    c = Canvas(80, 30)
    c.rect(6, 13, 74, 14, DARK_GREY)
    c.rect(6, 14, 74, 16, LIGHT_GREY)
    c.rect(6, 16, 74, 17, WHITE)
    for i, x in enumerate(range(10, 71, 15)):  # the five steps of a thumb 20 pixels wide
        c.rect(x, 21, x + 1, 26, DARK_GREY)
        if i < 4:
            c.rect(x + 7, 21, x + 8, 24, GREY)
    return c


def slider_thumb(pressed):
    c = Canvas(20, 30)
    body = (150, 20, 20) if pressed else (225, 35, 35)
    light = (200, 70, 70) if pressed else (255, 140, 140)
    c.polygon([(5, 4), (15, 4), (15, 21), (10, 27), (5, 21)], (110, 10, 10))
    c.polygon([(6, 5), (14, 5), (14, 20.5), (10, 25.5), (6, 20.5)], body)
    c.rect(7, 6, 8, 20, light)
    return c


# Options page check buttons
def padlock(crossed):
    c = Canvas(16, 16)
    c.ring(8, 7, 4.2, 2.6, (170, 170, 180), upper_only=True)
    c.rect(3.8, 7, 5.4, 8, (170, 170, 180))
    c.rect(10.6, 7, 12.2, 8, (170, 170, 180))
    c.rect(3, 8, 13, 15, (200, 150, 20))
    c.rect(3, 8, 13, 9, (245, 205, 70))
    c.ellipse(8, 10.8, 1.2, 1.2, (70, 45, 10))
    c.rect(7.5, 11, 8.5, 13.5, (70, 45, 10))
    if crossed:
        cross_out(c)
    return c


def note(pale):
    c = Canvas(16, 16)
    colour = (240, 185, 185) if pale else (220, 25, 25)
    c.ellipse(6, 12, 3, 2.2, colour)
    c.rect(8, 2, 9.5, 12, colour)
    c.polygon([(9.5, 2), (13.5, 5.5), (13.5, 8), (9.5, 5)], colour)
    return c


def laptop(crossed):
    c = Canvas(16, 16)
    c.rect(3, 2, 13, 10, (170, 170, 175))
    c.rect(4, 3, 12, 9, (40, 110, 200))
    c.rect(4, 3, 12, 4, (120, 180, 240))
    c.polygon([(2, 10.5), (14, 10.5), (15.5, 13.5), (0.5, 13.5)], (190, 190, 195))
    c.rect(3, 11.5, 13, 12.5, (110, 110, 115))
    if crossed:
        cross_out(c)
    return c


# Status lamp: a round lamp with a grey rim on a black square
def lamp(colour, highlight):
    c = Canvas(16, 16)
    c.ellipse(8, 8, 7.5, 7.5, (120, 120, 120))
    c.ring(8, 8, 7.5, 6, (185, 185, 185), upper_only=True)
    c.ellipse(8, 8, 5.8, 5.8, colour)
    c.ellipse(6.5, 6, 2.3, 1.8, highlight)
    return c


# Flags
def stripes(width, height, colours, vertical):
    c = Canvas(width, height)
    n = len(colours)
    for i, colour in enumerate(colours):
        if vertical:
            c.rect(round(i * width / n), 0, round((i + 1) * width / n), height, colour)
        else:
            c.rect(0, round(i * height / n), width, round((i + 1) * height / n), colour)
    return c


def union_jack(c, w, h):
    c.rect(0, 0, w, h, NAVY)
    c.line(0, 0, w, h, 2.2, WHITE)
    c.line(0, h, w, 0, 2.2, WHITE)
    c.line(0, 0, w, h, 0.8, RED)
    c.line(0, h, w, 0, 0.8, RED)
    c.rect(w / 2 - 1.6, 0, w / 2 + 1.6, h, WHITE)
    c.rect(0, h / 2 - 1.4, w, h / 2 + 1.4, WHITE)
    c.rect(w / 2 - 0.8, 0, w / 2 + 0.8, h, RED)
    c.rect(0, h / 2 - 0.7, w, h / 2 + 0.7, RED)


def star(c, cx, cy, r, colour):
    points = []
    for i in range(10):
        radius = r if i % 2 == 0 else r * 0.45
        a = -math.pi / 2 + i * math.pi / 5
        points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    c.polygon(points, colour)


def flag_england():
    c = Canvas(16, 10, WHITE)
    c.rect(6.8, 0, 9.2, 10, RED)
    c.rect(0, 3.8, 16, 6.2, RED)
    return c


def flag_uk():
    c = Canvas(16, 10)
    union_jack(c, 16, 10)
    return c


def flag_usa():
    c = Canvas(16, 11, WHITE)
    for y in range(0, 11, 2):
        c.rect(0, y, 16, y + 1, (178, 34, 52))
    c.rect(0, 0, 7, 6, (60, 59, 110))
    for y in range(1, 6, 2):
        for x in range(1, 7, 2):
            c.rect(x, y, x + 1, y + 1, (235, 235, 245))
    return c


def flag_canada():
    c = Canvas(16, 10, WHITE)
    c.rect(0, 0, 4, 10, RED)
    c.rect(12, 0, 16, 10, RED)
    # A maple leaf: a pointed top, two side lobes and a stem.
    c.polygon([(8, 1.2), (9.2, 3.2), (10.8, 2.8), (10.3, 5), (11.6, 4.8), (10.6, 6.8),
               (8.4, 7.2), (8.4, 8.8), (7.6, 8.8), (7.6, 7.2), (5.4, 6.8), (4.4, 4.8),
               (5.7, 5), (5.2, 2.8), (6.8, 3.2)], RED)
    return c


def flag_australia():
    c = Canvas(16, 10, NAVY)
    union_jack(c, 8, 5)
    star(c, 4, 7.6, 1.6, WHITE)  # the Commonwealth star
    for x, y, r in [(12, 1.6, 1.1), (10, 4.4, 1.0), (14, 3.8, 1.0), (12, 8.2, 1.2)]:
        star(c, x, y, r, WHITE)  # the Southern Cross
    return c


def flag_quebec():
    c = Canvas(16, 10, (0, 62, 165))
    c.rect(6.8, 0, 9.2, 10, WHITE)
    c.rect(0, 3.8, 16, 6.2, WHITE)
    for x, y in [(3.4, 1.9), (12.6, 1.9), (3.4, 8.1), (12.6, 8.1)]:  # fleurs-de-lis
        c.ellipse(x, y - 0.3, 0.7, 1.1, WHITE)
        c.rect(x - 1.3, y + 0.3, x + 1.3, y + 0.9, WHITE)
    return c


def flag_portugal():
    c = Canvas(16, 10, (218, 41, 28))
    c.rect(0, 0, 6.4, 10, (4, 106, 56))
    c.ring(6.4, 5, 2.6, 1.6, GOLD)
    c.rect(5.4, 3.8, 7.4, 6.6, WHITE)
    c.rect(5.4, 3.8, 7.4, 5.2, (218, 41, 28))
    return c


def flag_hungary():
    return stripes(16, 10, [(206, 41, 57), WHITE, (71, 112, 80)], vertical=False)


def flag_poland():
    return stripes(16, 10, [WHITE, (220, 20, 60)], vertical=False)


def flag_france():
    return stripes(16, 10, [(0, 35, 149), WHITE, (237, 41, 57)], vertical=True)


def flag_russia():
    return stripes(16, 10, [WHITE, (0, 57, 166), (213, 43, 30)], vertical=False)


def flag_germany():
    return stripes(16, 10, [FLAG_BLACK, (221, 0, 0), GOLD], vertical=False)


def flag_italy():
    c = Canvas(17, 10)
    c.rect(0, 0, 6, 10, (0, 146, 70))
    c.rect(6, 0, 11, 10, (244, 245, 240))
    c.rect(11, 0, 17, 10, (206, 43, 55))
    return c


# Application icon: radio waves rising from the status lamp on a rounded tile in the
# caption blue, with a signal wedge along the bottom
def app_icon(size):
    c = IconCanvas(size)

    def rounded(x, y, x0=0.04, y0=0.04, x1=0.96, y1=0.96, r=0.2):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and math.hypot(x - cx, y - cy) <= r
    c.shape(rounded, (10, 60, 130))
    c.shape(lambda x, y: rounded(x, y) and y < 0.5, (40, 110, 190), 0.55, (0, 0, 1, 0.5))
    lamp_x, lamp_y = 0.5, 0.66
    for outer in (0.50, 0.37, 0.24):
        def wave(x, y, outer=outer):
            d = math.hypot(x - lamp_x, y - lamp_y)
            angle = math.degrees(math.atan2(lamp_y - y, x - lamp_x))
            return outer - 0.075 <= d <= outer and 45 <= angle <= 135
        c.shape(wave, (255, 255, 255),
                box=(lamp_x - outer, lamp_y - outer, lamp_x + outer, lamp_y))
    c.shape(lambda x, y: math.hypot(x - lamp_x, y - lamp_y) <= 0.085, (20, 235, 50),
            box=(lamp_x - 0.085, lamp_y - 0.085, lamp_x + 0.085, lamp_y + 0.085))
    c.shape(lambda x, y: math.hypot(x - lamp_x + 0.025, y - lamp_y + 0.03) <= 0.03,
            (190, 255, 200), box=(lamp_x - 0.055, lamp_y - 0.06, lamp_x + 0.005, lamp_y))
    c.shape(lambda x, y: 0.16 <= x <= 0.84 and 0.8 <= y <= 0.87
            and (0.87 - y) <= 0.07 * (x - 0.16) / 0.68 + 0.012, (255, 255, 255), 0.85,
            (0.16, 0.8, 0.84, 0.87))
    return c


# Every size of the desktop's icon theme; the window's icon holds those up to 256 (the
# largest an icon resource can name) in korvyn.ico, made of the same PNG files.
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256, 512)
ICO_SIZES = tuple(size for size in ICON_SIZES if size <= 256)


def ico(pngs):
    """An icon file whose images are the PNG files given by size."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = len(header) + 16 * len(pngs)
    entries, images = b"", b""
    for size, png in pngs.items():
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png),
                               offset + len(images))
        images += png
    return header + entries + images


BITMAPS = {
    "slider_channel.bmp": slider_channel,
    "slider_thumb.bmp": lambda: slider_thumb(False),
    "slider_thumb_pressed.bmp": lambda: slider_thumb(True),
    "secured.bmp": lambda: padlock(False),
    "secured_hidden.bmp": lambda: padlock(True),
    "sound_on.bmp": lambda: note(False),
    "sound_off.bmp": lambda: note(True),
    "peers.bmp": lambda: laptop(False),
    "peers_hidden.bmp": lambda: laptop(True),
    "lamp_olive.bmp": lambda: lamp((120, 120, 20), (165, 165, 80)),
    "lamp_red.bmp": lambda: lamp((225, 20, 20), (255, 150, 150)),
    "lamp_green.bmp": lambda: lamp((20, 235, 50), (190, 255, 200)),
    "flag_english.bmp": flag_england,
    "flag_english_uk.bmp": flag_uk,
    "flag_english_usa.bmp": flag_usa,
    "flag_english_canada.bmp": flag_canada,
    "flag_english_australia.bmp": flag_australia,
    "flag_french.bmp": flag_france,
    "flag_french_canada.bmp": flag_quebec,
    "flag_hungarian.bmp": flag_hungary,
    "flag_polish.bmp": flag_poland,
    "flag_portuguese.bmp": flag_portugal,
    "flag_russian.bmp": flag_russia,
    "flag_german.bmp": flag_germany,
    "flag_italian.bmp": flag_italy,
}


# New-station sound: a soft two-note chime rising a major third
RATE = 11025
SAMPLE_COUNT = 13780


def chime():
    notes = [(0.0, 1046.5, 0.55), (0.13, 1318.5, 0.6)]  # start (s), frequency (Hz), level
    samples = bytearray()
    for n in range(SAMPLE_COUNT):
        t = n / RATE
        v = 0.0
        for start, freq, level in notes:
            u = t - start
            if u < 0:
                continue
            attack = min(1.0, u / 0.004)
            envelope = attack * math.exp(-u / 0.22)
            phase = 2 * math.pi * freq * u
            v += level * envelope * (math.sin(phase) + 0.22 * math.sin(2 * phase)
                                     + 0.06 * math.sin(3 * phase))
        fade = min(1.0, (SAMPLE_COUNT - 1 - n) / (0.05 * RATE))  # silent at the very end
        samples.append(max(0, min(255, 128 + round(90 * v * fade))))
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(samples)) + bytes(samples))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "art"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    files = {name: draw().bmp() for name, draw in BITMAPS.items()}
    files["newstation.wav"] = chime()
    icons = {size: app_icon(size).png() for size in ICON_SIZES}
    files.update({"korvyn-%d.png" % size: png for size, png in icons.items()})
    files["korvyn.ico"] = ico({size: icons[size] for size in ICO_SIZES})
    if args.check:
        stale = []
        for name, data in files.items():
            try:
                with open(os.path.join(args.out, name), "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        for name in stale:
            print(f"{name} differs from what tools/make_artwork.py draws")
        return 1 if stale else 0
    os.makedirs(args.out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
