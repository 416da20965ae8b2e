#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/CLink.h"
#include "model/CNode.h"
#include "model/ResourceStatus.h"

namespace mapvine {

// What the detail dialogs show, decoded from the records the SNA node
// reported (or made up for nodes and links that carry none). The dialogs
// only exchange these texts with their boxes; the numbers comment on which
// box shows each value.

// "Node Detail": a node with a node record, or a node without any record.
struct NodeDetailTexts {
  std::string name{};             // 1011
  std::string type{};             // 1012
  std::string status{};           // 1014
  int daysUntilPurged = 0;        // 1015
  int routeResistance = 0;        // 1017
  int resourceSequence = 0;       // 1020
  int flowReductionSequence = 0;  // 1016
  std::string functionSupport{};  // 1018
};

// "Detail": a node known only from the directory (an LU).
struct DirectoryDetailTexts {
  std::string name{};         // 1048
  std::string type{};         // 1049
  std::string description{};  // 1050
  std::string parentName{};   // 1051
  std::string parentType{};   // 1052
  std::string entryType{};    // 1053
  std::string location{};     // 1054
};

// "Link Detail" of a transmission group with its TG record.
struct TgDetailTexts {
  std::string name{};                   // 1031
  std::string owner{};                  // 1032
  std::string ownerType{};              // 1033
  std::string destination{};            // 1034
  std::string destinationType{};        // 1035
  std::string status{};                 // 1036
  int tgNumber = 0;                     // 1037
  std::string flowReductionSequence{};  // 1038
  int daysUntilPurged = 0;              // 1039
  int resourceSequence = 0;             // 1040
};

// "Link Detail" of a link without a TG record (drawn by hand, or loaded
// from a file).
struct LinkDetailTexts {
  std::string name{};    // 1031
  std::string status{};  // 1036
};

// Which dialog a node or link opens: the node form when the node has a node
// record or no record at all, the directory form when it has only a
// directory record; the TG form for a link with a TG record.
enum class DetailForm { Node, Directory, TransmissionGroup, Link };
DetailForm DetailFormOf(const CNode& node);
DetailForm DetailFormOf(const CLink& link);

// The texts of each form. Records are untrusted: a field that lies beyond
// the end of a short record is absent, and shows as an empty text, a 0 or,
// for the TG status, "Unknown".
NodeDetailTexts NodeTextsFromRecord(std::span<const std::uint8_t> record, int nodeType);
// The fixed values every node without records shows.
NodeDetailTexts NodeTextsWithoutRecord(const CNode& node);
// From the node record when there is one, else the fixed values.
NodeDetailTexts NodeDetailTextsOf(const CNode& node);
DirectoryDetailTexts DirectoryTextsFromRecord(std::span<const std::uint8_t> record);
TgDetailTexts TgTextsFromRecord(std::span<const std::uint8_t> record, const CLink& link);
LinkDetailTexts LinkTextsWithoutRecord(const CLink& link);

// The value tables behind the texts, worded as the dialogs show them (the
// command-line report words the same fields its own way).
namespace dialog {
std::string NodeStatusText(std::uint8_t flags);
std::string FunctionSupportText(std::uint8_t flags);
std::string NodeKindText(int nodeType);
std::string ResourceTypeText(std::uint16_t type);
std::string EntryTypeText(std::uint8_t type);
std::string LocationText(std::uint8_t location);
std::string TgEndpointTypeText(std::uint8_t type);
std::string TgStatusText(std::uint8_t flags, ResourceStatus linkStatus);
}  // namespace dialog

// "Owner - Destination" from the link's end labels.
std::string LinkNameText(const CLink& link);

// The status a word typed into a status box stands for: active for
// "Active" and "active", inactive for "inactive", "Inactive" and "InActive",
// nothing for any other text (the status stays as it was).
std::optional<ResourceStatus> StatusFromWord(std::string_view word);

}  // namespace mapvine
