// QueryDirectory against nodes that answer badly or not at all.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <span>
#include <string>

#include "NodeDoubles.h"
#include "protocol/DirectoryQuery.h"
#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"

namespace mapvine {
namespace {

using namespace testing;

constexpr std::uint16_t kDirectoryOp = snawire::kOpDirectoryQuery;
constexpr std::uint16_t kLuOp = snawire::kOpDirectoryLuQuery;

Reply ProbeReply(std::uint16_t total, std::uint16_t entryLength) {
  Reply reply{0, 0, 1, total, Bytes(2, 0)};
  snawire::PutU16(reply.buffer.data(), 0, entryLength);
  return reply;
}

Bytes LuDetail(std::uint8_t fill, std::size_t size = 92) {
  Bytes detail(size, fill);
  snawire::PutU16(detail.data(), 0, static_cast<std::uint16_t>(size));
  return detail;
}

// Directory probe, then the list; detail probe, then one lookup per call.
struct ScriptedDirectory {
  Reply directoryProbe = ProbeReply(3, 80);
  Reply detailProbe = ProbeReply(1, 92);
  Reply list{};
  std::function<Reply(const Request&)> lookup = [](const Request&) { return Reply{0, 0, 1, 1, LuDetail(0x11)}; };
};

SnaCtlFunction Serve(ScriptedDirectory script) {
  auto calls = std::make_shared<std::map<std::uint16_t, int>>();
  return ScriptedNode([script = std::move(script), calls](const Request& request) {
    const int call = (*calls)[request.opcode]++;
    if (request.opcode == kDirectoryOp) return call == 0 ? script.directoryProbe : script.list;
    if (request.opcode == kLuOp) return call == 0 ? script.detailProbe : script.lookup(request);
    return Reply{0xFFFF, 0, 0, 0, {}};
  });
}

Reply ListOf(std::initializer_list<Bytes> entries) {
  Reply reply{0, 0, static_cast<std::uint16_t>(entries.size()), static_cast<std::uint16_t>(entries.size()), {}};
  for (const Bytes& entry : entries) Append(reply.buffer, entry);
  return reply;
}

std::string ResourceName(const LuEntry& record) {
  return DecodeName(std::span(record.directory).subspan<snawire::kDirResourceName, snawire::kNameLength>());
}

TEST(HostileDirectory, EmptyDirectoryIssuesOnlyTheProbes) {
  ScriptedDirectory script;
  script.directoryProbe = ProbeReply(0, 0);
  RecordingNode node(Serve(script));
  TopologyTables tables;
  tables.lus.resize(4);
  ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());
  EXPECT_TRUE(tables.lus.empty());
  EXPECT_EQ(node.Requests().size(), 2u);
}

TEST(HostileDirectory, FailedProbeOrListIsAFailure) {
  ScriptedDirectory probeFails;
  probeFails.directoryProbe = Reply{0x04F0, 0, 0, 0, {}};
  TopologyTables tables;
  EXPECT_EQ(QueryDirectory(Serve(probeFails), tables).primaryRc, 0x04F0);

  ScriptedDirectory listFails;
  listFails.list = Reply{0x0100, 0x00001B00, 0, 0, {}};
  tables.lus.resize(2);
  const VerbStatus status = QueryDirectory(Serve(listFails), tables);
  EXPECT_EQ(status.primaryRc, 0x0100);
  EXPECT_EQ(status.secondaryRc, 0x00001B00u);
  EXPECT_TRUE(tables.lus.empty());
}

TEST(HostileDirectory, FailedLookupKeepsTheEntryWithoutDetail) {
  ScriptedDirectory script;
  script.list = ListOf({DirectoryEntry("NETA.LU1", 0xF3, "NETA.EN1", 0xF4),
                        DirectoryEntry("NETA.NN1", 0xF6, "", 0),
                        DirectoryEntry("NETA.LU2", 0xF3, "NETA.EN1", 0xF4)});
  script.lookup = [](const Request& request) {
    if (DecodeName(std::span(request.key).first<snawire::kNameLength>()) == "NETA.LU1") {
      return Reply{0x0100, 0x29100000, 0, 0, LuDetail(0x22)};
    }
    return Reply{0, 0, 1, 1, LuDetail(0x33)};
  };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());
  ASSERT_EQ(tables.lus.size(), 2u);
  EXPECT_EQ(ResourceName(tables.lus[0]), "NETA.LU1");
  EXPECT_EQ(tables.lus[0].luDetail, LuDetailBytes{});
  EXPECT_EQ(ResourceName(tables.lus[1]), "NETA.LU2");
  EXPECT_EQ(tables.lus[1].luDetail[91], 0x33);
  EXPECT_EQ(node.RequestsFor(kLuOp).size(), 3u);
}

