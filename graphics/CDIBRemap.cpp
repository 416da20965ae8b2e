// Re-expressing an image in the colours of another palette.
#include "graphics/CDIB.h"
#include "graphics/CDIBLayout.h"
#include "graphics/CDIBPal.h"

namespace mapvine {
namespace {

constexpr std::array<bool, 256> kAllValues = [] {
  std::array<bool, 256> all{};
  all.fill(true);
  return all;
}();

// The byte values that occur (row padding included, which is remapped
// like the pixels).
std::array<bool, 256> ValuesIn(std::span<const std::uint8_t> bits) {
  std::array<bool, 256> seen{};
  for (std::uint8_t b : bits) seen[b] = true;
  return seen;
}

void RemapIndexedBytes(std::span<std::uint8_t> bits, const std::array<int, 256>& map) {
  for (std::uint8_t& b : bits) b = static_cast<std::uint8_t>(map[b]);
}

// Two pixels per byte; only called with palettes of at most 16 entries.
void RemapNibbles(std::span<std::uint8_t> bits, const std::array<int, 256>& map) {
  for (std::uint8_t& b : bits) b = static_cast<std::uint8_t>(map[b >> 4] * 16 + map[b & 0x0F]);
}

void RemapTrueColor(CDIB& image, const CDIBPal& palette) {
  const auto entries = palette.Entries();
  for (int y = 0; y < image.GetHeight(); ++y) {
    std::uint8_t* pixel = image.PixelPtr(0, y);
    for (int x = 0; x < image.GetWidth(); ++x, pixel += 3) {
      const PaletteEntry& nearest = entries[palette.NearestIndex(pixel[2], pixel[1], pixel[0])];
      pixel[0] = nearest.blue;
      pixel[1] = nearest.green;
      pixel[2] = nearest.red;
    }
  }
}

}  // namespace

bool CDIB::RemapToPalette(const CDIBPal& palette) {
  if (!storage_) return false;
  const auto entries = palette.Entries();
  const std::size_t n = entries.size();
  const int depth = BitCount();
  // An indexed image cannot name more entries than its depth can hold.
  const std::size_t indexable = depth == 4 ? 16 : dib::kMaxColorEntries;
  if (n == 0 || n > indexable) return false;
  if (depth != 4 && depth != 8 && depth != 24) return false;

  std::uint8_t* table = HeaderBlock() + dib::kColorTable;
  const std::size_t pixelBytes = static_cast<std::size_t>(RowBytes()) * GetHeight();
  if (depth == 24) {
    RemapTrueColor(*this, palette);
  } else {
    const std::span<std::uint8_t> bits = Bits().first(pixelBytes);
    if (depth == 8) RemapIndexedBytes(bits, palette.NearestIndices(table, ValuesIn(bits)));
    if (depth == 4) RemapNibbles(bits, palette.NearestIndices(table, kAllValues));
  }
  for (std::size_t i = 0; i < dib::kMaxColorEntries; ++i) {
    const PaletteEntry entry = i < n ? entries[i] : PaletteEntry{};
    table[4 * i] = entry.blue;
    table[4 * i + 1] = entry.green;
    table[4 * i + 2] = entry.red;
    table[4 * i + 3] = 0;
  }
  StoreU32(HeaderBlock() + dib::kBiClrUsed, static_cast<std::uint32_t>(n));
  return true;
}

}  // namespace mapvine
