#include "graphics/SystemPalette.h"

#include <array>

namespace mapvine {
namespace {

constexpr std::array<PaletteEntry, 2 * kStaticColorsPerEnd> kStaticColors = {{
    {0, 0, 0, 0},        {128, 0, 0, 0},      {0, 128, 0, 0},      {128, 128, 0, 0},
    {0, 0, 128, 0},      {128, 0, 128, 0},    {0, 128, 128, 0},    {192, 192, 192, 0},
    {192, 220, 192, 0},  {166, 202, 240, 0},  {255, 251, 240, 0},  {160, 160, 164, 0},
    {128, 128, 128, 0},  {255, 0, 0, 0},      {0, 255, 0, 0},      {255, 255, 0, 0},
    {0, 0, 255, 0},      {255, 0, 255, 0},    {0, 255, 255, 0},    {255, 255, 255, 0},
}};

}  // namespace

std::optional<PaletteEntry> StaticSystemColor(int index) {
  if (index >= 0 && index < kStaticColorsPerEnd) return kStaticColors[index];
  const int upperStart = kSystemPaletteSize - kStaticColorsPerEnd;
  if (index >= upperStart && index < kSystemPaletteSize) {
    return kStaticColors[kStaticColorsPerEnd + index - upperStart];
  }
  return std::nullopt;
}

}  // namespace mapvine
