// The node as the library serves it: a timeline played on a clock set from
// outside, re-reading a changed description, and the habits of real nodes
// a description can ask for.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "snanode/LiveNode.h"
#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

std::string Short(const std::vector<std::uint8_t>& entry, std::size_t offset) {
  const std::string name = NameAt(entry, offset);
  return name.substr(name.find('.') + 1);
}

// Probe, then the whole list, as a client asks.
QueryReply Listing(LiveNode& node, std::uint16_t opcode) {
  Query(node, {.opcode = opcode, .entryCount = 1});
  return Query(node, {.opcode = opcode});
}

// "NN1 NN2!" for nodes (! = a status bit set), "NN1>NN2+" for TGs
// (+ = operative), names for the directory.
std::string Summary(LiveNode& node, std::uint16_t opcode) {
  std::string text;
  for (const auto& entry : Listing(node, opcode).entries) {
    if (!text.empty()) text += ' ';
    if (opcode == snawire::kOpNodeTopologyQuery) {
      text += Short(entry, snawire::kNodeName) + (entry[snawire::kNodeStatus] != 0 ? "!" : "");
    } else if (opcode == snawire::kOpTgTopologyQuery) {
      text += Short(entry, snawire::kTgOwner) + ">" + Short(entry, snawire::kTgDestination) +
              ((entry[snawire::kTgStatus] & snawire::kTgOperative) != 0 ? "+" : "-");
    } else {
      text += Short(entry, snawire::kDirResourceName);
    }
  }
  return text;
}

template <typename Node>
std::uint16_t ApingPrimary(Node& node, std::string_view partner) {
  GuardedBytes block(snawire::kApingLength);
  snawire::PutU16(block.Data(), snawire::kOpcode, snawire::kOpAping);
  const WireName name = EncodeName(partner);
  std::copy(name.begin(), name.end(), block.Data() + snawire::kApingPartner);
  node.Call(block.Data(), snawire::kApingLength);
  return snawire::GetU16(block.Data(), snawire::kPrimaryRc);
}

class LiveNodeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("SNANODE_TIME");
    std::filesystem::remove(path_);
  }
  // Each write changes the file's size, so the node sees it whatever the
  // file system's time resolution.
  void Write(const std::string& text) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << text;
  }
  static void At(int seconds) { setenv("SNANODE_TIME", std::to_string(seconds).c_str(), 1); }

  const std::string path_ = ::testing::TempDir() + "live-" + std::to_string(::getpid()) + ".net";
};

