#include "render/PaletteMapping.h"

#include <cstdint>

#include "graphics/CDIBLayout.h"

namespace mapvine {

namespace {

// True when the image's colour table already is `palette`: remapping it
// again would change nothing.
bool UsesPalette(const CDIB& image, const CDIBPal& palette) {
  if (!image.HasHeader() || image.BitCount() != 8) return false;
  const auto entries = palette.Entries();
  if (image.ColorCount() != static_cast<int>(entries.size())) return false;
  const std::uint8_t* table = image.HeaderBlock() + dib::kColorTable;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::uint8_t* entry = table + 4 * i;
    if (entry[0] != entries[i].blue || entry[1] != entries[i].green ||
        entry[2] != entries[i].red) {
      return false;
    }
  }
  return true;
}

bool NeedsMapping(const CDIB& image, const CDIBPal* palette) {
  return palette != nullptr && palette->HasPalette() && !UsesPalette(image, *palette);
}

}  // namespace

void MapToPalette(CDIB& image, const CDIBPal* palette) {
  // Nodes of one kind share their icon's storage: a refresh of thousands of
  // nodes maps each icon once and finds it mapped for every other node.
  if (NeedsMapping(image, palette)) image.RemapToPalette(*palette);
}

void MapToPalette(ComposedBackground& background, const CDIBPal* palette) {
  if (NeedsMapping(background.Source(), palette)) background.RemapToPalette(*palette);
}

void MapNodesToPalette(CMapvineDoc& doc, const CDIBPal* palette) {
  for (const auto& node : doc.Nodes()) {
    MapToPalette(*node, palette);
    node->PickTransparentIndex();
  }
}

}  // namespace mapvine