TEST(HostileDirectory, ShortDetailLengthCopiesOnlyWhatTheBufferHolds) {
  ScriptedDirectory script;
  script.detailProbe = ProbeReply(1, 40);
  script.list = ListOf({DirectoryEntry("NETA.LU1", 0xF3, "NETA.EN1", 0xF4)});
  script.lookup = [](const Request&) { return Reply{0, 0, 1, 1, LuDetail(0x44)}; };
  RecordingNode node(Serve(script));
  TopologyTables tables;
  ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());
  ASSERT_EQ(tables.lus.size(), 1u);
  EXPECT_EQ(node.RequestsFor(kLuOp).back().bufferSize, 40u);
  EXPECT_EQ(tables.lus[0].luDetail[39], 0x44);
  EXPECT_EQ(tables.lus[0].luDetail[40], 0x00);
}

TEST(HostileDirectory, BadEntryLengthsEndTheWalk) {
  struct Case {
    const char* what;
    std::uint16_t secondLength;
    std::size_t expected;
  };
  for (const Case c : {Case{"zero", 0, 1}, Case{"one", 1, 1}, Case{"past the end", 60000, 2}}) {
    ScriptedDirectory script;
    Bytes second = DirectoryEntry("NETA.LU2", 0xF3, "NETA.EN1", 0xF4);
    snawire::PutU16(second.data(), 0, c.secondLength);
    script.list = ListOf({DirectoryEntry("NETA.LU1", 0xF3, "NETA.EN1", 0xF4), second,
                          DirectoryEntry("NETA.LU3", 0xF3, "NETA.EN1", 0xF4)});
    TopologyTables tables;
    ASSERT_TRUE(QueryDirectory(Serve(script), tables).Succeeded()) << c.what;
    EXPECT_EQ(tables.lus.size(), c.expected) << c.what;
  }
}

TEST(HostileDirectory, WalkStopsAtTheProbedTotal) {
  ScriptedDirectory script;
  script.directoryProbe = ProbeReply(2, 80);
  script.list = ListOf({DirectoryEntry("NETA.LU1", 0xF3, "NETA.EN1", 0xF4),
                        DirectoryEntry("NETA.LU2", 0xF3, "NETA.EN1", 0xF4)});
  script.list.entryCount = 2;
  // A larger buffer than two entries need (detail room), so a third entry
  // would fit; the node must not be trusted beyond what it announced.
  Append(script.list.buffer, DirectoryEntry("NETA.LU3", 0xF3, "NETA.EN1", 0xF4));
  TopologyTables tables;
  ASSERT_TRUE(QueryDirectory(Serve(script), tables).Succeeded());
  EXPECT_EQ(tables.lus.size(), 2u);
}

TEST(HostileDirectory, HugeProbedSizesAreCapped) {
  struct Case {
    std::uint16_t total;
    std::uint16_t entryLength;
    std::uint16_t detailLength;
    std::uint32_t bufferSize;
  };
  for (const Case c : {Case{3, 80, 92, 516}, Case{65535, 65535, 65535, kDirectoryBufferLimit},
                       Case{65535, 80, 92, 172u * 65535u},
                       // No entry fitted the probes: asked again, the node
                       // shows its one real entry and its length.
                       Case{4, 0, 0, 172}}) {
    ScriptedDirectory script;
    script.directoryProbe = ProbeReply(c.total, c.entryLength);
    script.detailProbe = ProbeReply(1, c.detailLength);
    script.list = ListOf({DirectoryEntry("NETA.LU1", 0xF3, "NETA.EN1", 0xF4)});
    RecordingNode node(Serve(script));
    TopologyTables tables;
    ASSERT_TRUE(QueryDirectory(node.Function(), tables).Succeeded());
    EXPECT_EQ(node.RequestsFor(kDirectoryOp).back().bufferSize, c.bufferSize) << c.total << " " << c.entryLength;
    EXPECT_EQ(tables.lus.size(), c.bufferSize == 0 ? 0u : 1u);
  }
}

}  // namespace
}  // namespace mapvine
