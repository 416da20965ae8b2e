#!/usr/bin/env python3
"""Regenerates every standard bitmap and image of Mapvine in place.

    python3 resources/artwork/make_artwork.py [--preview sheet.png]

Deterministic: the same script always writes the same bytes.  Needs only
the Python 3 standard library.
"""

import argparse
import os
import sys

# Keep the resource tree clean: no __pycache__ next to the modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from appicon import app_icon                        # noqa: E402
from background import background                   # noqa: E402
from colours import KEY, build_palette              # noqa: E402
from iconvariants import inactive_variant, place_on_icon_canvas  # noqa: E402
from icons import FAMILIES                          # noqa: E402
from imagefiles import bmp_bytes, png_bytes, write_file  # noqa: E402
from toolbar import BUTTONS                         # noqa: E402

RESOURCES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The hicolor theme sizes the installed application icon comes in.
ICON_THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_bmp(name, canvas, table):
    write_file(os.path.join(RESOURCES, name),
               bmp_bytes(canvas.width, canvas.height, canvas.rows, table))


def write_png(relative_path, rows):
    write_file(os.path.join(RESOURCES, relative_path),
               png_bytes(len(rows[0]), len(rows), rows, alpha=True))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="PNG",
                        help="also write a contact sheet of everything, for checking by eye")
    args = parser.parse_args()

    palette = build_palette()
    table = palette.table()
    icons = {}
    for family, draw in FAMILIES:
        active = place_on_icon_canvas(draw(palette), palette[KEY])
        icons[family] = active
        icons[family + "I"] = inactive_variant(active, palette)
    for name, canvas in icons.items():
        write_bmp(f"{name}.BMP", canvas, table)
    backdrop = background(palette)
    write_bmp("backblue.bmp", backdrop, table)

    os.makedirs(os.path.join(RESOURCES, "toolbar"), exist_ok=True)
    for name, rows in BUTTONS.items():
        write_png(os.path.join("toolbar", f"{name}.png"), rows)
    for size in (64, 32):
        suffix = "" if size == 64 else f"-{size}"
        write_png(f"mapvine{suffix}.png", app_icon(size))
    # The desktop's menus and file managers pick the size they show from
    # the icon theme, so the installed program brings one of each.
    os.makedirs(os.path.join(RESOURCES, "icons"), exist_ok=True)
    for size in ICON_THEME_SIZES:
        write_png(os.path.join("icons", f"{size}x{size}.png"), app_icon(size))

    if args.preview:
        from preview import contact_sheet
        rows = contact_sheet(icons, backdrop, table, BUTTONS, app_icon(64))
        write_file(args.preview, png_bytes(len(rows[0]), len(rows), rows, alpha=False))
    print(f"{len(icons) + 1} bitmaps, {len(BUTTONS)} toolbar buttons and {2 + len(ICON_THEME_SIZES)} application icons "
          f"written to {RESOURCES} ({palette.used_count()} palette colours in use)")


if __name__ == "__main__":
    main()
