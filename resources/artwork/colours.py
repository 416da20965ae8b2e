"""Every colour the standard bitmaps use, in one shared palette."""

from palette import Palette

RAMP_LEVELS = 7      # level 0 is the outline, the last level the highlight
GREY_LEVELS = 12

# The icons' see-through colour is the background's own base colour, so an
# icon drawn without transparency (a preview, a dialog) still sits well on
# the standard background.
KEY = "bg_base"


def build_palette():
    p = Palette()
    p.add("black", (0, 0, 0))
    # Background: a calm dark blue and a few barely different neighbours.
    p.add("bg_base", (16, 30, 66))
    p.add("bg_band", (19, 35, 74))
    p.add("bg_deep", (13, 25, 58))
    p.add("bg_line_soft", (23, 41, 84))
    p.add("bg_line", (28, 48, 94))
    p.add("bg_dot", (38, 62, 114))

    p.add_ramp("blue", [(8, 18, 58), (26, 68, 168), (72, 142, 236), (206, 230, 255)],
               RAMP_LEVELS)
    p.add_ramp("green", [(4, 42, 18), (28, 118, 46), (92, 200, 92), (222, 250, 204)],
               RAMP_LEVELS)
    p.add_ramp("amber", [(72, 34, 0), (190, 108, 8), (250, 180, 52), (255, 242, 196)],
               RAMP_LEVELS)
    p.add_ramp("purple", [(44, 10, 72), (114, 52, 170), (178, 122, 232), (242, 224, 255)],
               RAMP_LEVELS)
    p.add_ramp("steel", [(18, 28, 46), (76, 96, 126), (144, 166, 194), (230, 240, 252)],
               RAMP_LEVELS)
    p.add_ramp("grey", [(24, 24, 26), (238, 238, 238)], GREY_LEVELS)
    p.add_ramp("screen", [(4, 18, 22), (12, 44, 50), (36, 104, 104), (160, 236, 214)], 5)

    p.add("white", (255, 255, 255))
    p.add("led_green", (80, 255, 112))
    p.add("led_amber", (255, 204, 36))
    p.add("led_red", (255, 72, 56))
    return p


def ramp(palette, name, levels=RAMP_LEVELS):
    return [palette[f"{name}{level}"] for level in range(levels)]
