// Decoding the records the node reports into plain values.
#include "protocol/RecordFields.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"

namespace mapvine {

static_assert(std::tuple_size_v<NodeRecordBytes> == snawire::kNodeRecordSize);
static_assert(std::tuple_size_v<DirectoryRecordBytes> == snawire::kDirectoryRecordSize);
static_assert(std::tuple_size_v<TgRecordBytes> == snawire::kTgRecordSize);

namespace {

// Fields of a record read at fixed offsets. Every read goes through a
// bounds-checked reader, so a field past the end of a short record comes
// back absent instead of being read out of bounds.
class FieldReader {
 public:
  explicit FieldReader(std::span<const std::uint8_t> record) : record_(record) {}

  std::optional<std::uint8_t> U8(std::size_t offset) const { return Read<std::uint8_t>(offset); }
  std::optional<std::uint16_t> U16(std::size_t offset) const { return Read<std::uint16_t>(offset); }
  std::optional<std::int32_t> I32(std::size_t offset) const { return Read<std::int32_t>(offset); }

  // The decoded name field at `offset`; empty when the record ends first.
  std::string Name(std::size_t offset) const {
    ByteReader in(record_);
    std::span<const std::uint8_t> field;
    if (!in.Seek(offset) || !in.View(snawire::kNameLength, field)) return {};
    return DecodeName(field.first<snawire::kNameLength>());
  }

  // Up to `count` bytes from `offset`: fewer when the record ends first,
  // absent when it ends before `offset`.
  std::optional<std::string> UpTo(std::size_t offset, std::size_t count) const {
    ByteReader in(record_);
    std::span<const std::uint8_t> bytes;
    if (!in.Seek(offset) || in.Remaining() == 0) return std::nullopt;
    in.View(std::min(count, in.Remaining()), bytes);
    return std::string(bytes.begin(), bytes.end());
  }

 private:
  static bool ReadValue(ByteReader& in, std::uint8_t& value) { return in.ReadU8(value); }
  static bool ReadValue(ByteReader& in, std::uint16_t& value) { return in.ReadU16(value); }
  static bool ReadValue(ByteReader& in, std::int32_t& value) { return in.ReadI32(value); }

  template <typename T>
  std::optional<T> Read(std::size_t offset) const {
    ByteReader in(record_);
    T value{};
    if (!in.Seek(offset) || !ReadValue(in, value)) return std::nullopt;
    return value;
  }

  std::span<const std::uint8_t> record_;
};

}  // namespace

NodeRecordFields DecodeNodeRecord(std::span<const std::uint8_t> record) {
  const FieldReader fields(record);
  return {.name = fields.Name(snawire::kNodeName),
          .daysUntilPurged = fields.U16(snawire::kNodeDaysLeft),
          .flowReductionSequence = fields.I32(snawire::kNodeFrsn),
          .resourceSequence = fields.I32(snawire::kNodeRsn),
          .routeResistance = fields.U8(snawire::kNodeRar),
          .status = fields.U8(snawire::kNodeStatus),
          .functionSupport = fields.U8(snawire::kNodeFunctionSupport)};
}

DirectoryRecordFields DecodeDirectoryRecord(std::span<const std::uint8_t> record) {
  const FieldReader fields(record);
  return {.name = fields.Name(snawire::kDirResourceName),
          .resourceType = fields.U16(snawire::kDirResourceType),
          .description = fields.UpTo(snawire::kDirDescription, snawire::kDirDescriptionLength),
          .parentName = fields.Name(snawire::kDirParentName),
          .parentType = fields.U16(snawire::kDirParentType),
          .entryType = fields.U8(snawire::kDirEntryType),
          .location = fields.U8(snawire::kDirLocation)};
}

TgRecordFields DecodeTgRecord(std::span<const std::uint8_t> record) {
  const FieldReader fields(record);
  return {.owner = fields.Name(snawire::kTgOwner),
          .ownerType = fields.U8(snawire::kTgOwnerType),
          .destination = fields.Name(snawire::kTgDestination),
          .destinationType = fields.U8(snawire::kTgDestinationType),
          .number = fields.U8(snawire::kTgNumber),
          .flowReductionSequence = fields.I32(snawire::kTgFrsn),
          .daysUntilPurged = fields.U16(snawire::kTgDaysLeft),
          .resourceSequence = fields.I32(snawire::kTgRsn),
          .status = fields.U8(snawire::kTgStatus)};
}

bool NodeRecordReportsActive(const NodeRecordBytes& record) {
  return record[snawire::kNodeStatus] == 0;
}

}  // namespace mapvine
