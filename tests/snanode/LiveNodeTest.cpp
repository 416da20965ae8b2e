// The node as the library serves it: a timeline played on a clock set from
// outside, re-reading a changed description, and the habits of real nodes
// a description can ask for.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <thread>

#include "snanode/LiveNode.h"
#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

// A probe and then the whole list, as a client asks, summed up as "NN1
// NN2!" for nodes (! = a status bit), "NN1>NN2+" for TGs (+ = operative)
// and names for the directory.
std::string Summary(LiveNode& node, std::uint16_t opcode) {
  Query(node, {.opcode = opcode, .entryCount = 1});
  std::string text;
  for (const auto& entry : Query(node, {.opcode = opcode}).entries) {
    const auto name = [&](std::size_t offset) { return NameAt(entry, offset).substr(5); };  // without NETA.
    if (opcode == snawire::kOpNodeTopologyQuery) {
      text += name(snawire::kNodeName) + (entry[snawire::kNodeStatus] != 0 ? "! " : " ");
    } else if (opcode == snawire::kOpTgTopologyQuery) {
      text += name(snawire::kTgOwner) + ">" + name(snawire::kTgDestination) +
              ((entry[snawire::kTgStatus] & snawire::kTgOperative) != 0 ? "+ " : "- ");
    } else {
      text += name(snawire::kDirResourceName) + " ";
    }
  }
  return text;
}

template <typename Node>
std::uint16_t ApingPrimary(Node& node, std::string_view partner) {
  std::uint8_t block[snawire::kApingLength] = {};
  snawire::PutU16(block, snawire::kOpcode, snawire::kOpAping);
  const WireName name = EncodeName(partner);
  std::copy(name.begin(), name.end(), block + snawire::kApingPartner);
  node.Call(block, sizeof block);
  return snawire::GetU16(block, snawire::kPrimaryRc);
}

class LiveNodeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("SNANODE_TIME");
    std::remove(path_.c_str());
  }
  // Every write below changes the file's size, so the node sees it on any file system.
  // Written whole and then put in place, as a careful editor saves: a node
  // polling the file (a hung verb does) never reads it half written.
  void Write(const std::string& text) {
    const std::string next = path_ + ".next";
    std::ofstream(next, std::ios::trunc) << text;
    ASSERT_EQ(std::rename(next.c_str(), path_.c_str()), 0);
  }

  const std::string path_ = ::testing::TempDir() + "live-" + std::to_string(::getpid()) + ".net";
};

TEST_F(LiveNodeTest, TheTimelinePlaysOnTheClockGivenFromOutside) {
  Write("nn NETA.NN1\nnn NETA.NN2 congested\nen NETA.EN1 server=NETA.NN1\nlu NETA.LU1 parent=NETA.EN1\n"
        "tg NETA.NN1 NETA.NN2 21 operative\ntg NETA.NN1 NETA.EN1 1 operative\nrepeat 100\n"
        "at 10 nn NETA.NN2\nat 10 tg NETA.NN1 NETA.NN2 21\n"
        "at 20 nn NETA.NN3 quiescing\nat 20 tg NETA.NN1 NETA.NN3 21 operative\n"
        "at 30 remove NETA.EN1\nat 50 en NETA.EN1 server=NETA.NN1\nat 50 remove tg NETA.NN1 NETA.NN3 21\n");
  const struct {
    int seconds;
    const char *nodes, *tgs, *directory;
    std::uint16_t luAping;
  } rows[] = {
      {0, "NN1 NN2! ", "NN1>EN1+ NN1>NN2+ ", "EN1 LU1 ", 0},
      {10, "NN1 NN2 ", "NN1>EN1+ NN1>NN2- ", "EN1 LU1 ", 0},
      {25, "NN1 NN2 NN3! ", "NN1>EN1+ NN1>NN2- NN1>NN3+ ", "EN1 LU1 ", 0},
      // An end node that goes takes its TG and its LU along (they stop answering) and brings them back.
      {30, "NN1 NN2 NN3! ", "NN1>NN2- NN1>NN3+ ", "", snawire::kRcAllocationError},
      {55, "NN1 NN2 NN3! ", "NN1>EN1+ NN1>NN2- ", "EN1 LU1 ", 0},
      {105, "NN1 NN2! ", "NN1>EN1+ NN1>NN2+ ", "EN1 LU1 ", 0},
  };
  LiveNode node(path_);
  for (const auto& row : rows) {
    setenv("SNANODE_TIME", std::to_string(row.seconds).c_str(), 1);
    EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), row.nodes) << row.seconds;
    EXPECT_EQ(Summary(node, snawire::kOpTgTopologyQuery), row.tgs) << row.seconds;
    EXPECT_EQ(Summary(node, snawire::kOpDirectoryQuery), row.directory) << row.seconds;
    EXPECT_EQ(ApingPrimary(node, "NETA.LU1"), row.luAping) << row.seconds;
  }
}

