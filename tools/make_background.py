#!/usr/bin/env python3
"""Draws data/Background_5.jpg, the background of both shaped windows.

The main window is 623 x 457 px and the player 619 x 460 px; both draw the
picture from their top-left corner, so the picture is 640 x 480 px.

Layout: a dark band at the top (y < 29) for the white bold window title, then
a soft light field for dark-grey labels and blue links, with a few faint sine
waves as decoration. Every pixel below the band stays light enough for
(64, 64, 64) and (0, 0, 192) text.

Usage: python3 tools/make_background.py [output.jpg]   (default: data/Background_5.jpg)
Needs Python 3 (standard library) and ImageMagick's `convert` for the JPEG step.
"""

import math
import os
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 640, 480
BAND = 29          # height of the dark title band
EDGE = 2           # soft edge below the band


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


# Colours (sRGB, 0..255).
BAND_LEFT = (24, 44, 66)       # deep blue
BAND_RIGHT = (30, 62, 74)      # deep teal
ACCENT = (96, 150, 170)        # thin line under the band
FIELD_TOP = (234, 240, 245)    # pale blue-grey
FIELD_BOTTOM = (244, 240, 232)  # pale sand
WAVE = (120, 160, 180)         # decoration, drawn very faintly
RIM_COLOUR = (70, 100, 120)    # shading towards the outline
RIM = 8

# Faint waves: (base y, amplitude, wavelength, phase, opacity, half width).
WAVES = [
    (120, 14, 310, 0.0, 0.10, 1.2),
    (132, 10, 205, 1.3, 0.07, 0.9),
    (300, 18, 420, 2.1, 0.09, 1.4),
    (318, 12, 260, 0.4, 0.06, 1.0),
    (410, 16, 350, 2.8, 0.08, 1.2),
    (428, 9, 170, 1.7, 0.05, 0.8),
]
BAND_WAVES = [
    (20, 6, 240, 0.6, 0.10, 1.0),
    (14, 4, 150, 2.2, 0.07, 0.8),
]


def wave_cover(x, y, waves):
    """Opacity of the wave strokes at pixel (x, y), anti-aliased by distance."""
    cover = 0.0
    for base, amp, length, phase, alpha, half in waves:
        k = 2 * math.pi / length
        wy = base + amp * math.sin(k * x + phase)
        slope = amp * k * math.cos(k * x + phase)
        dist = abs(y - wy) / math.sqrt(1 + slope * slope)
        a = max(0.0, min(1.0, half + 0.5 - dist))
        cover = max(cover, a * alpha)
    return cover


def pixel(x, y):
    if y < BAND:
        t = x / (WIDTH - 1)
        c = mix(BAND_LEFT, BAND_RIGHT, t)
        # slightly lighter towards the middle of the band
        c = mix(c, (50, 80, 100), 0.15 * math.sin(math.pi * y / BAND))
        return mix(c, (150, 190, 210), wave_cover(x, y, BAND_WAVES))
    if y < BAND + EDGE:
        return ACCENT
    t = (y - BAND - EDGE) / (HEIGHT - BAND - EDGE - 1)
    c = mix(FIELD_TOP, FIELD_BOTTOM, t)
    # a gentle light from the upper right
    dx, dy = (x - WIDTH * 0.8) / WIDTH, (y - HEIGHT * 0.25) / HEIGHT
    glow = math.exp(-(dx * dx + dy * dy) * 4)
    c = mix(c, (252, 252, 250), 0.35 * glow)
    c = mix(c, WAVE, wave_cover(x, y, WAVES))
    # A soft rim along the windows' outlines (left x 1-2, right x 619,
    # bottom y 457-460) so the frameless windows stand out from the desktop.
    d = min(x - 1, 619 - x, 459 - y)
    if d < RIM:
        c = mix(c, RIM_COLOUR, 0.45 * (1 - max(d, 0) / RIM) ** 2)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "Background_5.jpg")
    rows = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            rows.extend(max(0, min(255, round(v))) for v in pixel(x, y))
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "background.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
            f.write(rows)
        subprocess.run(["convert", ppm, "-strip", "-sampling-factor", "4:4:4",
                        "-quality", "92", out], check=True)


if __name__ == "__main__":
    main()
