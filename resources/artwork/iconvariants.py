"""From a drawn icon to the two bitmaps of its family.

The program draws a node's label under its icon, starting 10 pixels in from
the bitmap's left edge and cut off at its right edge.  A 32-pixel bitmap
would leave room for only three characters, so the 32 x 32 drawing sits in
the middle of a wider, see-through canvas that gives an 8-character name
room to show.
"""

from colours import GREY_LEVELS, KEY
from raster import Canvas

ICON_WIDTH, ICON_HEIGHT = 80, 32

# Lamps go dark on a switched-off node rather than turning light grey.
_DARK_WHEN_OFF = ("led_green", "led_amber", "led_red")


def place_on_icon_canvas(art, key_index):
    canvas = Canvas(ICON_WIDTH, ICON_HEIGHT, key_index)
    left = (ICON_WIDTH - art.width) // 2
    top = (ICON_HEIGHT - art.height) // 2
    for y in range(art.height):
        for x in range(art.width):
            canvas.set(left + x, top + y, art.get(x, y))
    return canvas


def _luminance(rgb):
    r, g, b = rgb
    return 0.299 * r + 0.587 * g + 0.114 * b


def _grey_for(palette, index):
    """A flat, darker grey: the shape stays readable but plainly switched off."""
    greys = [palette[f"grey{level}"] for level in range(GREY_LEVELS)]
    target = 30 + 0.5 * _luminance(palette.rgb(index))
    return min(greys, key=lambda g: abs(palette.rgb(g)[0] - target))


def inactive_variant(active, palette):
    key = palette[KEY]
    overrides = {palette[name]: palette["grey2"] for name in _DARK_WHEN_OFF}
    mapping = {}
    result = Canvas(active.width, active.height, key)
    for y in range(active.height):
        for x in range(active.width):
            index = active.get(x, y)
            if index != key:
                if index not in mapping:
                    mapping[index] = overrides.get(index) or _grey_for(palette, index)
                result.set(x, y, mapping[index])
    return result