TEST_F(LiveNodeTest, AChangedFileIsReadAtTheNextProbeAndABadEditKeepsTheLastGoodNetwork) {
  Write("nn NETA.NN1\n");
  LiveNode node(path_);
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 ");
  Write("nn NETA.NN1\nnn NETA.NN2\n");
  // A change between a probe and its batch waits for the next probe.
  EXPECT_EQ(Query(node, {.opcode = snawire::kOpNodeTopologyQuery, .entryCount = 1}).total, 2);
  Write("nn NETA.NN1\nnn NETA.NN2\nnn NETA.NN3\n");
  EXPECT_EQ(Query(node, {.opcode = snawire::kOpNodeTopologyQuery}).entries.size(), 2u);
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 NN2 NN3 ");

  ::testing::internal::CaptureStderr();
  Write("nn NETA.NN1\nbogus\n");
  for (int query = 0; query < 3; ++query) EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN1 NN2 NN3 ");
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors.rfind(path_ + ":2: unknown statement 'bogus'", 0), 0u) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
  Write("nn NETA.NN4\n");
  EXPECT_EQ(Summary(node, snawire::kOpNodeTopologyQuery), "NN4 ");
}

TEST(VerbTiming, DelaysAddUpPerVerbAndPartnerAndTimedLinesChangeThem) {
  ParseResult parsed = ParseNetwork(
      "nn NETA.NN1\nnn NETA.NN2\ndelay aping 10\ndelay tg-batch 250\nhang lu-lookup\n"
      "aping NETA.NN2 fail 0x0300 0x05000000 delay=40\n"
      "at 5 delay tg-batch 0\nat 5 hang topology\nat 7 delay lu-lookup 3\n",
      "test");
  ASSERT_TRUE(parsed.network) << parsed.error;
  const auto timing = [](const SimulatedNode& node, std::uint16_t opcode, std::string_view partner = {}) {
    std::uint8_t block[snawire::kApingLength] = {};
    snawire::PutU16(block, snawire::kOpcode, opcode);
    const WireName name = EncodeName(partner);
    if (!partner.empty()) std::copy(name.begin(), name.end(), block + snawire::kApingPartner);
    return node.TimingOf(block, sizeof block);
  };
  for (const std::size_t steps : {0u, 2u, 3u}) {
    SCOPED_TRACE(steps);
    const SimulatedNode node(NetworkAfter(*parsed.network, parsed.timeline, steps));
    EXPECT_EQ(timing(node, snawire::kOpAping, "NETA.NN1"), (VerbTiming{10, false}));
    EXPECT_EQ(timing(node, snawire::kOpAping, "NETA.NN2"), (VerbTiming{50, false}));
    EXPECT_EQ(timing(node, snawire::kOpTgTopologyQuery), (VerbTiming{steps == 0 ? 250u : 0u, false}));
    EXPECT_EQ(timing(node, snawire::kOpNodeTopologyQuery), (VerbTiming{0, steps > 0}));
    EXPECT_EQ(timing(node, snawire::kOpDirectoryLuQuery), (VerbTiming{steps == 3 ? 3u : 0u, steps < 3}));
    EXPECT_EQ(timing(node, snawire::kOpDirectoryQuery), VerbTiming{});
  }
}