TEST_F(LiveNodeTest, TheTimelinePlaysOnTheClockGivenFromOutside) {
  Write(R"(nn NETA.NN1
nn NETA.NN2 congested
en NETA.EN1 server=NETA.NN1
lu NETA.LU1 parent=NETA.EN1
tg NETA.NN1 NETA.NN2 21 operative
tg NETA.NN1 NETA.EN1 1 operative
repeat 100
at 10 nn NETA.NN2
at 10 tg NETA.NN1 NETA.NN2 21
at 20 nn NETA.NN3 quiescing
at 20 tg NETA.NN1 NETA.NN3 21 operative
at 30 remove NETA.EN1
at 40 aping NETA.NN1 fail 0x0300 0x05000000
at 50 aping NETA.NN1 ok 1 1 1 1
at 50 en NETA.EN1 server=NETA.NN1
at 60 remove tg NETA.NN1 NETA.NN3 21
)");
  const struct {
    int seconds;
    const char* nodes;
    const char* tgs;
    const char* directory;
    std::uint16_t nn1Aping;
    std::uint16_t lu1Aping;
  } rows[] = {
      {0, "NN1 NN2!", "NN1>EN1+ NN1>NN2+", "EN1 LU1", 0, 0},
      {10, "NN1 NN2", "NN1>EN1+ NN1>NN2-", "EN1 LU1", 0, 0},
      {25, "NN1 NN2 NN3!", "NN1>EN1+ NN1>NN2- NN1>NN3+", "EN1 LU1", 0, 0},
      // An end node that goes takes its TG and its LU along; it stops answering.
      {30, "NN1 NN2 NN3!", "NN1>NN2- NN1>NN3+", "", 0, snawire::kRcAllocationError},
      {40, "NN1 NN2 NN3!", "NN1>NN2- NN1>NN3+", "", snawire::kRcAllocationError, snawire::kRcAllocationError},
      {55, "NN1 NN2 NN3!", "NN1>EN1+ NN1>NN2- NN1>NN3+", "EN1 LU1", 0, 0},
      {60, "NN1 NN2 NN3!", "NN1>EN1+ NN1>NN2-", "EN1 LU1", 0, 0},
      {105, "NN1 NN2!", "NN1>EN1+ NN1>NN2+", "EN1 LU1", 0, 0},
  };
  LiveNode node(path_);
  for (const auto& row : rows) {
    At(row.seconds);
    EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), row.nodes) << row.seconds;
    EXPECT_EQ(Summary(node, snawire::kOpTgTopologyQuery), row.tgs) << row.seconds;
    EXPECT_EQ(Summary(node, snawire::kOpDirectoryQuery), row.directory) << row.seconds;
    EXPECT_EQ(ApingPrimary(node, "NETA.NN1"), row.nn1Aping) << row.seconds;
    EXPECT_EQ(ApingPrimary(node, "NETA.LU1"), row.lu1Aping) << row.seconds;
  }
}

TEST_F(LiveNodeTest, AChangedFileIsReadAtTheNextProbeAndABadEditKeepsTheLastGoodNetwork) {
  Write("nn NETA.NN1\n");
  LiveNode node(path_);
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1");
  Write("nn NETA.NN1\nnn NETA.NN2\n");
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 NN2");

  // A change between a probe and its batch waits for the next probe.
  EXPECT_EQ(Query(node, {.opcode = snawire::kOpNodeTopologyQuery, .entryCount = 1}).total, 2);
  Write("nn NETA.NN1\nnn NETA.NN2\nnn NETA.NN3\n");
  const QueryReply batch = Query(node, {.opcode = snawire::kOpNodeTopologyQuery});
  EXPECT_EQ(batch.total, 2);
  EXPECT_EQ(batch.entries.size(), 2u);
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 NN2 NN3");

  ::testing::internal::CaptureStderr();
  Write("nn NETA.NN1\nbogus\n");
  for (int query = 0; query < 3; ++query) EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 NN2 NN3");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            path_ + ":2: unknown statement 'bogus' (expected nn, en, cn, lu, node, tg, aping, at, repeat, "
                    "node-state, fail, long-entries, flow-reduction or cn-silent)\n");
  Write("nn NETA.NN4\n");
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN4");
}

constexpr std::string_view kHabitsNetwork = R"(
nn NETA.NN1
cn NETA.CN1
node NETA.LEN1 type=1
en NETA.EN1 server=NETA.NN1
lu NETA.LU1 parent=NETA.EN1
lu NETA.LU2 parent=NETA.EN1
tg NETA.NN1 NETA.CN1 1 operative
tg NETA.NN1 NETA.EN1 1 operative
tg NETA.NN1 NETA.LEN1 1 operative
)";

