// Decoding the node, directory and TG records into the texts of the detail
// dialogs.
#include "model/DetailTexts.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "base/ByteReader.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

// Fields of a record read at fixed offsets. Every read goes through a
// bounds-checked reader, so a field past the end of a short record comes
// back absent instead of being read out of bounds.
class RecordFields {
 public:
  explicit RecordFields(std::span<const std::uint8_t> record) : record_(record) {}

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

  // Up to `count` bytes from `offset`: fewer when the record ends first.
  std::span<const std::uint8_t> UpTo(std::size_t offset, std::size_t count) const {
    ByteReader in(record_);
    std::span<const std::uint8_t> bytes;
    if (in.Seek(offset)) in.View(std::min(count, in.Remaining()), bytes);
    return bytes;
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

using BitText = std::pair<std::uint8_t, const char*>;

// `text` followed by the texts of the bits set in `flags`, in the order
// given, joined by ", ".
std::string JoinFlags(std::uint8_t flags, std::initializer_list<BitText> bits,
                      std::string text = {}) {
  for (const auto& [bit, name] : bits) {
    if ((flags & bit) == 0) continue;
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

// The table text of a field that may be missing from a short record.
template <typename T, typename Table>
std::string TextOf(std::optional<T> value, Table table) {
  return value ? table(*value) : std::string();
}

// Endpoint types of a TG record.
constexpr std::uint8_t kTgEndNetworkNode = 2;
constexpr std::uint8_t kTgEndEndNode = 4;

// The 16 description bytes as text: cut at the first 0x00, trailing blanks
// removed; "None" when the description is empty from its first byte.
std::string DescriptionText(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.front() == 0) return "None";
  std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// "%10d" with its leading blanks removed.
std::string TrimmedDecimal(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%10d", value);
  std::string text(buffer);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

}  // namespace

DetailForm DetailFormOf(const CSprite& node) {
  if (!node.nodeDetail && node.directoryDetail) return DetailForm::Directory;
  return DetailForm::Node;
}

DetailForm DetailFormOf(const CLink& link) {
  return link.tgDetail ? DetailForm::TransmissionGroup : DetailForm::Link;
}

namespace dialog {

std::string NodeStatusText(std::uint8_t flags) {
  if (flags == 0) return "Uncongested";
  return JoinFlags(flags, {{snawire::kNodeCongested, "Congested"},
                           {snawire::kNodeErrDepleted, "ERR Depleted"},
                           {snawire::kNodeIrrDepleted, "IRR Depleted"},
                           {snawire::kNodeQuiescing, "Quiescing"}});
}

std::string FunctionSupportText(std::uint8_t flags) {
  return JoinFlags(flags, {{snawire::kFunctionBorderNode, "Border Node"},
                           {snawire::kFunctionCds, "Central Directory Server"},
                           {snawire::kFunctionGateway, "Gateway"},
                           {snawire::kFunctionIsr, "ISR"},
                           {snawire::kFunctionHpr, "HPR"},
                           {snawire::kFunctionRtpTower, "RTP Tower"}});
}

std::string NodeKindText(int nodeType) {
  switch (nodeType) {
    case NetworkNode: return "Network Node";
    case EndNode: return "End Node";
    case LogicalUnit: return "Logical Unit";
    case ConnectionNetwork: return "Connection Network (VRN)";
    default: return {};
  }
}

std::string ResourceTypeText(std::uint16_t type) {
  switch (type) {
    case snawire::kResourceEndNode: return "End Node";
    case snawire::kResourceNetworkNode: return "Network Node";
    default: return "LU";  // kResourceLu and anything unexpected
  }
}

std::string EntryTypeText(std::uint8_t type) {
  switch (type) {
    case 0: return "Cached Entry";
    case 2: return "Registered Resource";
    case 3: return "Local Resource";
    default: return "Unknown";
  }
}

std::string LocationText(std::uint8_t location) {
  switch (location) {
    case 0: return "Local Resource";
    case 1: return "Attached End Node";
    case 2: return "Cross Domain";
    default: return "Unknown";
  }
}

std::string TgEndpointTypeText(std::uint8_t type) {
  switch (type) {
    case kTgEndNetworkNode: return "Network Node";
    case kTgEndEndNode: return "End Node";
    default: return "Unknown";
  }
}

std::string TgStatusText(std::uint8_t flags, int linkStatus) {
  // The record's operative bit counts only while the picture also shows the
  // link active: a link found dead since is not called operative.
  const bool operative = (flags & snawire::kTgOperative) != 0 && linkStatus == 1;
  std::string text = JoinFlags(flags,
                               {{snawire::kTgQuiescing, "Quiescing"},
                                {snawire::kTgCpCpSessions, "CP-CP Sessions"},
                                {snawire::kTgHpr, "HPR"},
                                {snawire::kTgRtp, "RTP"}},
                               operative ? "Operative" : "");
  return text.empty() ? "Unknown" : text;
}

}  // namespace dialog

std::string LinkNameText(const CLink& link) {
  const std::string owner = link.endA ? link.endA->label : std::string();
  const std::string destination = link.endB ? link.endB->label : std::string();
  return owner + " - " + destination;
}

std::optional<int> StatusFromWord(std::string_view word) {
  if (word == "Active" || word == "active") return 1;
  if (word == "inactive" || word == "Inactive" || word == "InActive") return 0;
  return std::nullopt;
}

NodeDetailTexts NodeTextsFromRecord(std::span<const std::uint8_t> record, int nodeType) {
  const RecordFields fields(record);
  NodeDetailTexts texts;
  texts.name = fields.Name(snawire::kNodeName);
  texts.type = dialog::NodeKindText(nodeType);
  texts.status = TextOf(fields.U8(snawire::kNodeStatus), dialog::NodeStatusText);
  texts.daysUntilPurged = fields.U16(snawire::kNodeDaysLeft).value_or(0);
  texts.routeResistance = fields.U8(snawire::kNodeRar).value_or(0);
  texts.resourceSequence = fields.I32(snawire::kNodeRsn).value_or(0);
  texts.flowReductionSequence = fields.I32(snawire::kNodeFrsn).value_or(0);
  texts.functionSupport =
      TextOf(fields.U8(snawire::kNodeFunctionSupport), dialog::FunctionSupportText);
  return texts;
}

NodeDetailTexts NodeTextsWithoutRecord(const CSprite& node) {
  NodeDetailTexts texts;
  texts.name = node.label;
  texts.type = dialog::NodeKindText(node.nodeType);
  texts.status = node.status != 0 ? "Active" : "Inactive";
  texts.daysUntilPurged = 12;
  texts.routeResistance = 512;
  texts.resourceSequence = 1256;
  texts.flowReductionSequence = 128;
  texts.functionSupport = "ISR,RTP Tower";
  return texts;
}

NodeDetailTexts NodeDetailTextsOf(const CSprite& node) {
  if (node.nodeDetail) return NodeTextsFromRecord(*node.nodeDetail, node.nodeType);
  return NodeTextsWithoutRecord(node);
}

DirectoryDetailTexts DirectoryTextsFromRecord(std::span<const std::uint8_t> record) {
  const RecordFields fields(record);
  DirectoryDetailTexts texts;
  texts.name = fields.Name(snawire::kDirResourceName);
  texts.type = TextOf(fields.U16(snawire::kDirResourceType), dialog::ResourceTypeText);
  if (fields.U8(snawire::kDirDescription)) {
    texts.description =
        DescriptionText(fields.UpTo(snawire::kDirDescription, snawire::kDirDescriptionLength));
  }
  texts.parentName = fields.Name(snawire::kDirParentName);
  texts.parentType = TextOf(fields.U16(snawire::kDirParentType), dialog::ResourceTypeText);
  texts.entryType = TextOf(fields.U8(snawire::kDirEntryType), dialog::EntryTypeText);
  texts.location = TextOf(fields.U8(snawire::kDirLocation), dialog::LocationText);
  return texts;
}

TgDetailTexts TgTextsFromRecord(std::span<const std::uint8_t> record, const CLink& link) {
  const RecordFields fields(record);
  TgDetailTexts texts;
  texts.name = LinkNameText(link);
  texts.owner = fields.Name(snawire::kTgOwner);
  texts.ownerType = TextOf(fields.U8(snawire::kTgOwnerType), dialog::TgEndpointTypeText);
  texts.destination = fields.Name(snawire::kTgDestination);
  texts.destinationType =
      TextOf(fields.U8(snawire::kTgDestinationType), dialog::TgEndpointTypeText);
  texts.status = dialog::TgStatusText(fields.U8(snawire::kTgStatus).value_or(0), link.status);
  texts.tgNumber = fields.U8(snawire::kTgNumber).value_or(0);
  texts.flowReductionSequence = TrimmedDecimal(fields.I32(snawire::kTgFrsn).value_or(0));
  texts.daysUntilPurged = fields.U16(snawire::kTgDaysLeft).value_or(0);
  texts.resourceSequence = fields.I32(snawire::kTgRsn).value_or(0);
  return texts;
}

LinkDetailTexts LinkTextsWithoutRecord(const CLink& link) {
  return {.name = LinkNameText(link), .status = link.status != 0 ? "Active" : "InActive"};
}

}  // namespace mapvine
