// The verb sequence and the values the queries send, observed on the way
// to a simulated node.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "NodeDoubles.h"
#include "SimulatedNetwork.h"
#include "protocol/DirectoryQuery.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "protocol/TopologyQuery.h"
#include "snanode/NetworkGenerator.h"

namespace mapvine {
namespace {

using namespace testing;

constexpr std::uint16_t kNodeOp = snawire::kOpNodeTopologyQuery;
constexpr std::uint16_t kTgOp = snawire::kOpTgTopologyQuery;
constexpr std::uint16_t kDirectoryOp = snawire::kOpDirectoryQuery;
constexpr std::uint16_t kLuOp = snawire::kOpDirectoryLuQuery;

std::string Padded(int n, int width) {
  std::string digits = std::to_string(n);
  return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

std::string Name(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return DecodeName(bytes.subspan(offset).first<snawire::kNameLength>());
}

TEST(QueryBatching, SixHundredNodesArriveIn585And15) {
  std::string description;
  for (int n = 0; n < 600; ++n) description += "nn NETA.N" + Padded(n, 4) + "\n";
  const auto simulated = NodeServing(description);
  RecordingNode node(EntryOf(simulated));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());

  ASSERT_EQ(tables.topology.size(), 600u);
  for (std::size_t i = 0; i < 600; ++i) {
    ASSERT_EQ(tables.topology[i].holdsNode, 1);
    ASSERT_EQ(Name(tables.topology[i].node, snawire::kNodeName), "NETA.N" + Padded(static_cast<int>(i), 4));
  }
  const auto requests = node.RequestsFor(kNodeOp);
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].listOptions, snawire::kListFromStart);
  EXPECT_EQ(requests[1].entryCount, 585);
  EXPECT_EQ(requests[1].bufferSize, 32760u);
  EXPECT_EQ(requests[1].key, Bytes(22, 0));
  EXPECT_EQ(requests[2].listOptions, snawire::kListAfterKey);
  EXPECT_EQ(requests[2].entryCount, 15);
  // The key is the 585th record's name and type, then zeros.
  const auto& last = tables.topology[584].node;
  Bytes key(last.begin() + snawire::kNodeName, last.begin() + snawire::kNodeType + 1);
  key.resize(22, 0);
  EXPECT_EQ(requests[2].key, key);
  EXPECT_EQ(Name(requests[2].key, 0), "NETA.N0584");
}

TEST(QueryBatching, TgBatchesHold264EntriesAndContinueAfterTheLastTg) {
  std::string description;
  for (int n = 0; n < 20; ++n) description += "nn NETA.N" + Padded(n, 2) + "\n";
  for (int n = 0; n < 20; ++n) {
    for (int tg = 1; tg <= 15; ++tg) {
      description += "tg NETA.N" + Padded(n, 2) + " NETA.N" + Padded((n + 1) % 20, 2) + " " + std::to_string(tg) +
                     (tg % 2 ? " operative\n" : "\n");
    }
  }
  const auto simulated = NodeServing(description);
  RecordingNode node(EntryOf(simulated));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());

  ASSERT_EQ(tables.topology.size(), 320u);
  EXPECT_EQ(tables.topology[19].holdsNode, 1);
  EXPECT_EQ(tables.topology[20].holdsTg, 1);
  EXPECT_EQ(tables.topology[20].holdsNode, 0);
  EXPECT_EQ(tables.topology[20].node, NodeRecordBytes{});
  const auto requests = node.RequestsFor(kTgOp);
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].bufferSize, 264u * 124u);
  EXPECT_EQ(requests[1].entryCount, 264);
  EXPECT_EQ(requests[2].listOptions, snawire::kListAfterKey);
  EXPECT_EQ(requests[2].entryCount, 36);
  // Owner, owner type, destination, destination type and TG number of the
  // 264th TG, at their key offsets.
  const auto& last = tables.topology[20 + 263].tg;
  Bytes key(last.begin() + snawire::kTgOwner, last.begin() + snawire::kTgNumber + 1);
  key.resize(42, 0);
  EXPECT_EQ(requests[2].key, key);
  EXPECT_EQ(requests[2].key[snawire::kTgKeyNumber - snawire::kKey], last[snawire::kTgNumber]);
}

TEST(QueryBatching, EmptyNetworkStillIssuesOneBatchOfEach) {
  const auto simulated = NodeServing("");
  RecordingNode node(EntryOf(simulated));
  TopologyTables tables;
  tables.topology.resize(3);
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  EXPECT_TRUE(tables.topology.empty());
  for (std::uint16_t opcode : {kNodeOp, kTgOp}) {
    const auto requests = node.RequestsFor(opcode);
    ASSERT_EQ(requests.size(), 2u) << opcode;
    EXPECT_EQ(requests[1].entryCount, 0) << opcode;
    // No entry in the probe: 100 bytes are assumed.
    EXPECT_EQ(requests[1].bufferSize, 32700u) << opcode;
  }
  ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());
  EXPECT_EQ(node.RequestsFor(kDirectoryOp).size(), 1u);
  EXPECT_EQ(node.RequestsFor(kLuOp).size(), 1u);
}

