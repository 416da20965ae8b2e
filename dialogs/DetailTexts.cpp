// The words of the detail dialogs, from the fields protocol/ decodes out of
// the node, directory and TG records.
#include "dialogs/DetailTexts.h"

#include <algorithm>
#include <cstdio>

#include "base/BitNames.h"
#include "protocol/RecordFields.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

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
std::string DescriptionText(const std::string& bytes) {
  if (bytes.empty() || bytes.front() == '\0') return "None";
  std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\0'));
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

DetailForm DetailFormOf(const CNode& node) {
  if (!node.nodeRecord && node.directoryRecord) return DetailForm::Directory;
  return DetailForm::Node;
}

DetailForm DetailFormOf(const CLink& link) {
  return link.tgRecord ? DetailForm::TransmissionGroup : DetailForm::Link;
}

namespace dialog {

std::string NodeStatusText(std::uint8_t flags) {
  if (flags == 0) return "Uncongested";
  return JoinBitNames(flags, {{snawire::kNodeCongested, "Congested"},
                              {snawire::kNodeErrDepleted, "ERR Depleted"},
                              {snawire::kNodeIrrDepleted, "IRR Depleted"},
                              {snawire::kNodeQuiescing, "Quiescing"}});
}

std::string FunctionSupportText(std::uint8_t flags) {
  return JoinBitNames(flags, {{snawire::kFunctionBorderNode, "Border Node"},
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

std::string TgStatusText(std::uint8_t flags, ResourceStatus linkStatus) {
  // The record's operative bit counts only while the picture also shows the
  // link active: a link found dead since is not called operative.
  const bool operative = (flags & snawire::kTgOperative) != 0 && IsActive(linkStatus);
  std::string text = JoinBitNames(flags,
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

std::optional<ResourceStatus> StatusFromWord(std::string_view word) {
  if (word == "Active" || word == "active") return ResourceStatus::Active;
  if (word == "inactive" || word == "Inactive" || word == "InActive") {
    return ResourceStatus::Inactive;
  }
  return std::nullopt;
}

NodeDetailTexts NodeTextsFromRecord(std::span<const std::uint8_t> record, int nodeType) {
  const NodeRecordFields fields = DecodeNodeRecord(record);
  NodeDetailTexts texts;
  texts.name = fields.name;
  texts.type = dialog::NodeKindText(nodeType);
  texts.status = TextOf(fields.status, dialog::NodeStatusText);
  texts.daysUntilPurged = fields.daysUntilPurged.value_or(0);
  texts.routeResistance = fields.routeResistance.value_or(0);
  texts.resourceSequence = fields.resourceSequence.value_or(0);
  texts.flowReductionSequence = fields.flowReductionSequence.value_or(0);
  texts.functionSupport = TextOf(fields.functionSupport, dialog::FunctionSupportText);
  return texts;
}

NodeDetailTexts NodeTextsWithoutRecord(const CNode& node) {
  NodeDetailTexts texts;
  texts.name = node.label;
  texts.type = dialog::NodeKindText(node.nodeType);
  texts.status = IsActive(node.status) ? "Active" : "Inactive";
  texts.daysUntilPurged = 12;
  texts.routeResistance = 512;
  texts.resourceSequence = 1256;
  texts.flowReductionSequence = 128;
  texts.functionSupport = "ISR,RTP Tower";
  return texts;
}

NodeDetailTexts NodeDetailTextsOf(const CNode& node) {
  if (node.nodeRecord) return NodeTextsFromRecord(*node.nodeRecord, node.nodeType);
  return NodeTextsWithoutRecord(node);
}

DirectoryDetailTexts DirectoryTextsFromRecord(std::span<const std::uint8_t> record) {
  const DirectoryRecordFields fields = DecodeDirectoryRecord(record);
  DirectoryDetailTexts texts;
  texts.name = fields.name;
  texts.type = TextOf(fields.resourceType, dialog::ResourceTypeText);
  if (fields.description) texts.description = DescriptionText(*fields.description);
  texts.parentName = fields.parentName;
  texts.parentType = TextOf(fields.parentType, dialog::ResourceTypeText);
  texts.entryType = TextOf(fields.entryType, dialog::EntryTypeText);
  texts.location = TextOf(fields.location, dialog::LocationText);
  return texts;
}

TgDetailTexts TgTextsFromRecord(std::span<const std::uint8_t> record, const CLink& link) {
  const TgRecordFields fields = DecodeTgRecord(record);
  TgDetailTexts texts;
  texts.name = LinkNameText(link);
  texts.owner = fields.owner;
  texts.ownerType = TextOf(fields.ownerType, dialog::TgEndpointTypeText);
  texts.destination = fields.destination;
  texts.destinationType = TextOf(fields.destinationType, dialog::TgEndpointTypeText);
  texts.status = dialog::TgStatusText(fields.status.value_or(0), link.status);
  texts.tgNumber = fields.number.value_or(0);
  texts.flowReductionSequence = TrimmedDecimal(fields.flowReductionSequence.value_or(0));
  texts.daysUntilPurged = fields.daysUntilPurged.value_or(0);
  texts.resourceSequence = fields.resourceSequence.value_or(0);
  return texts;
}

LinkDetailTexts LinkTextsWithoutRecord(const CLink& link) {
  return {.name = LinkNameText(link), .status = IsActive(link.status) ? "Active" : "InActive"};
}

}  // namespace mapvine
