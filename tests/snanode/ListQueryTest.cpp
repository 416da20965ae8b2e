// The four list verbs: order, continuation, counts and buffer bounds.

#include <gtest/gtest.h>

#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

// Lines deliberately out of key order.
constexpr std::string_view kNetwork = R"(
nn NETA.NN3 congested isr hpr
nn NETA.NN1 border-node cds directory entry=cached location=cross-domain desc="Edge"
cn NETA.CN1 quiescing
nn NETA.NN2
en NETA.EN2 server=NETA.NN2
en NETA.EN1 server=NETA.NN1 desc="Payroll # host"
lu NETA.LU2 parent=NETA.NN3 entry=local location=local
lu NETA.LU1 parent=NETA.EN1 entry=cached
tg NETA.NN2 NETA.NN1 21 operative
tg NETA.NN1 NETA.NN2 22 quiescing
tg NETA.NN1 NETA.NN2 21 operative cp-cp hpr rtp
tg NETA.NN1 NETA.EN1 1
tg NETA.NN1 NETA.CN1 1 operative
)";

struct ListCase {
  std::uint16_t opcode;
  std::size_t entrySize;
  std::size_t keyLength;
  std::vector<std::string> order;  // first name of each entry, in list order
};

class ListVerbs : public ::testing::TestWithParam<ListCase> {
 protected:
  SimulatedNode node_{ParseOrFail(kNetwork)};
};

// Every list sorts by its key bytes as they travel: EBCDIC names, blank
// padded, then types and numbers.
const ListCase kLists[] = {
    {snawire::kOpNodeTopologyQuery, 56, 18, {"NETA.CN1", "NETA.NN1", "NETA.NN2", "NETA.NN3"}},
    {snawire::kOpTgTopologyQuery, 124, 37, {"NETA.NN1", "NETA.NN1", "NETA.NN1", "NETA.NN1", "NETA.NN2"}},
    {snawire::kOpDirectoryQuery, 80, 17, {"NETA.EN1", "NETA.EN2", "NETA.LU1", "NETA.LU2", "NETA.NN1"}},
    {snawire::kOpDirectoryLuQuery, 92, 17, {"NETA.EN1", "NETA.EN2", "NETA.LU1", "NETA.LU2", "NETA.NN1"}},
};

std::vector<std::uint8_t> KeyOf(const std::vector<std::uint8_t>& entry, std::size_t keyLength) {
  return {entry.begin() + 2, entry.begin() + 2 + static_cast<std::ptrdiff_t>(keyLength)};
}

TEST_P(ListVerbs, FromStartReturnsEveryEntryInKeyOrderWithItsLength) {
  const ListCase& list = GetParam();
  const QueryReply reply = Query(node_, {.opcode = list.opcode});
  ASSERT_EQ(reply.primary, 0);
  EXPECT_EQ(reply.entryCount, list.order.size());
  EXPECT_EQ(reply.total, list.order.size());
  ASSERT_EQ(reply.entries.size(), list.order.size());
  for (std::size_t i = 0; i < reply.entries.size(); ++i) {
    EXPECT_EQ(reply.entries[i].size(), list.entrySize);
    EXPECT_EQ(NameAt(reply.entries[i], 2), list.order[i]) << i;
    if (i > 0) {
      EXPECT_LT(KeyOf(reply.entries[i - 1], list.keyLength), KeyOf(reply.entries[i], list.keyLength));
    }
  }
}

TEST_P(ListVerbs, BatchesAfterTheLastKeyReassembleTheWholeList) {
  const ListCase& list = GetParam();
  const QueryReply whole = Query(node_, {.opcode = list.opcode});
  for (std::uint16_t batch = 1; batch <= 3; ++batch) {
    std::vector<std::vector<std::uint8_t>> collected;
    QueryReply reply = Query(node_, {.opcode = list.opcode, .entryCount = batch});
    while (reply.primary == 0 && !reply.entries.empty()) {
      EXPECT_LE(reply.entries.size(), batch);
      EXPECT_EQ(reply.total, whole.entries.size());
      collected.insert(collected.end(), reply.entries.begin(), reply.entries.end());
      reply = Query(node_, {.opcode = list.opcode,
                            .options = snawire::kListAfterKey,
                            .entryCount = batch,
                            .key = KeyOf(collected.back(), list.keyLength)});
    }
    EXPECT_EQ(reply.primary, 0);
    EXPECT_EQ(collected, whole.entries) << "batch " << batch;
  }
}

TEST_P(ListVerbs, AtKeyIncludesTheKeyAndAfterKeySkipsIt) {
  const ListCase& list = GetParam();
  const QueryReply whole = Query(node_, {.opcode = list.opcode});
  const std::vector<std::uint8_t> key = KeyOf(whole.entries[1], list.keyLength);
  const QueryReply at = Query(node_, {.opcode = list.opcode, .options = snawire::kListAtKey, .key = key});
  const QueryReply after = Query(node_, {.opcode = list.opcode, .options = snawire::kListAfterKey, .key = key});
  ASSERT_EQ(at.entries.size(), whole.entries.size() - 1);
  ASSERT_EQ(after.entries.size(), whole.entries.size() - 2);
  EXPECT_EQ(at.entries.front(), whole.entries[1]);
  EXPECT_EQ(after.entries.front(), whole.entries[2]);
  EXPECT_EQ(at.total, whole.entries.size());
}

TEST_P(ListVerbs, BufferHoldsOnlyWholeEntriesAndTotalIsAlwaysSet) {
  const ListCase& list = GetParam();
  const auto size = static_cast<std::uint32_t>(list.entrySize);
  const struct {
    std::uint32_t bufferSize;
    std::uint16_t entryCount;
    std::size_t expected;
  } cases[] = {
      {size * 2 + size / 2, 0, 2}, {size - 1, 0, 0}, {1, 0, 0},           {size * 3, 1, 1},
      {size * 3, 2, 2},            {size * 100, 0, list.order.size()}, {size * 100, 500, list.order.size()},
  };
  for (const auto& c : cases) {
    const QueryReply reply = Query(node_, {.opcode = list.opcode, .entryCount = c.entryCount, .bufferSize = c.bufferSize});
    EXPECT_EQ(reply.primary, 0);
    EXPECT_EQ(reply.entryCount, c.expected) << c.bufferSize << "/" << c.entryCount;
    EXPECT_EQ(reply.total, list.order.size());
  }
}

INSTANTIATE_TEST_SUITE_P(AllLists, ListVerbs, ::testing::ValuesIn(kLists));

TEST(ListQuery, AfterAKeyThatIsNotPresentContinuesWhereItWouldSort) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  std::vector<std::uint8_t> key = Bytes(EncodeName("NETA.MM"));  // between LU2 and NN1
  const QueryReply after = Query(node, {.opcode = snawire::kOpDirectoryQuery, .options = snawire::kListAfterKey, .key = key});
  const QueryReply at = Query(node, {.opcode = snawire::kOpDirectoryQuery, .options = snawire::kListAtKey, .key = key});
  ASSERT_EQ(after.entries.size(), 1u);
  EXPECT_EQ(NameAt(after.entries[0], 2), "NETA.NN1");
  EXPECT_EQ(at.entries, after.entries);

  key = Bytes(EncodeName("NETA.NN9"));  // beyond the last node
  key.push_back(snawire::kNodeTypeNetworkNode);
  const QueryReply past = Query(node, {.options = snawire::kListAfterKey, .key = key});
  EXPECT_EQ(past.primary, 0);
  EXPECT_EQ(past.entryCount, 0);
  EXPECT_EQ(past.total, 4);
}

TEST(ListQuery, TgContinuationDistinguishesParallelTgsByNumber) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  std::vector<std::uint8_t> key = Bytes(EncodeName("NETA.NN1"));
  key.push_back(snawire::kNodeTypeNetworkNode);
  const WireName destination = EncodeName("NETA.NN2");
  key.insert(key.end(), destination.begin(), destination.end());
  key.push_back(snawire::kNodeTypeNetworkNode);
  key.push_back(21);
  const QueryReply reply = Query(node, {.opcode = snawire::kOpTgTopologyQuery, .options = snawire::kListAfterKey, .entryCount = 1, .key = key});
  ASSERT_EQ(reply.entries.size(), 1u);
  EXPECT_EQ(reply.entries[0][snawire::kTgNumber], 22);
  EXPECT_EQ(reply.entries[0][snawire::kTgStatus], snawire::kTgQuiescing);
}

