// QueryTopology against nodes that answer badly: every answer must leave a
// bounded table filled only from bytes inside the batch buffer, and the
// query must end.
#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>

#include "NodeDoubles.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"
#include "protocol/TopologyQuery.h"

namespace mapvine {
namespace {

using namespace testing;

constexpr std::uint16_t kNodeOp = snawire::kOpNodeTopologyQuery;
constexpr std::uint16_t kTgOp = snawire::kOpTgTopologyQuery;

// A node whose topology lists are scripted per verb: the first call of a
// verb is its probe, later calls are batches numbered from 0.
struct ScriptedTopology {
  Reply nodeProbe{0, 0, 0, 0, NodeEntry("NETA.NN0", 2)};
  Reply tgProbe{};
  std::function<Reply(const Request&, int batch)> nodeBatch = [](const Request&, int) { return Reply{}; };
  std::function<Reply(const Request&, int batch)> tgBatch = [](const Request&, int) { return Reply{}; };
};

SnaCtlFunction Serve(ScriptedTopology script) {
  auto calls = std::make_shared<std::map<std::uint16_t, int>>();
  return ScriptedNode([script = std::move(script), calls](const Request& request) {
    const int call = (*calls)[request.opcode]++;
    if (request.opcode == kNodeOp) return call == 0 ? script.nodeProbe : script.nodeBatch(request, call - 1);
    if (request.opcode == kTgOp) return call == 0 ? script.tgProbe : script.tgBatch(request, call - 1);
    return Reply{0xFFFF, 0, 0, 0, {}};
  });
}

std::string NodeName(const TopologyEntry& record) {
  return DecodeName(std::span(record.node).subspan<snawire::kNodeName, snawire::kNameLength>());
}

std::string Numbered(int n) { return "NETA.N" + std::to_string(n); }

Reply NodeBatch(int first, int count, std::uint16_t length = 56) {
  Reply reply{0, 0, static_cast<std::uint16_t>(count), 0, {}};
  for (int n = first; n < first + count; ++n) Append(reply.buffer, NodeEntry(Numbered(n), 2, length));
  return reply;
}

TEST(HostileTopology, EntriesTooShortToHoldTheirLengthEndTheBatch) {
  for (std::uint16_t badLength : {0, 1}) {
    ScriptedTopology script;
    script.nodeProbe.total = 3;
    script.nodeBatch = [badLength](const Request&, int batch) {
      if (batch > 0) return Reply{};
      Reply reply = NodeBatch(0, 1);
      Bytes bad = NodeEntry("NETA.BAD", 2);
      snawire::PutU16(bad.data(), 0, badLength);
      Append(reply.buffer, bad);
      Append(reply.buffer, NodeEntry("NETA.AFTER", 2));
      reply.entryCount = 3;
      return reply;
    };
    RecordingNode node(Serve(script));
    TopologyTables tables;
    ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded()) << badLength;
    ASSERT_EQ(tables.topology.size(), 1u) << badLength;
    EXPECT_EQ(NodeName(tables.topology[0]), "NETA.N0");
    // Short of the total, so it asked once more after the last good entry.
    const auto batches = node.RequestsFor(kNodeOp);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[2].listOptions, snawire::kListAfterKey);
  }
}

TEST(HostileTopology, OverlongEntryEndsTheWalkAfterItsRecord) {
  ScriptedTopology script;
  script.nodeProbe.total = 5;
  script.nodeBatch = [](const Request&, int batch) {
    if (batch > 0) return Reply{};
    Reply reply = NodeBatch(0, 5);
    snawire::PutU16(reply.buffer.data(), 0, 60000);
    return reply;
  };
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(Serve(script), tables).Succeeded());
  ASSERT_EQ(tables.topology.size(), 1u);
  EXPECT_EQ(NodeName(tables.topology[0]), "NETA.N0");
}

