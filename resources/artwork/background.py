"""The standard background: dark blue with faint contour lines, like a
topographic chart, and a sparse grid of survey marks.

Everything is periodic in the picture size, so the picture tiles without a
seam when the program repeats it over a larger canvas.
"""

import math

from raster import Canvas

WIDTH, HEIGHT = 520, 320
GRID = 40              # divides both sides, so the marks tile too
CONTOUR_BANDS = 9

# (cycles across, cycles down, amplitude, phase): whole cycles keep it seamless.
_WAVES = ((1, 1, 1.0, 0.3), (2, -1, 0.7, 1.1), (3, 2, 0.45, 2.0), (-1, 3, 0.5, 0.7),
          (5, 1, 0.22, 1.9), (2, 4, 0.2, 0.4))


def _height_field():
    field = [[sum(a * math.cos(2 * math.pi * (kx * x / WIDTH + ky * y / HEIGHT) + phase)
                  for kx, ky, a, phase in _WAVES)
              for x in range(WIDTH)] for y in range(HEIGHT)]
    low = min(min(row) for row in field)
    high = max(max(row) for row in field)
    return [[(v - low) / (high - low) for v in row] for row in field]


def background(p):
    field = _height_field()
    band = [[min(CONTOUR_BANDS - 1, int(v * CONTOUR_BANDS)) for v in row] for row in field]
    fills = [p["bg_deep"]] * 2 + [p["bg_base"]] * 4 + [p["bg_band"]] * 3
    c = Canvas(WIDTH, HEIGHT, p["bg_base"])
    for y in range(HEIGHT):
        for x in range(WIDTH):
            here = band[y][x]
            right = band[y][(x + 1) % WIDTH]
            below = band[(y + 1) % HEIGHT][x]
            if here != right or here != below:
                # Every third contour is drawn a shade stronger, as on a chart.
                crest = max(here, right, below)
                c.set(x, y, p["bg_line"] if crest % 3 == 0 else p["bg_line_soft"])
            else:
                c.set(x, y, fills[here])
    half = GRID // 2
    for y in range(half, HEIGHT, GRID):
        for x in range(half, WIDTH, GRID):
            for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
                c.set(x + dx, y + dy, p["bg_line_soft"])
            c.set(x, y, p["bg_dot"])
    return c
