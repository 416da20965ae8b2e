#include "render/PaletteMapping.h"

#include <algorithm>
#include <array>
#include <cstddef>
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
  // Most nodes share one of a few icons: each icon's colour table is held
  // against the palette once, not once for each of 100,000 nodes. The few
  // icons seen last are enough to know, and a picture of many icons of its
  // own costs no more than checking each.
  constexpr std::size_t kIconsRemembered = 8;
  std::array<const CDIB*, kIconsRemembered> mapped{};
  std::size_t next = 0;
  for (const auto& node : doc.Nodes()) {
    const bool seen = std::any_of(mapped.begin(), mapped.end(), [&node](const CDIB* icon) {
      return icon != nullptr && node->SharesStorageWith(*icon);
    });
    if (!seen) {
      MapToPalette(*node, palette);
      mapped[next++ % kIconsRemembered] = node.get();
    }
    node->PickTransparentIndex();
  }
}

}  // namespace mapvine