TEST(HostileTopology, EntryCutByTheBufferEndKeepsOnlyItsInsideBytes) {
  // 66-byte entries in a 32760-byte buffer: 496 whole ones, then 24 bytes
  // of the 497th.
  ScriptedTopology script;
  script.nodeProbe.total = 600;
  script.nodeBatch = [](const Request&, int batch) { return batch == 0 ? NodeBatch(0, 600, 66) : Reply{}; };
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(Serve(script), tables).Succeeded());
  ASSERT_EQ(tables.topology.size(), 497u);
  const auto& whole = tables.topology[495].node;
  EXPECT_EQ(whole[snawire::kNodeFunctionSupport], snawire::kFunctionIsr);
  EXPECT_EQ(whole[55], 0xAA);
  const auto& cut = tables.topology[496].node;
  EXPECT_EQ(NodeName(tables.topology[496]), "NETA.N496");
  for (std::size_t i = 24; i < cut.size(); ++i) EXPECT_EQ(cut[i], 0) << i;
}

TEST(HostileTopology, CountBeyondWhatTheBufferHoldsStopsAtTheLastEntry) {
  ScriptedTopology script;
  script.nodeProbe.total = 3;
  script.nodeBatch = [](const Request&, int batch) {
    Reply reply = batch == 0 ? NodeBatch(0, 3) : Reply{};
    reply.entryCount = 65535;
    return reply;
  };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  EXPECT_EQ(tables.topology.size(), 3u);
  EXPECT_EQ(node.RequestsFor(kNodeOp).size(), 2u);
}

TEST(HostileTopology, MoreEntriesThanProbedGrowTheTable) {
  ScriptedTopology script;
  script.nodeProbe.total = 2;
  script.tgProbe = Reply{0, 0, 0, 1, TgEntry("NETA.N0", "NETA.N1", 1, 0x80)};
  script.nodeBatch = [](const Request&, int batch) { return batch == 0 ? NodeBatch(0, 5) : Reply{}; };
  script.tgBatch = [](const Request&, int batch) {
    Reply reply{0, 0, 3, 0, {}};
    for (std::uint8_t tg = 1; tg <= 3; ++tg) Append(reply.buffer, TgEntry("NETA.N0", "NETA.N1", tg, 0x80));
    return batch == 0 ? reply : Reply{};
  };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  ASSERT_EQ(tables.topology.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(tables.topology[i].holdsNode, i < 5 ? 1 : 0) << i;
    EXPECT_EQ(tables.topology[i].holdsTg, i < 5 ? 0 : 1) << i;
  }
  EXPECT_EQ(tables.topology[7].tg[snawire::kTgNumber], 3);
  EXPECT_EQ(node.RequestsFor(kNodeOp)[1].entryCount, 2) << "asks for what the probe announced";
}

TEST(HostileTopology, FewerEntriesThanProbedEndWhenABatchIsEmpty) {
  ScriptedTopology script;
  script.nodeProbe.total = 10;
  script.nodeBatch = [](const Request&, int batch) { return batch == 0 ? NodeBatch(0, 3) : Reply{}; };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  EXPECT_EQ(tables.topology.size(), 3u);
  EXPECT_EQ(node.RequestsFor(kNodeOp).size(), 3u);
}

TEST(HostileTopology, NodeIgnoringTheContinuationKeyIsCutOff) {
  ScriptedTopology script;
  script.nodeProbe.total = 65535;
  script.nodeBatch = [](const Request&, int) { return NodeBatch(0, 585); };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  EXPECT_EQ(node.RequestsFor(kNodeOp).size(), 3u);
  EXPECT_EQ(tables.topology.size(), 2u * 585u);
}

