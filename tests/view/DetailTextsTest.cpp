#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "dialogs/DetailTexts.h"
#include "protocol/SnaNames.h"

namespace mapvine {
namespace {

// Records are built field by field at their offsets, names EBCDIC-encoded
// the way the node sends them.
template <std::size_t N>
void PutName(std::array<std::uint8_t, N>& record, std::size_t offset, const char* name) {
  EncodeName(name, std::span(record).subspan(offset, 17));
}

NodeRecordBytes MakeNodeRecord() {
  NodeRecordBytes record{};
  PutName(record, 2, "NETA.NN1");
  StoreU16(&record[20], 45);
  StoreU32(&record[24], 1234);
  StoreU32(&record[28], 0xFFFFFFFE);  // -2: the number is signed
  record[32] = 200;
  record[33] = 0x80;
  record[34] = 0x30;
  return record;
}

DirectoryRecordBytes MakeDirectoryRecord() {
  DirectoryRecordBytes record{};
  PutName(record, 2, "NETA.LU1");
  StoreU16(&record[20], 0xF3);
  const std::string description = "Printer LU  ";
  std::copy(description.begin(), description.end(), record.begin() + 22);
  PutName(record, 38, "NETA.EN1");
  StoreU16(&record[56], 0xF4);
  record[58] = 2;
  record[59] = 1;
  return record;
}

TgRecordBytes MakeTgRecord() {
  TgRecordBytes record{};
  PutName(record, 2, "NETA.NN1");
  record[19] = 2;
  PutName(record, 20, "NETA.EN1");
  record[37] = 4;
  record[38] = 21;
  StoreU32(&record[40], 1234);
  StoreU16(&record[44], 30);
  StoreU32(&record[84], 77);
  record[88] = 0x90;
  return record;
}

TEST(DetailTables, FlagListsFollowTheTableOrder) {
  struct Case {
    std::uint8_t flags;
    const char* status;
    const char* functions;
  };
  for (const Case& c : {
           Case{0x00, "Uncongested", ""},
           Case{0xA4, "Congested, ERR Depleted, Quiescing", "Central Directory Server, ISR"},
           Case{0x01, "", ""},
           Case{0x60, "ERR Depleted, IRR Depleted", "Border Node, ISR"},
           Case{0x7E, "ERR Depleted, IRR Depleted, Quiescing",
                "Border Node, Central Directory Server, Gateway, ISR, HPR, RTP Tower"},
       }) {
    SCOPED_TRACE(static_cast<int>(c.flags));
    EXPECT_EQ(dialog::NodeStatusText(c.flags), c.status);
    EXPECT_EQ(dialog::FunctionSupportText(c.flags), c.functions);
  }
}

TEST(DetailTables, KindAndTypeWords) {
  EXPECT_EQ(dialog::NodeKindText(NetworkNode), "Network Node");
  EXPECT_EQ(dialog::NodeKindText(EndNode), "End Node");
  EXPECT_EQ(dialog::NodeKindText(LogicalUnit), "Logical Unit");
  EXPECT_EQ(dialog::NodeKindText(ConnectionNetwork), "Connection Network (VRN)");
  EXPECT_EQ(dialog::NodeKindText(0), "");
  EXPECT_EQ(dialog::NodeKindText(5), "");

  EXPECT_EQ(dialog::ResourceTypeText(0xF3), "LU");
  EXPECT_EQ(dialog::ResourceTypeText(0xF4), "End Node");
  EXPECT_EQ(dialog::ResourceTypeText(0xF6), "Network Node");
  EXPECT_EQ(dialog::ResourceTypeText(0xF5), "LU");
  EXPECT_EQ(dialog::ResourceTypeText(0x1F6), "LU");  // the whole 16 bits count

  const char* entries[] = {"Cached Entry", "Unknown", "Registered Resource", "Local Resource",
                           "Unknown"};
  for (std::uint8_t type = 0; type < 5; ++type) EXPECT_EQ(dialog::EntryTypeText(type), entries[type]);
  EXPECT_EQ(dialog::EntryTypeText(0xFF), "Unknown");

  const char* locations[] = {"Local Resource", "Attached End Node", "Cross Domain", "Unknown"};
  for (std::uint8_t at = 0; at < 4; ++at) EXPECT_EQ(dialog::LocationText(at), locations[at]);

  EXPECT_EQ(dialog::TgEndpointTypeText(2), "Network Node");
  EXPECT_EQ(dialog::TgEndpointTypeText(4), "End Node");
  EXPECT_EQ(dialog::TgEndpointTypeText(3), "Unknown");
  EXPECT_EQ(dialog::TgEndpointTypeText(0), "Unknown");
}

TEST(DetailTables, TgStatusCallsOnlyActiveLinksOperative) {
  constexpr ResourceStatus kActive = ResourceStatus::Active;
  constexpr ResourceStatus kInactive = ResourceStatus::Inactive;
  EXPECT_EQ(dialog::TgStatusText(0x90, kActive), "Operative, CP-CP Sessions");
  EXPECT_EQ(dialog::TgStatusText(0x90, kInactive), "CP-CP Sessions");
  EXPECT_EQ(dialog::TgStatusText(0x00, kActive), "Unknown");
  EXPECT_EQ(dialog::TgStatusText(0x80, kInactive), "Unknown");
  EXPECT_EQ(dialog::TgStatusText(0xB3, kActive), "Operative, Quiescing, CP-CP Sessions, HPR, RTP");
  EXPECT_EQ(dialog::TgStatusText(0x4C, kActive), "Unknown");  // bits without a word
}

TEST(DetailTables, StatusWordsMatchExactly) {
  struct Case {
    const char* word;
    std::optional<ResourceStatus> status;
  };
  constexpr ResourceStatus kActive = ResourceStatus::Active;
  constexpr ResourceStatus kInactive = ResourceStatus::Inactive;
  for (const Case& c : {Case{"Active", kActive}, Case{"active", kActive},
                        Case{"inactive", kInactive}, Case{"Inactive", kInactive},
                        Case{"InActive", kInactive}, Case{"ACTIVE", std::nullopt},
                        Case{"INACTIVE", std::nullopt}, Case{" Active", std::nullopt},
                        Case{"Inactive ", std::nullopt}, Case{"", std::nullopt},
                        Case{"Uncongested", std::nullopt}, Case{"1", std::nullopt}}) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(StatusFromWord(c.word), c.status);
  }
}

TEST(NodeDetailTexts, DecodesTheNodeRecord) {
  const NodeRecordBytes record = MakeNodeRecord();
  const NodeDetailTexts texts = NodeTextsFromRecord(record, NetworkNode);
  EXPECT_EQ(texts.name, "NETA.NN1");
  EXPECT_EQ(texts.type, "Network Node");
  EXPECT_EQ(texts.status, "Congested");
  EXPECT_EQ(texts.daysUntilPurged, 45);
  EXPECT_EQ(texts.flowReductionSequence, 1234);
  EXPECT_EQ(texts.resourceSequence, -2);
  EXPECT_EQ(texts.routeResistance, 200);
  EXPECT_EQ(texts.functionSupport, "ISR, RTP Tower");
}

TEST(NodeDetailTexts, NodeWithoutRecordsShowsTheFixedValues) {
  CNode node;
  node.label = "ENNODE1";
  node.nodeType = EndNode;
  for (const bool active : {true, false}) {
    node.status = StatusFor(active);
    const NodeDetailTexts texts = NodeDetailTextsOf(node);
    EXPECT_EQ(texts.name, "ENNODE1");
    EXPECT_EQ(texts.type, "End Node");
    EXPECT_EQ(texts.status, active ? "Active" : "Inactive");
    EXPECT_EQ(texts.daysUntilPurged, 12);
    EXPECT_EQ(texts.routeResistance, 512);
    EXPECT_EQ(texts.resourceSequence, 1256);
    EXPECT_EQ(texts.flowReductionSequence, 128);
    EXPECT_EQ(texts.functionSupport, "ISR,RTP Tower");
  }
  // With a record the record speaks, whatever the node's own fields say.
  node.nodeRecord = std::make_unique<NodeRecordBytes>(MakeNodeRecord());
  EXPECT_EQ(NodeDetailTextsOf(node).name, "NETA.NN1");
  EXPECT_EQ(NodeDetailTextsOf(node).status, "Congested");
}

TEST(NodeDetailTexts, ShortRecordLeavesMissingFieldsEmpty) {
  const NodeRecordBytes full = MakeNodeRecord();
  // Up to the flow reduction number: the resource number is cut in half.
  const std::vector<std::uint8_t> cut(full.begin(), full.begin() + 30);
  NodeDetailTexts texts = NodeTextsFromRecord(cut, EndNode);
  EXPECT_EQ(texts.name, "NETA.NN1");
  EXPECT_EQ(texts.daysUntilPurged, 45);
  EXPECT_EQ(texts.flowReductionSequence, 1234);
  EXPECT_EQ(texts.resourceSequence, 0);
  EXPECT_EQ(texts.routeResistance, 0);
  EXPECT_EQ(texts.status, "");
  EXPECT_EQ(texts.functionSupport, "");
  EXPECT_EQ(texts.type, "End Node");

  // The name field itself cut short, and no record at all.
  for (std::size_t size : {std::size_t{18}, std::size_t{0}}) {
    texts = NodeTextsFromRecord(std::span(full).first(size), NetworkNode);
    EXPECT_EQ(texts.name, "");
    EXPECT_EQ(texts.daysUntilPurged, 0);
  }
}

TEST(DirectoryDetailTexts, DecodesTheDirectoryRecord) {
  const DirectoryRecordBytes record = MakeDirectoryRecord();
  const DirectoryDetailTexts texts = DirectoryTextsFromRecord(record);
  EXPECT_EQ(texts.name, "NETA.LU1");
  EXPECT_EQ(texts.type, "LU");
  EXPECT_EQ(texts.description, "Printer LU");
  EXPECT_EQ(texts.parentName, "NETA.EN1");
  EXPECT_EQ(texts.parentType, "End Node");
  EXPECT_EQ(texts.entryType, "Registered Resource");
  EXPECT_EQ(texts.location, "Attached End Node");
}

TEST(DirectoryDetailTexts, OddValuesAndDescriptions) {
  DirectoryRecordBytes record = MakeDirectoryRecord();
  record[58] = 1;
  StoreU16(&record[20], 0xF5);
  record[22] = 0;  // an empty description, whatever follows
  DirectoryDetailTexts texts = DirectoryTextsFromRecord(record);
  EXPECT_EQ(texts.entryType, "Unknown");
  EXPECT_EQ(texts.type, "LU");
  EXPECT_EQ(texts.description, "None");

  // All 16 bytes used: the text ends with the field, not at the parent name.
  std::fill(record.begin() + 22, record.begin() + 38, 'X');
  EXPECT_EQ(DirectoryTextsFromRecord(record).description, std::string(16, 'X'));
  // Cut at the first 0x00; the blanks before it go too.
  record[25] = ' ';
  record[26] = 0;
  EXPECT_EQ(DirectoryTextsFromRecord(record).description, "XXX");
  // Bytes are shown as they are, not converted from EBCDIC.
  record[22] = 0xC1;
  EXPECT_EQ(DirectoryTextsFromRecord(record).description, "\xC1XX");
}

TEST(DirectoryDetailTexts, ShortRecordLeavesMissingFieldsEmpty) {
  const DirectoryRecordBytes full = MakeDirectoryRecord();
  // Into the description: what is there of it shows, the rest is missing.
  DirectoryDetailTexts texts = DirectoryTextsFromRecord(std::span(full).first(29));
  EXPECT_EQ(texts.name, "NETA.LU1");
  EXPECT_EQ(texts.type, "LU");
  EXPECT_EQ(texts.description, "Printer");
  EXPECT_EQ(texts.parentName, "");
  EXPECT_EQ(texts.parentType, "");
  EXPECT_EQ(texts.entryType, "");
  EXPECT_EQ(texts.location, "");
  // One byte of the 16-bit type is not enough for a type word.
  texts = DirectoryTextsFromRecord(std::span(full).first(21));
  EXPECT_EQ(texts.type, "");
  EXPECT_EQ(texts.description, "");
  // Up to the entry type only.
  texts = DirectoryTextsFromRecord(std::span(full).first(59));
  EXPECT_EQ(texts.entryType, "Registered Resource");
  EXPECT_EQ(texts.location, "");
}

TEST(TgDetailTexts, DecodesTheTgRecordWithTheLinkEnds) {
  CNode owner;
  CNode destination;
  owner.label = "NN1";
  destination.label = "EN1";
  CLink link;
  link.endA = &owner;
  link.endB = &destination;
  link.status = ResourceStatus::Active;
  const TgRecordBytes record = MakeTgRecord();

  TgDetailTexts texts = TgTextsFromRecord(record, link);
  EXPECT_EQ(texts.name, "NN1 - EN1");
  EXPECT_EQ(texts.owner, "NETA.NN1");
  EXPECT_EQ(texts.ownerType, "Network Node");
  EXPECT_EQ(texts.destination, "NETA.EN1");
  EXPECT_EQ(texts.destinationType, "End Node");
  EXPECT_EQ(texts.status, "Operative, CP-CP Sessions");
  EXPECT_EQ(texts.tgNumber, 21);
  EXPECT_EQ(texts.flowReductionSequence, "1234");
  EXPECT_EQ(texts.daysUntilPurged, 30);
  EXPECT_EQ(texts.resourceSequence, 77);

  link.status = ResourceStatus::Inactive;
  EXPECT_EQ(TgTextsFromRecord(record, link).status, "CP-CP Sessions");
}

TEST(TgDetailTexts, FlowReductionNumberHasNoLeadingBlanks) {
  CLink link;  // no ends: the name is just the separator
  TgRecordBytes record{};
  for (const auto& [value, text] : std::vector<std::pair<std::uint32_t, std::string>>{
           {0, "0"}, {7, "7"}, {1234, "1234"}, {0xFFFFFFF9, "-7"}, {2147483647, "2147483647"},
           {0x80000000, "-2147483648"}}) {
    StoreU32(&record[40], value);
    EXPECT_EQ(TgTextsFromRecord(record, link).flowReductionSequence, text);
  }
  EXPECT_EQ(TgTextsFromRecord(record, link).name, " - ");
}

TEST(TgDetailTexts, ShortRecordShowsUnknownStatus) {
  CLink link;
  link.status = ResourceStatus::Active;
  const TgRecordBytes full = MakeTgRecord();
  const TgDetailTexts texts = TgTextsFromRecord(std::span(full).first(42), link);
  EXPECT_EQ(texts.owner, "NETA.NN1");
  EXPECT_EQ(texts.tgNumber, 21);
  EXPECT_EQ(texts.flowReductionSequence, "0");
  EXPECT_EQ(texts.daysUntilPurged, 0);
  EXPECT_EQ(texts.resourceSequence, 0);
  EXPECT_EQ(texts.status, "Unknown");
}

TEST(DetailForms, RecordsChooseTheForm) {
  CNode node;
  EXPECT_EQ(DetailFormOf(node), DetailForm::Node);
  node.directoryRecord = std::make_unique<DirectoryRecordBytes>();
  EXPECT_EQ(DetailFormOf(node), DetailForm::Directory);
  node.nodeRecord = std::make_unique<NodeRecordBytes>();
  EXPECT_EQ(DetailFormOf(node), DetailForm::Node);

  CLink link;
  EXPECT_EQ(DetailFormOf(link), DetailForm::Link);
  link.tgRecord = std::make_unique<TgRecordBytes>();
  EXPECT_EQ(DetailFormOf(link), DetailForm::TransmissionGroup);
}

TEST(LinkDetailTexts, WithoutRecordShowsNameAndStatusWord) {
  CNode a;
  CNode b;
  a.label = "ENNODE1";
  b.label = "NN2";
  CLink link;
  link.endA = &a;
  link.endB = &b;
  EXPECT_EQ(LinkTextsWithoutRecord(link).name, "ENNODE1 - NN2");
  EXPECT_EQ(LinkTextsWithoutRecord(link).status, "InActive");
  link.status = ResourceStatus::Active;
  EXPECT_EQ(LinkTextsWithoutRecord(link).status, "Active");
}

}  // namespace
}  // namespace mapvine