TEST(ListQuery, RecordsCarryTheDescribedFields) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  const QueryReply nodes = Query(node, {});
  ASSERT_EQ(nodes.entries.size(), 4u);
  EXPECT_EQ(nodes.entries[0][snawire::kNodeType], snawire::kNodeTypeConnectionNetwork);
  EXPECT_EQ(nodes.entries[0][snawire::kNodeStatus], snawire::kNodeQuiescing);
  EXPECT_EQ(nodes.entries[1][snawire::kNodeType], snawire::kNodeTypeNetworkNode);
  EXPECT_EQ(nodes.entries[1][snawire::kNodeFunctionSupport], snawire::kFunctionBorderNode | snawire::kFunctionCds);
  EXPECT_EQ(nodes.entries[3][snawire::kNodeStatus], snawire::kNodeCongested);
  EXPECT_EQ(nodes.entries[3][snawire::kNodeFunctionSupport], snawire::kFunctionIsr | snawire::kFunctionHpr);

  const QueryReply tgs = Query(node, {.opcode = snawire::kOpTgTopologyQuery});
  ASSERT_EQ(tgs.entries.size(), 5u);
  // NN1's TGs by destination name: CN1, EN1, then NN2 numbers 21 and 22.
  EXPECT_EQ(NameAt(tgs.entries[0], snawire::kTgDestination), "NETA.CN1");
  EXPECT_EQ(tgs.entries[0][snawire::kTgDestinationType], snawire::kNodeTypeConnectionNetwork);
  EXPECT_EQ(NameAt(tgs.entries[1], snawire::kTgDestination), "NETA.EN1");
  EXPECT_EQ(tgs.entries[1][snawire::kTgDestinationType], kNodeTypeEndNode);
  EXPECT_EQ(tgs.entries[1][snawire::kTgStatus], 0);
  EXPECT_EQ(tgs.entries[2][snawire::kTgOwnerType], snawire::kNodeTypeNetworkNode);
  EXPECT_EQ(tgs.entries[2][snawire::kTgNumber], 21);
  EXPECT_EQ(tgs.entries[2][snawire::kTgStatus],
            snawire::kTgOperative | snawire::kTgCpCpSessions | snawire::kTgHpr | snawire::kTgRtp);

  const QueryReply directory = Query(node, {.opcode = snawire::kOpDirectoryQuery});
  ASSERT_EQ(directory.entries.size(), 5u);
  const std::vector<std::uint8_t>& en1 = directory.entries[0];
  EXPECT_EQ(snawire::GetU16(en1.data(), snawire::kDirResourceType), snawire::kResourceEndNode);
  EXPECT_EQ(NameAt(en1, snawire::kDirParentName), "NETA.NN1");
  EXPECT_EQ(snawire::GetU16(en1.data(), snawire::kDirParentType), snawire::kResourceNetworkNode);
  EXPECT_EQ(std::string(en1.begin() + snawire::kDirDescription, en1.begin() + snawire::kDirDescription + 14),
            "Payroll # host");
  EXPECT_EQ(en1[snawire::kDirEntryType], 2);  // registered by default
  EXPECT_EQ(en1[snawire::kDirLocation], 1);   // attached end node
  const std::vector<std::uint8_t>& lu1 = directory.entries[2];
  EXPECT_EQ(snawire::GetU16(lu1.data(), snawire::kDirResourceType), snawire::kResourceLu);
  EXPECT_EQ(snawire::GetU16(lu1.data(), snawire::kDirParentType), snawire::kResourceEndNode);
  EXPECT_EQ(lu1[snawire::kDirEntryType], 0);
  EXPECT_EQ(lu1[snawire::kDirDescription], 0);  // no description
  const std::vector<std::uint8_t>& nn1 = directory.entries[4];
  EXPECT_EQ(nn1[snawire::kDirParentName], 0);  // a network node's entry has no parent
  EXPECT_EQ(nn1[snawire::kDirEntryType], 0);
  EXPECT_EQ(nn1[snawire::kDirLocation], 2);
}

TEST(ListQuery, NamesTravelAsBlankPaddedEbcdic) {
  const std::vector<std::uint8_t> nn1 = {0xD5, 0xC5, 0xE3, 0xC1, 0x4B, 0xD5, 0xD5, 0xF1, 0x40,
                                         0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
  EXPECT_EQ(Bytes(EncodeName("NETA.NN1")), nn1);
  const std::vector<std::uint8_t> everyRun = {0xE9, 0xE9, 0x5B, 0x7B, 0x7C, 0x4B, 0xD1, 0xD9, 0xF0,
                                              0xF9, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40};
  EXPECT_EQ(Bytes(EncodeName("ZZ$#@.JR09")), everyRun);
}

}  // namespace
}  // namespace snanode::test