TEST(QueryBatching, DirectoryLooksUpOnlyEntriesWithAParent) {
  const auto simulated = NodeServing(SampleDescription());
  RecordingNode node(EntryOf(simulated));
  TopologyTables tables;
  ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());

  const auto lists = node.RequestsFor(kDirectoryOp);
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[1].blockLength, 72u);
  EXPECT_EQ(lists[1].entryCount, 0);
  EXPECT_EQ(lists[1].listOptions, snawire::kListFromStart);
  EXPECT_EQ(lists[1].bufferSize, (80u + 92u) * 30u);

  // Two network nodes have directory entries without a parent.
  ASSERT_EQ(tables.lus.size(), 28u);
  const auto lookups = node.RequestsFor(kLuOp);
  ASSERT_EQ(lookups.size(), 1u + 28u);
  for (std::size_t i = 0; i < tables.lus.size(); ++i) {
    const Request& lookup = lookups[i + 1];
    const auto& entry = tables.lus[i].directory;
    EXPECT_NE(entry[snawire::kDirParentName], 0);
    EXPECT_EQ(lookup.blockLength, 48u);
    EXPECT_EQ(lookup.listOptions, snawire::kListAtKey);
    EXPECT_EQ(lookup.entryCount, 1);
    EXPECT_EQ(lookup.bufferSize, 92u);
    EXPECT_EQ(Name(lookup.key, 0), Name(entry, snawire::kDirResourceName));
    EXPECT_EQ(lookup.key[17], 0);
    // The detail answers to the same name.
    EXPECT_EQ(snawire::GetU16(tables.lus[i].luDetail.data(), 0), 92);
  }
}

// Every list exactly as long as its 16-bit total can say: nothing is lost
// to the last, short batch and nothing is cut off at the limit.
TEST(QueryBatching, ListsOf65535EntriesArriveWhole) {
  const snanode::SimulatedNode simulated(snanode::GenerateLargestNetwork(3));
  RecordingNode node(EntryOf(simulated));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  ASSERT_EQ(tables.topology.size(), 2u * 65535u);
  EXPECT_EQ(tables.topology[65534].holdsNode + tables.topology[65535].holdsTg, 2);
  // The probe, 112 full batches of 585 node entries and one of the last 15.
  ASSERT_EQ(node.RequestsFor(kNodeOp).size(), 114u);
  EXPECT_EQ(node.RequestsFor(kNodeOp).back().entryCount, 65535 - 112 * 585);

  ASSERT_TRUE(QueryDirectory(EntryOf(simulated), tables).Succeeded());
  ASSERT_EQ(tables.lus.size(), 65535u);
  // The last entry's detail lookup finds it too.
  EXPECT_EQ(snawire::GetU16(tables.lus.back().luDetail.data(), 0), 92);
}

TEST(QueryBatching, FailingNodeFailsBothQueries) {
  const auto simulated = snanode::SimulatedNode::Failing(0x0100, 0x00001B00);
  TopologyTables tables;
  const VerbStatus topology = QueryTopology(EntryOf(simulated), tables);
  EXPECT_EQ(topology.primaryRc, 0x0100);
  EXPECT_EQ(topology.secondaryRc, 0x00001B00u);
  const VerbStatus directory = QueryDirectory(EntryOf(simulated), tables);
  EXPECT_FALSE(directory.Succeeded());
  EXPECT_TRUE(tables.topology.empty());
  EXPECT_TRUE(tables.lus.empty());
}

TEST(QueryBatching, FailedSecondTgBatchDiscardsEverythingReceived) {
  std::string description = "nn NETA.A\nnn NETA.B\n";
  for (int tg = 1; tg <= 255; ++tg) description += "tg NETA.A NETA.B " + std::to_string(tg) + "\n";
  for (int tg = 1; tg <= 100; ++tg) description += "tg NETA.B NETA.A " + std::to_string(tg) + "\n";
  const auto simulated = NodeServing(description);
  int tgCalls = 0;
  const SnaCtlFunction flaky = [&](void* block, std::uint32_t length) {
    simulated.Call(block, length);
    auto* bytes = static_cast<std::uint8_t*>(block);
    if (snawire::GetU16(bytes, snawire::kOpcode) == kTgOp && ++tgCalls == 3) {
      snawire::PutU16(bytes, snawire::kPrimaryRc, 0x0200);
    }
  };
  TopologyTables tables;
  const VerbStatus status = QueryTopology(flaky, tables);
  EXPECT_EQ(status.primaryRc, 0x0200);
  EXPECT_EQ(tgCalls, 3);
  EXPECT_TRUE(tables.topology.empty());
}

}  // namespace
}  // namespace mapvine
