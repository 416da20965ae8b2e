#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace mapvine {

class CDIB;

// One palette entry: red, green, blue, flags (kNoCollapse or 0).
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};
inline constexpr std::uint8_t kNoCollapse = 4;  // PC_NOCOLLAPSE

// A logical palette: an ordered list of entries with a nearest-colour lookup,
// plus the usage statistics that palette merging caches.
class CDIBPal {
 public:
  CDIBPal() = default;

  bool CreateFromImage(const CDIB& image);
  // `table` holds n four-byte entries (blue, green, red, reserved).
  bool CreateFromColorTable(const std::uint8_t* table, int n);
  bool HasPalette() const { return entries_.has_value(); }
  int ColorCount() const;
  std::span<const PaletteEntry> Entries() const;
  // Replaces the palette (creating one when there was none).
  void SetEntries(std::vector<PaletteEntry> entries) { entries_ = std::move(entries); }

  // Index of the entry nearest to the colour; -1 without entries.
  // "Nearest" everywhere in the program means the smallest squared Euclidean
  // distance in RGB (flags ignored); among equally near entries the lowest
  // index wins, so an exact colour always maps to its first occurrence.
  int NearestIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
  // The nearest entry for each entry of a 256-entry colour table (blue,
  // green, red, reserved) that `wanted` marks; -1 for the others and
  // throughout without entries. Remapping looks pixels up in this instead of
  // searching per pixel, and wants only the colours its pixels use.
  std::array<int, 256> NearestIndices(const std::uint8_t* colorTable,
                                      const std::array<bool, 256>& wanted) const;

  bool CreateColorCube();
  bool MergePalettes(std::span<CDIBPal* const> palettes, std::span<const CDIB* const> images);
  CDIBPal& CopyEntriesFrom(const CDIBPal& other);
  bool CountColorUsage(const CDIB& image);

  // Merge statistics, kept with the palette once computed.
  std::vector<int> usageCounts;
  std::vector<int> usageRanking;
  int mergeCursor = 0;

 private:
  std::optional<std::vector<PaletteEntry>> entries_;
};

}  // namespace mapvine
