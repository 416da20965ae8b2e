"""The application icon: three nodes joined by a vine on a dark blue tile.

Drawn from smooth shapes with 4 x 4 supersampling, so it scales to any size
with soft edges; written as PNG with alpha.
"""

import math

_SAMPLES = 4


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def _curve(a, control, b, steps=24):
    return [((1 - t) ** 2 * a[0] + 2 * (1 - t) * t * control[0] + t * t * b[0],
             (1 - t) ** 2 * a[1] + 2 * (1 - t) * t * control[1] + t * t * b[1])
            for t in (i / steps for i in range(steps + 1))]


def _near_polyline(points, width):
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        return any(_segment_distance(x, y, ax, ay, bx, by) <= width / 2
                   for (ax, ay), (bx, by) in segments)
    return inside


def _disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def _leaf(cx, cy, length, width, angle):
    cos_a, sin_a = math.cos(angle), math.sin(angle)

    def inside(x, y):
        u = (x - cx) * cos_a + (y - cy) * sin_a
        v = -(x - cx) * sin_a + (y - cy) * cos_a
        return (u / length) ** 2 + (v / width) ** 2 <= 1
    return inside


def _rounded_square(size, radius):
    def inside(x, y):
        cx = min(max(x, radius), size - radius)
        cy = min(max(y, radius), size - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def _layers():
    """Shapes on a 64-unit square, bottom first: (inside(x, y), colour(x, y))."""
    tile = _rounded_square(64, 12)
    inner = lambda x, y: _rounded_square(60, 10)(x - 2, y - 2)  # noqa: E731
    nodes = {"nn": (18, 19), "en": (46, 24), "lu": (28, 47)}
    vine = (_curve(nodes["nn"], (34, 8), nodes["en"]) +
            _curve(nodes["en"], (50, 44), nodes["lu"])[1:])
    link = _curve(nodes["nn"], (14, 36), nodes["lu"])

    def flat(rgb):
        return lambda x, y: rgb

    def lit(dark, light, cx, cy, r):
        def colour(x, y):
            t = max(0.0, min(1.0, math.hypot(x - cx + r / 2, y - cy + r / 2) / (1.6 * r)))
            return tuple(round(l + (d - l) * t) for d, l in zip(dark, light))
        return colour

    layers = [
        (tile, flat((120, 150, 210))),
        (inner, lambda x, y: tuple(round(a + (b - a) * y / 64)
                                   for a, b in zip((34, 62, 128), (12, 24, 62)))),
        (_near_polyline(link, 2.4), flat((230, 64, 56))),
        (_near_polyline(vine, 3.2), flat((40, 200, 80))),
        # Leaves stand off the stem, so they cannot be read as arrowheads.
        (_leaf(35.5, 10, 5.5, 2.4, -0.8), flat((70, 228, 110))),
        (_leaf(48, 43, 5.5, 2.4, 0.7), flat((70, 228, 110))),
    ]
    for (cx, cy), (dark, light) in zip(nodes.values(),
                                       (((20, 60, 170), (150, 200, 255)),
                                        ((20, 110, 40), (170, 240, 150)),
                                        ((180, 100, 0), (255, 226, 140)))):
        layers.append((_disc(cx, cy, 8.2), flat((8, 14, 30))))
        layers.append((_disc(cx, cy, 6.8), lit(dark, light, cx, cy, 6.8)))
    return layers


def app_icon(size):
    """Rows of (r, g, b, a), top row first."""
    layers = _layers()
    scale = 64 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            coverage = 0
            for sy in range(_SAMPLES):
                for sx in range(_SAMPLES):
                    x = (px + (sx + 0.5) / _SAMPLES) * scale
                    y = (py + (sy + 0.5) / _SAMPLES) * scale
                    colour = None
                    for inside, paint in layers:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour is not None:
                        coverage += 1
                        for i in range(3):
                            total[i] += colour[i]
            if coverage:
                row.append(tuple(round(t / coverage) for t in total) +
                           (round(255 * coverage / _SAMPLES ** 2),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows
