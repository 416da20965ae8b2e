// Building palettes and looking colours up in them.
#include "graphics/CDIBPal.h"

#include <algorithm>

#include "graphics/CDIB.h"
#include "graphics/CDIBLayout.h"
#include "graphics/SystemPalette.h"

namespace mapvine {

bool CDIBPal::CreateFromImage(const CDIB& image) {
  if (!image.HasHeader()) return false;
  const int n = std::min(image.ColorCount(), dib::kMaxColorEntries);
  return CreateFromColorTable(image.HeaderBlock() + dib::kColorTable, n);
}

bool CDIBPal::CreateFromColorTable(const std::uint8_t* table, int n) {
  if (table == nullptr || n <= 0) return false;
  std::vector<PaletteEntry> entries(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const std::uint8_t* e = table + 4 * i;
    entries[i] = {e[2], e[1], e[0], 0};
  }
  entries_ = std::move(entries);
  return true;
}

int CDIBPal::ColorCount() const { return entries_ ? static_cast<int>(entries_->size()) : 0; }

std::span<const PaletteEntry> CDIBPal::Entries() const {
  if (!entries_) return {};
  return *entries_;
}

int CDIBPal::NearestIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
  int best = -1;
  int bestDistance = 0;
  const auto entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int dr = entries[i].red - red;
    const int dg = entries[i].green - green;
    const int db = entries[i].blue - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

std::array<int, 256> CDIBPal::NearestIndices(const std::uint8_t* colorTable,
                                             const std::array<bool, 256>& wanted) const {
  std::array<int, 256> map;
  map.fill(-1);
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t* e = colorTable + 4 * i;
    if (wanted[i]) map[i] = NearestIndex(e[2], e[1], e[0]);
  }
  return map;
}

bool CDIBPal::CreateColorCube() {
  std::vector<PaletteEntry> entries(kSystemPaletteSize);
  for (int i = 0; i < kSystemPaletteSize; ++i) {
    if (const auto color = StaticSystemColor(i)) entries[i] = *color;
  }
  // 6 x 6 x 6 cube from entry 10, red slowest, blue fastest. The levels are
  // k * 255 / 6, so the brightest is 212, not 255.
  constexpr int kLevels = 6;
  int next = kStaticColorsPerEnd;
  for (int r = 0; r < kLevels; ++r) {
    for (int g = 0; g < kLevels; ++g) {
      for (int b = 0; b < kLevels; ++b) {
        entries[next++] = {static_cast<std::uint8_t>(r * 255 / kLevels),
                           static_cast<std::uint8_t>(g * 255 / kLevels),
                           static_cast<std::uint8_t>(b * 255 / kLevels), kNoCollapse};
      }
    }
  }
  constexpr int kGreys = 20;
  for (int k = 0; k < kGreys; ++k) {
    const auto level = static_cast<std::uint8_t>(k * 255 / kGreys);
    entries[next++] = {level, level, level, kNoCollapse};
  }
  entries_ = std::move(entries);
  return true;
}

CDIBPal& CDIBPal::CopyEntriesFrom(const CDIBPal& other) {
  if (this != &other) entries_ = other.entries_;
  return *this;
}

bool CDIBPal::CountColorUsage(const CDIB& image) {
  usageCounts.assign(static_cast<std::size_t>(ColorCount()), 0);
  if (!image.HasHeader()) return false;
  const int depth = image.BitCount();
  if (depth != 8 && depth != 24) return false;

  const auto count = [this](int nearest, int pixels) {
    if (nearest >= 0) usageCounts[static_cast<std::size_t>(nearest)] += pixels;
  };
  const int width = image.GetWidth();
  if (depth == 24) {
    for (int y = 0; y < image.GetHeight(); ++y) {
      const std::uint8_t* pixel = image.PixelPtr(0, y);
      for (int x = 0; x < width; ++x, pixel += 3)
        count(NearestIndex(pixel[2], pixel[1], pixel[0]), 1);
    }
    return true;
  }
  // Count each colour index first: only the indices in use are looked up.
  // Neighbouring pixels go to separate tallies, so that a run of one colour
  // does not make every count wait for the one before it.
  constexpr int kTallies = 4;
  std::array<std::array<int, 256>, kTallies> tallies{};
  for (int y = 0; y < image.GetHeight(); ++y) {
    const std::uint8_t* row = image.PixelPtr(0, y);
    int x = 0;
    for (; x + kTallies <= width; x += kTallies) {
      for (int t = 0; t < kTallies; ++t) ++tallies[t][row[x + t]];
    }
    for (; x < width; ++x) ++tallies[0][row[x]];
  }
  std::array<int, 256> pixelsOf{};
  for (const auto& tally : tallies) {
    for (int i = 0; i < 256; ++i) pixelsOf[i] += tally[i];
  }
  const std::uint8_t* table = image.HeaderBlock() + dib::kColorTable;
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t* e = table + 4 * i;
    if (pixelsOf[i] > 0) count(NearestIndex(e[2], e[1], e[0]), pixelsOf[i]);
  }
  return true;
}

}  // namespace mapvine
