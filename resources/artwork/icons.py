"""The five node icon families, drawn at 32 x 32 from shaded shapes."""

from colours import KEY, ramp
from raster import (Canvas, cylinder_levels, ellipse, line, polygon, rect, rounded_rect,
                    vertical_levels)

ART_SIZE = 32


def _arrow(tail_x, tip_x, y):
    """A one-pixel shaft with a filled, five-pixel-high head at tip_x."""
    step = 1 if tip_x > tail_x else -1
    pixels = line(tail_x, y, tip_x, y)
    for back, half in ((1, 1), (2, 2)):
        pixels |= line(tip_x - step * back, y - half, tip_x - step * back, y + half)
    return pixels


def network_node(p):
    """A router: a blue puck with a cross of arrows on its top face."""
    blue = ramp(p, "blue")
    c = Canvas(ART_SIZE, ART_SIZE, p[KEY])
    side = rect(2, 12, 29, 21) | ellipse(16, 21, 14, 6)
    c.shade(side, blue, cylinder_levels(side, 1, 4), bevel=False)
    top = ellipse(16, 12.5, 14, 6.5)
    c.shade(top, blue, vertical_levels(top, 5, 4))
    # Two arrows passing each other: traffic routed both ways.
    arrows = _arrow(8, 21, 10) | _arrow(23, 10, 14)
    for x, y in arrows:
        if (x, y + 1) not in arrows:
            c.set(x, y + 1, blue[2])
    c.fill(arrows, p["white"])
    return c


def end_node(p):
    """A workstation: a green monitor on a foot, prompt on the screen."""
    green, screen = ramp(p, "green"), ramp(p, "screen", 5)
    c = Canvas(ART_SIZE, ART_SIZE, p[KEY])
    foot = polygon([(7, 30), (25, 30), (22, 26), (10, 26)])
    c.shade(foot, green, vertical_levels(foot, 3, 2))
    neck = rect(13, 22, 18, 26)
    c.shade(neck, green, lambda x, y: 2)
    bezel = rounded_rect(2, 2, 29, 23, 3)
    c.shade(bezel, green, vertical_levels(bezel, 5, 3))
    glass = rect(5, 5, 26, 19)
    c.shade(glass, screen, vertical_levels(glass, 2, 1), bevel=False)
    # A faint sheen across the upper left corner of the glass.
    c.fill({(6 + i, 6) for i in range(5)} | {(6, 6 + i) for i in range(3)}, screen[2])
    for y, x1 in ((9, 16), (12, 21), (15, 9)):
        c.fill(line(8, y, x1, y), screen[4])
    c.fill(rect(11, 15, 12, 15), screen[3])  # cursor
    c.set(25, 21, p["led_green"])
    return c


def logical_unit(p):
    """A session partner: a small amber page with a turned-down corner."""
    amber = ramp(p, "amber")
    c = Canvas(ART_SIZE, ART_SIZE, p[KEY])
    page = polygon([(8, 3), (19, 3), (25, 9), (25, 30), (8, 30)])
    c.shade(page, amber, vertical_levels(page, 5, 4))
    corner = polygon([(19, 3), (25, 9), (19, 9)])
    c.shade(corner, amber, lambda x, y: 6, bevel=False)
    c.fill(line(19, 3, 19, 9) | line(19, 9, 25, 9), amber[1])
    c.fill(line(19, 3, 25, 9), amber[0])
    for y, x1 in ((12, 21), (15, 19), (18, 22), (21, 17), (24, 21)):
        c.fill(line(11, y, x1, y), amber[2])
    return c


def connection_network(p):
    """A shared transport: a purple cloud with three joined points in it."""
    purple = ramp(p, "purple")
    c = Canvas(ART_SIZE, ART_SIZE, p[KEY])
    cloud = (ellipse(9, 19, 7, 6.5) | ellipse(16.5, 13, 9, 8.5) | ellipse(24, 17.5, 6.5, 6.5)
             | rounded_rect(3, 16, 29, 26, 5))
    c.shade(cloud, purple, vertical_levels(cloud, 5, 2))
    points = [(9, 21), (17, 13), (24, 20)]
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        c.fill(line(ax, ay, bx, by), purple[6])
    for x, y in points:
        c.fill(rect(x - 1, y - 1, x + 1, y + 1), p["white"])
        c.set(x + 1, y + 1, purple[6])
    return c


def host(p):
    """A host computer: a steel cabinet with three doors and a lamp panel."""
    steel = ramp(p, "steel")
    c = Canvas(ART_SIZE, ART_SIZE, p[KEY])
    body = rect(3, 2, 28, 30)
    c.shade(body, steel, vertical_levels(body, 5, 3))
    panel = rect(5, 4, 26, 8)
    c.shade(panel, [steel[0]] + [p["grey1"]] * 6, lambda x, y: 1, bevel=False)
    for x, lamp in ((7, "led_green"), (9, "led_green"), (11, "led_amber"), (13, "led_green"),
                    (17, "grey5"), (19, "grey5"), (21, "grey5"), (23, "grey5")):
        c.set(x, 6, p[lamp])
    for x0 in (5, 12, 19):
        door = rect(x0, 10, x0 + 7, 28)
        c.shade(door, steel, vertical_levels(door, 4, 3))
        for y in range(13, 27, 3):
            c.fill(line(x0 + 2, y, x0 + 5, y), steel[1])
            c.fill(line(x0 + 2, y + 1, x0 + 5, y + 1), steel[5])
    return c


FAMILIES = (("NN", network_node), ("EN", end_node), ("LU", logical_unit),
            ("CN", connection_network), ("MN", host))
