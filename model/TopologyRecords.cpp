#include "model/TopologyRecords.h"

#include <type_traits>
#include <utility>

#include "graphics/CDIBLayout.h"
#include "model/TopologyStrings.h"

namespace mapvine::topology {
namespace {

enum class Rule {
  Ignored,  // reserved: written as 0, not read into the document
  Any,      // recomputed on load, so any value is harmless
  Flag,
  PictureSide,
  BackgroundMode,
  Coordinate,
  RefreshSeconds,
  GridSpacing,
};

// How one word of the settings block is checked and where it goes: the
// document field it stores (reached through `Path`, a chain of member
// pointers), or none for a reserved word, written as 0 and never read.
struct SettingWord {
  Rule rule;
  std::int32_t (*get)(const CMapvineDoc& doc) = nullptr;
  void (*set)(CMapvineDoc& doc, std::int32_t value) = nullptr;
};

template <auto... Path>
constexpr SettingWord Stored(Rule rule) {
  return {rule,
          [](const CMapvineDoc& doc) { return static_cast<std::int32_t>((doc .* ... .* Path)); },
          [](CMapvineDoc& doc, std::int32_t value) {
            auto& field = (doc .* ... .* Path);
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
          }};
}

constexpr SettingWord kReserved{Rule::Ignored};

using Doc = CMapvineDoc;

// The settings block word by word, in the file's order.
constexpr std::array<SettingWord, kSettingsWords> kSettingWords = {
    Stored<&Doc::picture, &PictureState::pictureHeight>(Rule::PictureSide),
    Stored<&Doc::picture, &PictureState::backgroundMode>(Rule::BackgroundMode),
    Stored<&Doc::picture, &PictureState::pictureWidth>(Rule::PictureSide),
    Stored<&Doc::settings, &DocumentSettings::autoGrow>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::autoTile>(Rule::Flag),
    kReserved,  // once a flag of the moment of saving, always 0; old files may say 1
    Stored<&Doc::placement, &PlacementState::resizeWindowOnGrow>(Rule::Flag),
    Stored<&Doc::placement, &PlacementState::firstPlacement>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::activeQuery>(Rule::Flag),
    Stored<&Doc::placement, &PlacementState::columnMode>(Rule::Flag),
    Stored<&Doc::placement, &PlacementState::cursorX>(Rule::Coordinate),
    Stored<&Doc::placement, &PlacementState::cursorY>(Rule::Coordinate),
    Stored<&Doc::placement, &PlacementState::savedCursorX>(Rule::Coordinate),
    Stored<&Doc::placement, &PlacementState::savedCursorY>(Rule::Coordinate),
    kReserved,
    Stored<&Doc::settings, &DocumentSettings::showNnOnDiscovery>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::showEnOnDiscovery>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::showLuOnDiscovery>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::showUnreachable>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::showCnOnDiscovery>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::autoRefresh>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::refreshSeconds>(Rule::RefreshSeconds),
    kReserved,
    kReserved,
    Stored<&Doc::picture, &PictureState::composedWidth>(Rule::Any),
    Stored<&Doc::picture, &PictureState::composedHeight>(Rule::Any),
    Stored<&Doc::placement, &PlacementState::gridSpacing>(Rule::GridSpacing),
    Stored<&Doc::nodesAdded>(Rule::Flag),
    Stored<&Doc::settings, &DocumentSettings::internalTest>(Rule::Flag),
};

bool Within(std::int32_t value, std::int32_t low, std::int32_t high) {
  return value >= low && value <= high;
}

bool IsFlag(std::int32_t value) { return value == 0 || value == 1; }

bool IsCoordinate(std::int32_t value) {
  return Within(value, -kCoordinateLimit, kCoordinateLimit);
}

bool Satisfies(Rule rule, std::int32_t value) {
  switch (rule) {
    case Rule::Ignored:
    case Rule::Any:
      return true;
    case Rule::Flag:
      return IsFlag(value);
    case Rule::PictureSide:  // 0 = the background's own size
      return Within(value, 0, static_cast<std::int32_t>(dib::kMaxSide));
    case Rule::BackgroundMode:  // tile, stretch, centre
      return Within(value, 0, 2);
    case Rule::Coordinate:
      return IsCoordinate(value);
    case Rule::RefreshSeconds:  // the settings dialog's range
      return Within(value, 1, 32000);
    case Rule::GridSpacing:  // a zero or negative pitch stalls placement
      return Within(value, 1, static_cast<std::int32_t>(dib::kMaxSide));
  }
  return false;
}

bool IsSlot(std::int32_t slot, std::size_t imageCount) {
  return slot >= 0 && static_cast<std::size_t>(slot) < imageCount;
}

// A record's ints go out in one write: thousands of records make the
// number of writes, not the bytes, the cost of storing.
bool WriteInts(ByteSink& out, std::initializer_list<std::int32_t> values) {
  std::array<std::uint8_t, 4 * 8> packed{};
  std::size_t size = 0;
  for (std::int32_t v : values) {
    StoreU32(packed.data() + size, static_cast<std::uint32_t>(v));
    size += 4;
  }
  return out.Write(std::span(packed).first(size));
}

bool ReadInts(ByteReader& in, std::initializer_list<std::int32_t*> values) {
  for (std::int32_t* v : values) {
    if (!in.ReadI32(*v)) return false;
  }
  return true;
}

}  // namespace

SettingsBlock SettingsOf(const CMapvineDoc& doc) {
  SettingsBlock block{};
  for (std::size_t i = 0; i < kSettingsWords; ++i) {
    if (kSettingWords[i].get) block[i] = kSettingWords[i].get(doc);
  }
  return block;
}

bool SettingsAcceptable(const SettingsBlock& block) {
  for (std::size_t i = 0; i < kSettingsWords; ++i) {
    if (!Satisfies(kSettingWords[i].rule, block[i])) return false;
  }
  return true;
}

void ApplySettings(const SettingsBlock& block, CMapvineDoc& doc) {
  for (std::size_t i = 0; i < kSettingsWords; ++i) {
    if (kSettingWords[i].set) kSettingWords[i].set(doc, block[i]);
  }
}

template <typename Text>
BasicSavedNode<Text> BasicSavedNode<Text>::Of(const CNode& node)
  requires(!OwnedText<Text>)
{
  BasicSavedNode r;
  r.x = node.GetX();
  r.y = node.GetY();
  r.depth = node.GetDepth();
  r.fqName = node.fqName;
  r.label = node.label;
  r.imageIndex = node.imageIndex;
  r.activeImage = node.activeImage;
  r.inactiveImage = node.inactiveImage;
  r.directoryRecordPresent = node.directoryRecord ? 1 : 0;
  r.nodeRecordPresent = node.nodeRecord ? 1 : 0;
  r.hidden = node.hidden;
  r.nodeType = node.nodeType;
  r.status = IsActive(node.status) ? 1 : 0;
  return r;
}

template <typename Text>
bool BasicSavedNode<Text>::Acceptable(std::size_t imageCount) const {
  // The detail-present words are not read back, so any value passes.
  return IsCoordinate(x) && IsCoordinate(y) && IsCoordinate(depth) &&
         IsSlot(imageIndex, imageCount) && IsSlot(activeImage, imageCount) &&
         IsSlot(inactiveImage, imageCount) && IsFlag(hidden) && IsFlag(status) &&
         Within(nodeType, NetworkNode, ConnectionNetwork);
}

template <typename Text>
bool BasicSavedNode<Text>::Write(ByteSink& out) const {
  return WriteInts(out, {x, y, depth}) && WriteCountedString(out, fqName) &&
         WriteCountedString(out, label) &&
         WriteInts(out, {imageIndex, activeImage, inactiveImage, directoryRecordPresent,
                         nodeRecordPresent, hidden, nodeType, status});
}

template <typename Text>
bool BasicSavedNode<Text>::Read(ByteReader& in)
  requires OwnedText<Text>
{
  return ReadInts(in, {&x, &y, &depth}) && ReadCountedString(in, fqName) &&
         ReadCountedString(in, label) &&
         ReadInts(in, {&imageIndex, &activeImage, &inactiveImage, &directoryRecordPresent,
                       &nodeRecordPresent, &hidden, &nodeType, &status});
}

template <typename Text>
void BasicSavedNode<Text>::MoveInto(CNode& node)
  requires OwnedText<Text>
{
  node.SetPosition(x, y);
  node.SetDepth(depth);
  node.fqName = std::move(fqName);
  node.label = std::move(label);
  node.imageIndex = imageIndex;
  node.activeImage = activeImage;
  node.inactiveImage = inactiveImage;
  node.hidden = hidden != 0;
  node.nodeType = nodeType;
  node.status = StatusFor(status != 0);
}

template <typename Text>
BasicSavedLink<Text> BasicSavedLink<Text>::Of(const CLink& link)
  requires(!OwnedText<Text>)
{
  BasicSavedLink r;
  r.bounds = link.bounds;
  r.x1 = link.x1;
  r.y1 = link.y1;
  r.x2 = link.x2;
  r.y2 = link.y2;
  r.ownerName = link.ownerName;
  r.destinationName = link.destinationName;
  r.title = link.title;
  r.tgRecordPresent = link.tgRecord ? 1 : 0;
  r.hitTolerance = link.hitTolerance;
  r.tgNumber = link.tgNumber;
  r.status = IsActive(link.status) ? 1 : 0;
  // An end that is none is stored as an empty name.
  if (link.endA) r.endAName = link.endA->fqName;
  if (link.endB) r.endBName = link.endB->fqName;
  return r;
}

template <typename Text>
bool BasicSavedLink<Text>::Acceptable() const {
  // The hit test works in 64 bits, so any tolerance is safe.
  return IsCoordinate(bounds.left) && IsCoordinate(bounds.top) && IsCoordinate(bounds.right) &&
         IsCoordinate(bounds.bottom) && IsCoordinate(x1) && IsCoordinate(y1) &&
         IsCoordinate(x2) && IsCoordinate(y2) && IsFlag(status);
}

template <typename Text>
bool BasicSavedLink<Text>::Write(ByteSink& out) const {
  return WriteInts(out, {bounds.left, bounds.top, bounds.right, bounds.bottom, x1, y1, x2, y2}) &&
         WriteCountedString(out, ownerName) && WriteCountedString(out, destinationName) &&
         WriteCountedString(out, title) &&
         WriteInts(out, {tgRecordPresent, hitTolerance, tgNumber, status}) &&
         WriteCountedString(out, endAName) && WriteCountedString(out, endBName);
}

template <typename Text>
bool BasicSavedLink<Text>::Read(ByteReader& in)
  requires OwnedText<Text>
{
  return ReadInts(in, {&bounds.left, &bounds.top, &bounds.right, &bounds.bottom, &x1, &y1, &x2,
                       &y2}) &&
         ReadCountedString(in, ownerName) && ReadCountedString(in, destinationName) &&
         ReadCountedString(in, title) &&
         ReadInts(in, {&tgRecordPresent, &hitTolerance, &tgNumber, &status}) &&
         ReadCountedString(in, endAName) && ReadCountedString(in, endBName);
}

template <typename Text>
void BasicSavedLink<Text>::MoveInto(CLink& link)
  requires OwnedText<Text>
{
  link.bounds = bounds;
  link.x1 = x1;
  link.y1 = y1;
  link.x2 = x2;
  link.y2 = y2;
  link.ownerName = std::move(ownerName);
  link.destinationName = std::move(destinationName);
  link.title = std::move(title);
  link.hitTolerance = hitTolerance;
  link.tgNumber = tgNumber;
  link.status = StatusFor(status != 0);
  link.endAName = std::move(endAName);
  link.endBName = std::move(endBName);
}

template struct BasicSavedNode<std::string>;
template struct BasicSavedLink<std::string>;
// The views are instantiated member by member: clang 14 would otherwise also
// instantiate Read and MoveInto, whose constraints exclude views.
template SavedNodeView SavedNodeView::Of(const CNode&);
template bool SavedNodeView::Acceptable(std::size_t) const;
template bool SavedNodeView::Write(ByteSink&) const;
template SavedLinkView SavedLinkView::Of(const CLink&);
template bool SavedLinkView::Acceptable() const;
template bool SavedLinkView::Write(ByteSink&) const;

bool ImageStorable(const CDIB& image) {
  if (!image.HasHeader()) return false;
  const std::uint8_t* header = image.HeaderBlock();
  const std::int64_t width = dib::Width(header);
  const std::int64_t height = dib::Height(header);
  if (LoadU32(header + dib::kBiSize) != CDIB::kInfoHeaderSize || dib::BitCount(header) != 8 ||
      LoadU32(header + dib::kBiCompression) != 0 || width <= 0 || height <= 0 ||
      width > dib::kMaxSide || height > dib::kMaxSide) {
    return false;
  }
  // The reader insists on a full 256-entry colour table.
  if (dib::ColorCountFor(8, LoadU32(header + dib::kBiClrUsed), false) !=
      static_cast<std::uint32_t>(dib::kMaxColorEntries)) {
    return false;
  }
  return image.Bits().size() >= dib::RowBytesFor(8, width) * static_cast<std::uint64_t>(height);
}

}  // namespace mapvine::topology