TEST(RealNodeHabits, EachChosenVerbFailsAloneWithItsCodes) {
  const SimulatedNode node(ParseOrFail(std::string(kHabitsNetwork) +
                                       "fail topology 0x0001 0x11\n"
                                       "fail tg-batch 2 0x0002 0x22\n"
                                       "fail directory 0x0003 0x33\n"
                                       "fail lu-lookup NETA.LU2 0x0004 0x44\n"));
  const auto codes = [](const QueryReply& reply) { return std::pair<int, std::uint32_t>(reply.primary, reply.secondary); };
  using Codes = std::pair<int, std::uint32_t>;
  EXPECT_EQ(codes(Query(node, {.opcode = snawire::kOpNodeTopologyQuery})), Codes(1, 0x11));
  EXPECT_EQ(codes(Query(node, {.opcode = snawire::kOpDirectoryQuery})), Codes(3, 0x33));
  // Only the batch that carries the second TG record fails.
  const QueryReply first = Query(node, {.opcode = snawire::kOpTgTopologyQuery, .entryCount = 1});
  EXPECT_EQ(codes(first), Codes(0, 0));
  ASSERT_EQ(first.entries.size(), 1u);
  const std::vector<std::uint8_t> key(first.entries[0].begin() + 2, first.entries[0].begin() + 2 + 37);
  EXPECT_EQ(codes(Query(node, {.opcode = snawire::kOpTgTopologyQuery, .options = snawire::kListAfterKey,
                               .entryCount = 1, .key = key})),
            Codes(2, 0x22));
  EXPECT_EQ(codes(Query(node, {.opcode = snawire::kOpTgTopologyQuery})), Codes(2, 0x22));
  const auto lookUp = [&](std::string_view lu) {
    return codes(Query(node, {.opcode = snawire::kOpDirectoryLuQuery, .options = snawire::kListAtKey,
                              .entryCount = 1, .key = Bytes(EncodeName(lu))}));
  };
  EXPECT_EQ(lookUp("NETA.LU1"), Codes(0, 0));
  EXPECT_EQ(lookUp("NETA.LU2"), Codes(4, 0x44));
}

TEST(RealNodeHabits, LongEntriesOtherNodeTypesSequenceNumbersAndSilentConnectionNetworks) {
  const SimulatedNode plain(ParseOrFail(kHabitsNetwork));
  const SimulatedNode habits(
      ParseOrFail(std::string(kHabitsNetwork) + "long-entries 24\nflow-reduction\ncn-silent\n"));
  const struct {
    std::uint16_t opcode;
    std::size_t fields;
    std::size_t frsn;  // 0: none
  } lists[] = {{snawire::kOpNodeTopologyQuery, snawire::kNodeRecordSize, snawire::kNodeFrsn},
               {snawire::kOpTgTopologyQuery, snawire::kTgRecordSize, snawire::kTgFrsn},
               {snawire::kOpDirectoryQuery, snawire::kDirectoryRecordSize, 0},
               {snawire::kOpDirectoryLuQuery, snawire::kLuDetailSize, 0}};
  for (const auto& list : lists) {
    const QueryReply before = Query(plain, {.opcode = list.opcode});
    const QueryReply after = Query(habits, {.opcode = list.opcode});
    ASSERT_EQ(after.entries.size(), before.entries.size());
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
      const std::vector<std::uint8_t>& entry = after.entries[i];
      ASSERT_EQ(entry.size(), list.fields + 24);
      EXPECT_TRUE(std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(list.fields), entry.end(),
                              [](std::uint8_t b) { return b != 0; }));
      if (list.frsn == 0) continue;
      EXPECT_NE(snawire::GetU32(entry.data(), list.frsn), 0u);
      EXPECT_EQ(snawire::GetU32(before.entries[i].data(), list.frsn), 0u);
    }
  }
  const QueryReply nodes = Query(habits, {.opcode = snawire::kOpNodeTopologyQuery});
  std::string types;
  for (const auto& entry : nodes.entries) types += std::to_string(entry[snawire::kNodeType]);
  EXPECT_EQ(types, "412");  // CN1, LEN1, NN1 in key order
  EXPECT_EQ(ApingPrimary(plain, "NETA.CN1"), 0);
  EXPECT_EQ(ApingPrimary(habits, "NETA.CN1"), snawire::kRcAllocationError);
  EXPECT_EQ(ApingPrimary(habits, "NETA.NN1"), 0);
}

}  // namespace
}  // namespace snanode::test