// A hung topology query holds only its own caller: APING goes on from
// another thread meanwhile, and the query answers once the file changes.
TEST_F(LiveNodeTest, AHungVerbAnswersFromTheChangedDescriptionWhileOthersGoOn) {
  Write("nn NETA.NN1\nhang topology\n");
  LiveNode node(path_);
  std::string hungAnswer;
  std::thread hung([&] { hungAnswer = Summary(node, snawire::kOpNodeTopologyQuery); });
  EXPECT_EQ(ApingPrimary(node, "NETA.NN1"), 0);
  EXPECT_EQ(ApingPrimary(node, "NETA.NN9"), snawire::kRcAllocationError);
  Write("nn NETA.NN1\nnn NETA.NN2\n");
  hung.join();
  EXPECT_EQ(hungAnswer, "NN1 NN2 ");
}

TEST(RealNodeHabits, EachHabitShowsWhereItShouldAndNowhereElse) {
  const std::string network =
      "nn NETA.NN1\ncn NETA.CN1\nnode NETA.LEN1 type=1\nen NETA.EN1 server=NETA.NN1\nlu NETA.LU1 parent=NETA.EN1\n"
      "lu NETA.LU2 parent=NETA.EN1\ntg NETA.NN1 NETA.CN1 1\ntg NETA.NN1 NETA.EN1 1\ntg NETA.NN1 NETA.LEN1 1\n";
  const SimulatedNode plain(ParseOrFail(network));  // for the node records the habits below fail
  const SimulatedNode node(ParseOrFail(network +
                                       "fail topology 1 0x11\nfail tg-batch 2 2 0x22\nfail directory 3 0x33\n"
                                       "fail lu-lookup NETA.LU2 4 0x44\nlong-entries 24\nflow-reduction\ncn-silent\n"));
  using Codes = std::pair<int, std::uint32_t>;
  const auto codes = [&](const QueryRequest& request) {
    const QueryReply reply = Query(node, request);
    return Codes(reply.primary, reply.secondary);
  };
  EXPECT_EQ(codes({.opcode = snawire::kOpNodeTopologyQuery}), Codes(1, 0x11));
  EXPECT_EQ(codes({.opcode = snawire::kOpDirectoryQuery}), Codes(3, 0x33));
  // Only a batch that carries the second TG record fails.
  const QueryReply first = Query(node, {.opcode = snawire::kOpTgTopologyQuery, .entryCount = 1});
  ASSERT_EQ(first.entries.size(), 1u);
  const std::vector<std::uint8_t> key(first.entries[0].begin() + 2, first.entries[0].begin() + 39);
  EXPECT_EQ(codes({snawire::kOpTgTopologyQuery, snawire::kListAfterKey, 1, 32768, key}), Codes(2, 0x22));
  EXPECT_EQ(codes({snawire::kOpDirectoryLuQuery, snawire::kListAtKey, 1, 32768, Bytes(EncodeName("NETA.LU1"))}),
            Codes(0, 0));
  EXPECT_EQ(codes({snawire::kOpDirectoryLuQuery, snawire::kListAtKey, 1, 32768, Bytes(EncodeName("NETA.LU2"))}),
            Codes(4, 0x44));

  // Entries 24 bytes longer, filled; sequence numbers set in topology records.
  const QueryReply tgs = Query(node, {.opcode = snawire::kOpTgTopologyQuery, .entryCount = 1});
  const QueryReply details = Query(node, {.opcode = snawire::kOpDirectoryLuQuery, .entryCount = 1});
  ASSERT_EQ(tgs.entries.size() + details.entries.size(), 2u);
  EXPECT_EQ(tgs.entries[0].size(), snawire::kTgRecordSize + 24);
  EXPECT_EQ(details.entries[0].size(), snawire::kLuDetailSize + 24);
  EXPECT_EQ(details.entries[0].back(), 0xEE);
  EXPECT_NE(snawire::GetU32(tgs.entries[0].data(), snawire::kTgFrsn), 0u);
  std::string types;
  for (const auto& entry : Query(plain, {.opcode = snawire::kOpNodeTopologyQuery}).entries) {
    types += std::to_string(entry[snawire::kNodeType]);
  }
  EXPECT_EQ(types, "412");  // CN1, LEN1, NN1 in key order
  EXPECT_EQ(ApingPrimary(node, "NETA.CN1"), snawire::kRcAllocationError);
  EXPECT_EQ(ApingPrimary(node, "NETA.NN1"), 0);
}

}  // namespace
}  // namespace snanode::test
