#!/usr/bin/env python3
"""Draws the application icon: data/icons/helicordia.svg and its PNG sizes.

The icon is a rounded square in the deep blue and teal of the windows' title
band, with a pale ring (the "cord" of the name) and one bold sine wave across
it, with a fainter wave at twice the frequency behind it. It stays legible at
16 x 16 px: the bold wave is thick and the ring is a single stroke.

Usage: python3 tools/make_icon.py [output-folder]   (default: data/icons)
Writes helicordia.svg, then helicordia-SIZE.png for each size below through
`rsvg-convert` (Debian package librsvg2-bin).
"""

import math
import os
import subprocess
import sys

SIZE = 256
SIZES = (16, 24, 32, 48, 64, 128, 256)


def wave_path(cycles, amplitude, phase, x0=40.0, x1=216.0, mid=128.0, steps=96):
    """A smooth sine wave from x0 to x1 as an SVG path of short line pieces."""
    points = []
    for i in range(steps + 1):
        t = i / steps
        x = x0 + (x1 - x0) * t
        # Fade the ends in and out so the wave sits inside the ring.
        envelope = math.sin(math.pi * t) ** 0.6
        y = mid - amplitude * envelope * math.sin(2 * math.pi * cycles * t + phase)
        points.append((x, y))
    head = "M%.2f %.2f" % points[0]
    return head + "".join(" L%.2f %.2f" % p for p in points[1:])


def svg_text():
    bold = wave_path(cycles=2.0, amplitude=46.0, phase=0.0)
    faint = wave_path(cycles=4.0, amplitude=30.0, phase=math.pi / 2)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">
  <title>Helicordia</title>
  <defs>
    <linearGradient id="back" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#1c3550"/>
      <stop offset="1" stop-color="#23656f"/>
    </linearGradient>
    <linearGradient id="wave" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#9fe3ef"/>
      <stop offset="0.5" stop-color="#ffffff"/>
      <stop offset="1" stop-color="#f3d9a0"/>
    </linearGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="52" ry="52" fill="url(#back)"/>
  <rect x="8" y="8" width="240" height="240" rx="52" ry="52" fill="none" stroke="#6096aa" stroke-width="4"/>
  <circle cx="128" cy="128" r="92" fill="none" stroke="#6fb3c4" stroke-opacity="0.55" stroke-width="10"/>
  <path d="{faint}" fill="none" stroke="#9fd0dc" stroke-opacity="0.45" stroke-width="8" stroke-linecap="round" stroke-linejoin="round"/>
  <path d="{bold}" fill="none" stroke="url(#wave)" stroke-width="20" stroke-linecap="round" stroke-linejoin="round"/>
</svg>
"""


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "icons")
    os.makedirs(out, exist_ok=True)
    svg = os.path.join(out, "helicordia.svg")
    with open(svg, "w", encoding="utf-8") as f:
        f.write(svg_text())
    for size in SIZES:
        png = os.path.join(out, f"helicordia-{size}.png")
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", png, svg], check=True)


if __name__ == "__main__":
    main()
