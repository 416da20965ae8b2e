#include "model/TopologySections.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "model/TopologyStrings.h"

namespace mapvine::topology {
namespace {

constexpr std::int32_t kArranged = 1;
// Set when new resources go onto the grid: files without it keep the
// default of placing them beside their neighbours.
constexpr std::int32_t kNewOnGrid = 2;
constexpr std::int32_t kPinned = 1;
constexpr std::int32_t kLusFolded = 2;

std::int32_t FlagsOf(const CNode& node) { return (node.pinned ? kPinned : 0) | (node.lusFolded ? kLusFolded : 0); }

bool HasLayout(const CMapvineDoc& doc) {
  if (doc.arranged || !doc.placeNewNearNeighbours) return true;
  for (const auto& node : doc.Nodes()) {
    if (FlagsOf(*node) != 0) return true;
  }
  return false;
}

bool ReadLayout(ByteReader& in, CMapvineDoc& doc, std::span<CNode* const> stored) {
  std::int32_t pictureFlags = 0, count = 0;
  if (!in.ReadI32(pictureFlags) || !in.ReadI32(count)) return false;
  if (count < 0 || static_cast<std::size_t>(count) != stored.size() || !in.Has(stored.size() * 4)) return false;
  for (CNode* node : stored) {
    std::int32_t flags = 0;
    in.ReadI32(flags);
    node->pinned = (flags & kPinned) != 0;
    node->lusFolded = (flags & kLusFolded) != 0;
  }
  doc.arranged = (pictureFlags & kArranged) != 0;
  doc.placeNewNearNeighbours = (pictureFlags & kNewOnGrid) == 0;
  return true;
}

}  // namespace

bool WriteSections(const CMapvineDoc& doc, ByteSink& out) {
  if (!HasLayout(doc)) return true;
  VectorSink layout;
  layout.WriteI32((doc.arranged ? kArranged : 0) | (doc.placeNewNearNeighbours ? 0 : kNewOnGrid));
  layout.WriteI32(static_cast<std::int32_t>(doc.Nodes().size()));
  for (const auto& node : doc.Nodes()) layout.WriteI32(FlagsOf(*node));
  const std::vector<std::uint8_t>& bytes = layout.Bytes();
  if (bytes.size() > INT_MAX) return false;
  return WriteCountedString(out, kLayoutSection) && out.WriteI32(static_cast<std::int32_t>(bytes.size())) &&
         out.Write(bytes);
}

void ReadSections(ByteSource& in, CMapvineDoc& doc, std::span<CNode* const> stored) {
  doc.arranged = false;
  doc.placeNewNearNeighbours = true;
  while (in.Remaining() > 0) {
    std::string tag;
    std::vector<std::uint8_t> payload;
    const bool whole = in.ReadWhole([&](ByteReader& window) {
      std::int32_t length = 0;
      if (!ReadCountedString(window, tag) || !window.ReadI32(length) || length < 0 ||
          !window.Has(static_cast<std::size_t>(length))) {
        return false;
      }
      payload.resize(static_cast<std::size_t>(length));
      return window.ReadBytes(payload);
    });
    if (!whole) return;
    if (tag != kLayoutSection) continue;
    ByteReader section(payload);
    if (!ReadLayout(section, doc, stored)) return;
  }
}

}  // namespace mapvine::topology
