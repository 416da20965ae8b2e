"""A contact sheet of all the artwork, for judging it by eye.

Top: every icon family, active and inactive, four times enlarged on the
background.  Middle: a 1:1 scene as the program would show it (icons on the
tiled background, joined by pure green and red lines).  Bottom: the toolbar
buttons (x4, on a toolbar grey) and the application icon.
"""

from raster import line

SCALE = 4
GAP = 8
ART_LEFT, ART_WIDTH = 20, 40   # the part of an 80-pixel icon canvas worth enlarging
SHEET_BG = (48, 48, 52)


class _Frame:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, rgb, scale=1):
        for dy in range(scale):
            for dx in range(scale):
                if 0 <= x + dx < self.width and 0 <= y + dy < self.height:
                    self.rows[y + dy][x + dx] = rgb

    def blend(self, x, y, rgba, scale=1):
        r, g, b, a = rgba
        for dy in range(scale):
            for dx in range(scale):
                if 0 <= x + dx < self.width and 0 <= y + dy < self.height:
                    under = self.rows[y + dy][x + dx]
                    self.rows[y + dy][x + dx] = tuple(
                        round(u + (c - u) * a / 255) for u, c in zip(under, (r, g, b)))


def _draw_backdrop(frame, backdrop, table, left, top, width, height, scale=1,
                   offset=(0, 0)):
    for y in range(height):
        for x in range(width):
            index = backdrop.get((x + offset[0]) % backdrop.width,
                                 (y + offset[1]) % backdrop.height)
            frame.put(left + x * scale, top + y * scale, table[index], scale)


def _draw_icon(frame, icon, table, left, top, x0=0, width=None, scale=1):
    key = icon.get(0, 0)  # the program's rule: the top-left pixel is see-through
    for y in range(icon.height):
        for x in range(width or icon.width):
            index = icon.get(x0 + x, y)
            if index != key:
                frame.put(left + x * scale, top + y * scale, table[index], scale)


def contact_sheet(icons, backdrop, table, buttons, app_icon_rows):
    cell_w, cell_h = ART_WIDTH * SCALE, 32 * SCALE
    families = [name for name in icons if not name.endswith("I")]
    width = GAP + len(families) * (cell_w + GAP)
    scene_top = GAP + 2 * (cell_h + GAP)
    scene_h = 320
    tools_top = scene_top + scene_h + GAP
    height = tools_top + 64 + GAP
    frame = _Frame(width, height, SHEET_BG)

    for row, suffix in enumerate(("", "I")):
        for column, family in enumerate(families):
            left = GAP + column * (cell_w + GAP)
            top = GAP + row * (cell_h + GAP)
            _draw_backdrop(frame, backdrop, table, left, top, ART_WIDTH, 32, SCALE,
                           offset=(column * 97, row * 61))
            _draw_icon(frame, icons[family + suffix], table, left, top, ART_LEFT, ART_WIDTH,
                       SCALE)

    # 1:1 scene, wider than the background so the tiling seam would show.
    _draw_backdrop(frame, backdrop, table, GAP, scene_top, width - 2 * GAP, scene_h)
    places = {"NN": (40, 40), "EN": (220, 30), "LU": (400, 40), "CN": (130, 150),
              "MN": (560, 140), "ENI": (320, 170), "LUI": (480, 250), "NNI": (60, 250),
              "CNI": (250, 260), "MNI": (660, 40)}
    links = (("NN", "EN", True), ("EN", "LU", True), ("NN", "CN", True), ("CN", "ENI", False),
             ("EN", "MN", True), ("ENI", "LUI", False), ("NN", "NNI", False),
             ("CN", "CNI", True), ("MN", "MNI", False), ("LU", "MNI", True))
    for a, b, active in links:
        (ax, ay), (bx, by) = places[a], places[b]
        colour = (0, 255, 0) if active else (255, 0, 0)
        for x, y in line(ax + 40, ay + 16, bx + 40, by + 16):
            frame.put(GAP + x, scene_top + y, colour)
    for name, (x, y) in places.items():
        _draw_icon(frame, icons[name], table, GAP + x, scene_top + y)
        # Stand-in for the white label the program writes under the icon.
        for dx in range(10, 52):
            if dx % 7 != 6:
                frame.put(GAP + x + dx, scene_top + y + 36, (255, 255, 255))

    left = GAP
    for rows in buttons.values():
        for y in range(len(rows)):
            for x in range(len(rows[0])):
                frame.put(left + x * SCALE, tools_top + y * SCALE, (212, 208, 200), SCALE)
                frame.blend(left + x * SCALE, tools_top + y * SCALE, rows[y][x], SCALE)
        left += 16 * SCALE + GAP
    for background in ((212, 208, 200), (16, 30, 66)):
        for y in range(64):
            for x in range(64):
                frame.put(left + x, tools_top + y, background)
                frame.blend(left + x, tools_top + y, app_icon_rows[y][x])
        left += 64 + GAP
    return frame.rows
