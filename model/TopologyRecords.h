#pragma once

// The records of the saved picture and the rules every stored value obeys.
// The writer and the reader share these rules, so that nothing is written
// that a load would refuse.

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ByteReader.h"
#include "base/ByteSink.h"
#include "graphics/CDIB.h"
#include "model/CLink.h"
#include "model/CNode.h"
#include "model/MapvineDoc.h"

namespace mapvine::topology {

inline constexpr std::string_view kFirstMarker = "Check1";
inline constexpr std::string_view kSecondMarker = "Check2";

// Slots 0 to 10 (background and the standard icon families) are always
// present; a table without them would leave new nodes without icons.
inline constexpr std::size_t kMinimumImageCount = kStandardImageCount;

// The smallest image block the bitmap reader accepts: a 1 x 1 picture with
// a 12-byte core header and 3-byte colour entries (14 + 12 + 768 + 4).
inline constexpr std::size_t kMinimumImageBytes = 798;
// A node record: its image, 11 ints and two empty strings.
inline constexpr std::size_t kMinimumNodeBytes = kMinimumImageBytes + 11 * 4 + 2;
// A link record: 11 ints and five empty strings.
inline constexpr std::size_t kMinimumLinkBytes = 11 * 4 + 5;

// Positions, depths and cursors stay far inside int, so that adding a
// picture size or a move to them can never overflow; pictures are at most
// 32768 pixels a side.
inline constexpr std::int32_t kCoordinateLimit = 1 << 24;

// The 29 ints that follow the signature.
inline constexpr std::size_t kSettingsWords = 29;
using SettingsBlock = std::array<std::int32_t, kSettingsWords>;

SettingsBlock SettingsOf(const CMapvineDoc& doc);
bool SettingsAcceptable(const SettingsBlock& block);
// Only for a block that passed SettingsAcceptable.
void ApplySettings(const SettingsBlock& block, CMapvineDoc& doc);

// The records are read into owned names (`Text` = std::string) and taken
// from the picture as views of the names it holds (std::string_view), so
// that checking and storing a large picture copies no names.
template <typename Text>
concept OwnedText = std::same_as<Text, std::string>;

// A node as stored, without its image block.
template <typename Text>
struct BasicSavedNode {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t depth = 0;
  Text fqName;
  Text label;
  std::int32_t imageIndex = 0;
  std::int32_t activeImage = 0;
  std::int32_t inactiveImage = 0;
  std::int32_t directoryRecordPresent = 0;
  std::int32_t nodeRecordPresent = 0;
  std::int32_t hidden = 0;
  std::int32_t nodeType = 0;
  std::int32_t status = 0;

  // Views the node's names, which must outlive the record.
  static BasicSavedNode Of(const CNode& node)
    requires(!OwnedText<Text>);
  bool Acceptable(std::size_t imageCount) const;
  bool Write(ByteSink& out) const;
  bool Read(ByteReader& in)
    requires OwnedText<Text>;
  // Everything but the image, which the caller takes from the image table.
  // The names move over.
  void MoveInto(CNode& node)
    requires OwnedText<Text>;
};
using SavedNode = BasicSavedNode<std::string>;
using SavedNodeView = BasicSavedNode<std::string_view>;

// A link as stored; the ends are stored by their fully qualified names.
template <typename Text>
struct BasicSavedLink {
  Rect bounds;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Text ownerName;
  Text destinationName;
  Text title;
  std::int32_t tgRecordPresent = 0;
  std::int32_t hitTolerance = 0;
  std::int32_t tgNumber = 0;
  std::int32_t status = 0;
  Text endAName;
  Text endBName;

  // Views the names of the link and its ends, which must outlive the record.
  static BasicSavedLink Of(const CLink& link)
    requires(!OwnedText<Text>);
  bool Acceptable() const;
  bool Write(ByteSink& out) const;
  bool Read(ByteReader& in)
    requires OwnedText<Text>;
  // The names move over.
  void MoveInto(CLink& link)
    requires OwnedText<Text>;
};
using SavedLink = BasicSavedLink<std::string>;
using SavedLinkView = BasicSavedLink<std::string_view>;

// Whether the bitmap reader will take this image back: 8 bits per pixel,
// all 256 colours, uncompressed, bottom-up, at most 32768 pixels a side,
// with all of its pixels present.
bool ImageStorable(const CDIB& image);

// Whether StoreTopology would write the document: every value within the
// rules above.
bool PictureStorable(const CMapvineDoc& doc);

}  // namespace mapvine::topology
