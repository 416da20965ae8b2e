#include "graphics/CDIBSurface.h"

#include <algorithm>
#include <cstring>

#include "graphics/CDIBLayout.h"

namespace mapvine {

bool CDIBSurface::Create(int width, int height, const CDIBPal* palette) {
  if (!CDIB::Create(width, height, palette)) return false;
  if (palette != nullptr) {
    SetColorTable(*palette);
  } else {
    palette_ = CDIBPal{};
    // The surface's table holds only what a palette gives it.
    std::memset(HeaderBlock() + dib::kColorTable, 0, kHeaderBlockSize - dib::kColorTable);
  }
  return true;
}

DibLoadResult CDIBSurface::Load(const std::string& path) {
  CDIB image;
  DibLoadResult result = image.Load(path);
  if (!result) return result;
  CDIBPal imagePalette;
  const bool hasPalette = imagePalette.CreateFromImage(image);
  if (!Create(image.GetWidth(), image.GetHeight(), hasPalette ? &imagePalette : nullptr)) {
    return DibLoadResult::Refused("Not enough memory for a surface of that size");
  }
  image.CopyPixelsTo(*this, 0, 0, image.GetWidth(), image.GetHeight(), 0, 0, kOpaque);
  return result;
}

bool CDIBSurface::RemapToPalette(const CDIBPal& palette) {
  // A failed remap means there was no palette to follow; keep the table.
  if (!CDIB::RemapToPalette(palette)) return false;
  SetColorTable(palette);
  return true;
}

void CDIBSurface::SetColorTable(const CDIBPal& palette) {
  palette_ = CDIBPal{};
  palette_.CopyEntriesFrom(palette);
  if (!HasHeader()) return;

  const auto entries = palette.Entries();
  const std::size_t n = std::min<std::size_t>(entries.size(), 256);
  std::uint8_t* table = HeaderBlock() + dib::kColorTable;
  std::memset(table, 0, kHeaderBlockSize - dib::kColorTable);
  for (std::size_t i = 0; i < n; ++i) {
    table[4 * i] = entries[i].blue;
    table[4 * i + 1] = entries[i].green;
    table[4 * i + 2] = entries[i].red;
  }
  StoreU32(HeaderBlock() + dib::kBiClrUsed, static_cast<std::uint32_t>(n));
}

}  // namespace mapvine
