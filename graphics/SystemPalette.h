#pragma once

#include <optional>

#include "graphics/CDIBPal.h"

namespace mapvine {

// The display is true colour, so there is no system palette to read or to
// realise a palette into. Where the picture's palette is built around the
// display's reserved colours, this model stands in for them: a classic
// 256-colour display whose system palette holds the 20 static VGA colours,
// ten at each end, with plain flags (0):
//   0..9     black, dark red, dark green, dark yellow, dark blue,
//            dark magenta, dark cyan, light grey, money green (192,220,192),
//            sky blue (166,202,240)
//   246..255 cream (255,251,240), medium grey (160,160,164),
//            dark grey (128,128,128), red, green, yellow, blue, magenta,
//            cyan, white
// The entries between are free for applications and have no fixed colour.
inline constexpr int kSystemPaletteSize = 256;
inline constexpr int kStaticColorsPerEnd = 10;

// The static colour at a system palette index; nullopt for the free middle.
std::optional<PaletteEntry> StaticSystemColor(int index);

}  // namespace mapvine
