// Merging the most-used colours of several images into one palette.
#include <algorithm>
#include <cassert>

#include "graphics/CDIBPal.h"
#include "graphics/SystemPalette.h"

namespace mapvine {
namespace {

// Merged colours go after the low static colours and stop short of the
// high ones (entries 10..244).
constexpr int kFirstMerged = kStaticColorsPerEnd;
constexpr int kMaxMerged = 235;

// Entry indices by falling use, the lowest index first among equals; unused
// entries are left out.
void RankUsage(CDIBPal& palette) {
  std::vector<int> counts = palette.usageCounts;
  for (std::size_t round = 0; round < counts.size(); ++round) {
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most <= 0) break;
    palette.usageRanking.push_back(static_cast<int>(most - counts.begin()));
    *most = -1;
  }
}

bool AlreadyMerged(std::span<const PaletteEntry> merged, const PaletteEntry& candidate) {
  return std::find(merged.begin(), merged.end(), candidate) != merged.end();
}

}  // namespace

// The counts and rankings are cached in the source palettes: an image's
// usage does not change between merges, and counting is the costly part.
bool CDIBPal::MergePalettes(std::span<CDIBPal* const> palettes,
                            std::span<const CDIB* const> images) {
  assert(palettes.size() == images.size());
  const std::size_t count = std::min(palettes.size(), images.size());
  for (std::size_t i = 0; i < count; ++i) {
    CDIBPal& source = *palettes[i];
    if (source.usageCounts.empty()) source.CountColorUsage(*images[i]);
    if (source.usageRanking.empty()) RankUsage(source);
    source.mergeCursor = 0;
  }
  if (count == 0) return true;

  // A palette too short for the whole range takes what fits.
  const int capacity = std::clamp(ColorCount() - kFirstMerged, 0, kMaxMerged);
  int added = 0;
  std::size_t exhausted = 0;
  // The images take turns, each giving its next most-used colour.
  for (std::size_t i = 0; exhausted < count && added < capacity; i = (i + 1) % count) {
    CDIBPal& source = *palettes[i];
    const int length = static_cast<int>(source.usageRanking.size());
    if (source.mergeCursor < length) {
      const int index = source.usageRanking[source.mergeCursor++];
      if (index < 0 || index >= source.ColorCount()) continue;
      const PaletteEntry candidate = source.Entries()[index];
      std::vector<PaletteEntry>& mine = *entries_;
      if (AlreadyMerged(std::span(mine).subspan(kFirstMerged, added), candidate)) continue;
      mine[kFirstMerged + added++] = candidate;
    } else if (source.mergeCursor == length) {
      ++exhausted;
      ++source.mergeCursor;  // counted once
    }
  }
  return true;
}

}  // namespace mapvine
