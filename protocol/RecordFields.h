#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/RecordBytes.h"

namespace mapvine {

// The fields of the node, directory and TG records, decoded into plain
// values. Records are untrusted: a field that lies beyond the end of a short
// record is absent (an empty name, an empty optional). Flag bytes and type
// codes stay as the node sent them; protocol/SnaWire.h names their values.

struct NodeRecordFields {
  std::string name;  // network-qualified
  std::optional<std::uint16_t> daysUntilPurged;
  std::optional<std::int32_t> flowReductionSequence;
  std::optional<std::int32_t> resourceSequence;
  std::optional<std::uint8_t> routeResistance;
  std::optional<std::uint8_t> status;  // congestion bits; 0 = uncongested
  std::optional<std::uint8_t> functionSupport;
};

struct DirectoryRecordFields {
  std::string name;
  std::optional<std::uint16_t> resourceType;
  // The description bytes as stored (up to 16, fewer in a short record);
  // absent when the record ends before them.
  std::optional<std::string> description;
  std::string parentName;
  std::optional<std::uint16_t> parentType;
  std::optional<std::uint8_t> entryType;
  std::optional<std::uint8_t> location;
};

struct TgRecordFields {
  std::string owner;
  std::optional<std::uint8_t> ownerType;
  std::string destination;
  std::optional<std::uint8_t> destinationType;
  std::optional<std::uint8_t> number;
  std::optional<std::int32_t> flowReductionSequence;
  std::optional<std::uint16_t> daysUntilPurged;
  std::optional<std::int32_t> resourceSequence;
  std::optional<std::uint8_t> status;  // operative and other TG bits
};

NodeRecordFields DecodeNodeRecord(std::span<const std::uint8_t> record);
DirectoryRecordFields DecodeDirectoryRecord(std::span<const std::uint8_t> record);
TgRecordFields DecodeTgRecord(std::span<const std::uint8_t> record);

// Whether a node record reports its node active: any congestion or
// depletion bit counts as inactive.
bool NodeRecordReportsActive(const NodeRecordBytes& record);

}  // namespace mapvine
