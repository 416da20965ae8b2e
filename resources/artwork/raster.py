"""Pixel masks and the shading that turns them into lit, outlined shapes.

A mask is a set of (x, y) pixel positions, y growing downwards.  Shapes are
sampled at pixel centres, so a shape described in pixel-edge coordinates
covers exactly the pixels one would expect.
"""

import math


def rect(x0, y0, x1, y1):
    """Pixels x0..x1, y0..y1 inclusive."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def ellipse(cx, cy, rx, ry):
    """Centre and radii in pixel-edge coordinates (cx = 16 is the line
    between columns 15 and 16)."""
    pixels = set()
    for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1):
        for x in range(math.floor(cx - rx), math.ceil(cx + rx) + 1):
            dx = (x + 0.5 - cx) / rx
            dy = (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                pixels.add((x, y))
    return pixels


def rounded_rect(x0, y0, x1, y1, radius):
    """Pixels x0..x1, y0..y1 with corners cut to the given radius."""
    pixels = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            cx = min(max(x + 0.5, x0 + radius), x1 + 1 - radius)
            cy = min(max(y + 0.5, y0 + radius), y1 + 1 - radius)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius + 0.25:
                pixels.add((x, y))
    return pixels


def polygon(points):
    """Even-odd fill of a polygon given in pixel-edge coordinates."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    pixels = set()
    for y in range(math.floor(min(ys)), math.ceil(max(ys))):
        sy = y + 0.5
        for x in range(math.floor(min(xs)), math.ceil(max(xs))):
            sx = x + 0.5
            inside = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > sy) != (by > sy) and sx < ax + (sy - ay) * (bx - ax) / (by - ay):
                    inside = not inside
            if inside:
                pixels.add((x, y))
    return pixels


def line(x0, y0, x1, y1):
    """A one-pixel line between two pixel positions (inclusive)."""
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    return {(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps))
            for i in range(steps + 1)}


def boundary(mask):
    """Pixels of the mask with a 4-neighbour outside it."""
    return {(x, y) for x, y in mask
            if not {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} <= mask}


def bounds(mask):
    xs = [p[0] for p in mask]
    ys = [p[1] for p in mask]
    return min(xs), min(ys), max(xs), max(ys)


class Canvas:
    """A grid of palette indices, top row first."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def set(self, x, y, index):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = index

    def get(self, x, y):
        return self.rows[y][x]

    def fill(self, mask, index):
        for x, y in mask:
            self.set(x, y, index)

    def shade(self, mask, ramp, level_at, outline=True, bevel=True):
        """Paints `mask` with colours of `ramp` (a list of palette indices,
        darkest first).  level_at(x, y) gives the ramp level of an interior
        pixel; with `bevel` the inner rim is one level lighter along the
        top/left edges and one darker along the bottom/right, light coming
        from the upper left.  With `outline` the rim itself is ramp[0]."""
        rim = boundary(mask) if outline else set()
        top = len(ramp) - 1
        for x, y in mask:
            if (x, y) in rim:
                self.set(x, y, ramp[0])
                continue
            level = level_at(x, y)
            if bevel:
                lit = (x, y - 1) in rim or (x - 1, y) in rim
                dark = (x, y + 1) in rim or (x + 1, y) in rim
                level += (1 if lit else 0) - (1 if dark else 0)
            self.set(x, y, ramp[max(1, min(top, level))])


def vertical_levels(mask, top_level, bottom_level):
    """level_at for a top-to-bottom gradient across the mask."""
    _, y0, _, y1 = bounds(mask)
    span = max(1, y1 - y0)
    return lambda x, y: round(top_level + (bottom_level - top_level) * (y - y0) / span)


def cylinder_levels(mask, edge_level, peak_level, peak_at=0.35):
    """level_at for a surface curving away from the viewer at both sides,
    brightest a little left of centre."""
    x0, _, x1, _ = bounds(mask)
    span = max(1, x1 - x0)

    def level_at(x, y):
        t = (x - x0) / span
        distance = (peak_at - t) / peak_at if t < peak_at else (t - peak_at) / (1 - peak_at)
        return round(peak_level - (peak_level - edge_level) * distance ** 1.5)
    return level_at