TEST(HostileTopology, NodeSendingNewEntriesForeverStopsAtTheListLimit) {
  for (std::uint16_t probedTotal : {std::uint16_t{0}, std::uint16_t{65535}}) {
    ScriptedTopology script;
    script.nodeProbe.total = probedTotal;
    script.tgProbe.total = probedTotal;
    script.tgBatch = [](const Request&, int batch) {
      Reply reply{0, 0, 264, 0, {}};
      for (int n = 0; n < 264; ++n) {
        Append(reply.buffer, TgEntry(Numbered(batch), Numbered(n), 1, 0x80));
      }
      return reply;
    };
    RecordingNode node(Serve(script));
    TopologyTables tables;
    ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
    EXPECT_LE(tables.topology.size(), kMaxListEntries) << probedTotal;
    EXPECT_LE(node.RequestsFor(kTgOp).size(), 1u + 65535u / 264u + 2u) << probedTotal;
    if (probedTotal == 0) {
      EXPECT_EQ(tables.topology.size(), 264u) << "an empty probe asks once";
    }
  }
}

TEST(HostileTopology, FailedTgBatchFailsTheWholeQuery) {
  ScriptedTopology script;
  script.nodeProbe.total = 3;
  script.tgProbe.total = 3;
  script.nodeBatch = [](const Request&, int batch) { return batch == 0 ? NodeBatch(0, 3) : Reply{}; };
  script.tgBatch = [](const Request&, int) { return Reply{0x0100, 0x47100000, 0, 0, {}}; };
  TopologyTables tables;
  tables.topology.resize(7);  // left over from an earlier pass
  const VerbStatus status = QueryTopology(Serve(script), tables);
  EXPECT_FALSE(status.Succeeded());
  EXPECT_EQ(status.primaryRc, 0x0100);
  EXPECT_EQ(status.secondaryRc, 0x47100000u);
  EXPECT_TRUE(tables.topology.empty());
}

TEST(HostileTopology, BatchSizeFollowsTheProbedEntryLength) {
  struct Case {
    std::uint16_t probedLength;
    std::uint32_t bufferSize;
    std::uint16_t perBatch;
  };
  for (const Case c : {Case{0, 32700, 327}, Case{56, 32760, 585}, Case{124, 32736, 264}, Case{1, 32768, 32768},
                       Case{32768, 32768, 1}, Case{32769, 32700, 327}, Case{65535, 32700, 327}}) {
    ScriptedTopology script;
    script.nodeProbe = Reply{0, 0, 1, 65535, {}};
    script.nodeProbe.buffer.resize(2);
    snawire::PutU16(script.nodeProbe.buffer.data(), 0, c.probedLength);
    RecordingNode node(Serve(script));
    TopologyTables tables;
    ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
    const auto requests = node.RequestsFor(kNodeOp);
    // A probe that brought no entry is asked once more, with room for any.
    ASSERT_EQ(requests.size(), c.probedLength == 0 ? 3u : 2u);
    EXPECT_EQ(requests.back().bufferSize, c.bufferSize) << c.probedLength;
    EXPECT_EQ(requests.back().entryCount, c.perBatch) << c.probedLength;
    EXPECT_EQ(requests.back().listOptions, snawire::kListFromStart);
  }
}

TEST(HostileTopology, ProbesAskForOneEntryFromTheStart) {
  RecordingNode node(Serve(ScriptedTopology{}));
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(node.Function(), tables).Succeeded());
  struct Expected {
    std::uint16_t opcode;
    std::uint32_t blockLength;
    std::uint32_t probeSize;
  };
  for (const Expected e : {Expected{kNodeOp, 52, 56}, Expected{kTgOp, 72, 124}}) {
    const Request probe = node.RequestsFor(e.opcode).at(0);
    EXPECT_EQ(probe.blockLength, e.blockLength);
    EXPECT_EQ(probe.bufferSize, e.probeSize);
    EXPECT_EQ(probe.entryCount, 1);
    EXPECT_EQ(probe.listOptions, snawire::kListFromStart);
    EXPECT_EQ(probe.key, Bytes(e.blockLength - snawire::kKey, 0));
  }
}

}  // namespace
}  // namespace mapvine
