// The description format: what it accepts, and that every refusal names
// the file, the line and the reason.

#include <gtest/gtest.h>

#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

const Resource* FindResource(const Network& network, std::string_view name) {
  for (const Resource& resource : network.resources) {
    if (resource.name == name) return &resource;
  }
  return nullptr;
}

TEST(NetworkParser, ReadsEveryKindOfLine) {
  const Network network = ParseOrFail(
      "# a comment line\n"
      "\n"
      "node-state active\r\n"
      "nn NETA.NN1 congested irr-depleted err-depleted quiescing   # trailing comment\n"
      "nn NETA.NN2 border-node isr rtp-tower hpr cds gateway directory desc=\"Hub # 2\"\n"
      "\tcn NETA.CN1 congested\n"
      "lu NETA.LU1 parent=NETA.EN1 entry=local location=cross-domain\n"  // forward reference
      "en NETA.EN1 server=NETA.NN1\n"
      "en NETA.EN2\n"
      "tg NETA.NN1 NETA.NN2 0x15 operative cp-cp hpr rtp quiescing\n"
      "aping NETA.EN1 ok 1 2 3 4\n"
      "aping NETA.EN2 fail 0x0300 134217728\n");
  ASSERT_EQ(network.resources.size(), 6u);
  EXPECT_EQ(network.state, NodeState::Active);

  const Resource* nn1 = FindResource(network, "NETA.NN1");
  ASSERT_NE(nn1, nullptr);
  EXPECT_EQ(nn1->status, 0x80 | 0x40 | 0x20 | 0x04);
  EXPECT_FALSE(nn1->directory.present);
  const Resource* nn2 = FindResource(network, "NETA.NN2");
  ASSERT_NE(nn2, nullptr);
  EXPECT_EQ(nn2->functions, 0x40 | 0x20 | 0x10 | 0x08 | 0x04 | 0x02);
  EXPECT_TRUE(nn2->directory.present);
  EXPECT_EQ(nn2->directory.description, "Hub # 2");
  EXPECT_EQ(nn2->directory.entryType, EntryType::Local);
  EXPECT_EQ(FindResource(network, "NETA.CN1")->kind, ResourceKind::ConnectionNetwork);

  const Resource* lu1 = FindResource(network, "NETA.LU1");
  ASSERT_NE(lu1, nullptr);
  EXPECT_EQ(lu1->parent, "NETA.EN1");
  EXPECT_EQ(lu1->directory.entryType, EntryType::Local);
  EXPECT_EQ(lu1->directory.location, Location::CrossDomain);
  const Resource* en2 = FindResource(network, "NETA.EN2");
  ASSERT_NE(en2, nullptr);
  EXPECT_TRUE(en2->parent.empty());
  EXPECT_TRUE(en2->directory.present);
  EXPECT_EQ(en2->directory.location, Location::AttachedEndNode);

  ASSERT_EQ(network.tgs.size(), 1u);
  EXPECT_EQ(network.tgs[0].number, 21);
  EXPECT_EQ(network.tgs[0].status, 0x80 | 0x10 | 0x01 | 0x02 | 0x20);
  ASSERT_EQ(network.aping.size(), 2u);
  EXPECT_EQ(network.aping[0].outcome.maximumMs, 4u);
  EXPECT_FALSE(network.aping[1].outcome.answers);
  EXPECT_EQ(network.aping[1].outcome.secondary, 0x08000000u);
}

TEST(NetworkParser, EmptyTextIsAnEmptyNetwork) {
  const Network network = ParseOrFail("");
  EXPECT_TRUE(network.resources.empty());
  const SimulatedNode node(network);
  const QueryReply reply = Query(node, {});
  EXPECT_EQ(reply.primary, 0);
  EXPECT_EQ(reply.total, 0);
}

struct BadCase {
  const char* text;
  int line;
  const char* reason;  // a part of the message
};

const BadCase kBadDescriptions[] = {
    {"xx NETA.NN1\n", 1, "unknown statement 'xx'"},
    {"delay topology\n", 1, "delay takes topology, directory, tg-batch, lu-lookup or aping, then milliseconds"},
    {"delay aping 600001\n", 1, "'600001' is not a delay in ms from 0 to 600000"},
    {"hang aping 5\n", 1, "hang takes"},
    {"hang\n", 1, "hang takes"},
    {"nn NETA.X\naping NETA.X ok 1 1 1 1 delay=soon\n", 2, "'soon' is not a delay"},
    {"at 5 delay frob 1\n", 1, "delay takes"},
    {"nn\n", 1, "nn needs a name"},
    {"nn neta.nn1\n", 1, "invalid name 'neta.nn1'"},
    {"nn NETA\n", 1, "invalid name 'NETA'"},
    {"nn NETA.\n", 1, "invalid name"},
    {"nn .NN1\n", 1, "invalid name"},
    {"nn NETWORKAB.NN1\n", 1, "invalid name"},
    {"nn NETA.NODENAME9\n", 1, "invalid name"},
    {"nn NETA.NN-1\n", 1, "invalid name"},
    {"nn NETA.A.B\n", 1, "invalid name"},
    {"nn NETA.NN1\n\nnn NETA.NN1\n", 3, "duplicate name NETA.NN1 (first on line 1)"},
    {"nn NETA.X1\nlu NETA.X1 parent=NETA.X1\n", 2, "duplicate name"},
    {"nn NETA.NN1 fast\n", 1, "unknown word 'fast' for nn"},
    {"cn NETA.CN1 hpr\n", 1, "unknown word 'hpr' for cn"},
    {"cn NETA.CN1 desc=\"x\"\n", 1, "unknown word"},
    {"en NETA.EN1 congested\n", 1, "unknown word 'congested' for en"},
    {"nn NETA.NN1 desc=\"seventeen chars!!\"\n", 1, "longer than 16"},
    {"nn NETA.NN1 desc=\"open\n", 1, "unterminated quote"},
    {"nn NETA.NN1 entry=permanent\n", 1, "unknown entry type 'permanent'"},
    {"nn NETA.NN1 location=moon\n", 1, "unknown location 'moon'"},
    {"nn NETA.NN1 entry=local entry=cached\n", 1, "entry= given twice"},
    {"lu NETA.LU1\n", 1, "needs parent="},
    {"lu NETA.LU1 parent=bad\n", 1, "invalid name 'bad'"},
    {"nn NETA.NN1\n# c\nlu NETA.LU1 parent=NETA.EN9\n", 3, "parent NETA.EN9 of NETA.LU1 is not defined"},
    {"cn NETA.CN1\nlu NETA.LU1 parent=NETA.CN1\n", 2, "not a network or end node"},
    {"en NETA.EN1 server=NETA.NN9\n", 1, "server NETA.NN9 of NETA.EN1 is not defined"},
    {"en NETA.EN2\nen NETA.EN1 server=NETA.EN2\n", 2, "is not a network node"},
    {"nn NETA.NN1\ntg NETA.NN1 NETA.NN2 1\n", 2, "tg end NETA.NN2 is not defined"},
    {"nn NETA.NN1\nlu NETA.LU1 parent=NETA.NN1\ntg NETA.NN1 NETA.LU1 1\n", 3, "is an LU"},
    {"nn NETA.NN1\ntg NETA.NN1 NETA.NN1 1\n", 2, "to itself"},
    {"tg NETA.NN1 NETA.NN2\n", 1, "tg needs owner, destination and TG number"},
    {"tg NETA.NN1 NETA.NN2 0\n", 1, "TG number '0' is not 1 to 255"},
    {"tg NETA.NN1 NETA.NN2 256\n", 1, "is not 1 to 255"},
    {"tg NETA.NN1 NETA.NN2 2x\n", 1, "is not 1 to 255"},
    {"tg NETA.NN1 NETA.NN2 1 up\n", 1, "unknown word 'up' for tg"},
    {"tg NETA.A NETA.B 1\ntg NETA.A NETA.B 1 operative\n", 2, "duplicate tg NETA.A NETA.B 1 (first on line 1)"},
    {"aping NETA.NN1\n", 1, "aping needs a partner and ok or fail"},
    {"aping NETA.NN1 maybe\n", 1, "expects ok or fail"},
    {"aping NETA.NN1 ok 1 2 3\n", 1, "four times"},
    {"aping NETA.NN1 ok 1 2 x 4\n", 1, "'x' is not a time"},
    {"aping NETA.NN1 ok 1 5 3 4\n", 1, "min <= avg <= max"},
    {"aping NETA.NN1 fail 0 0\n", 1, "non-zero 16-bit primary"},
    {"aping NETA.NN1 fail 0x10000 0\n", 1, "non-zero 16-bit primary"},
    {"aping NETA.NN1 fail 0x0300 0x100000000\n", 1, "32-bit secondary"},
    {"aping NETA.NN1 fail 0x0300\n", 1, "a primary and a secondary"},
    {"aping NETA.A ok 1 1 1 1\naping NETA.A ok 2 2 2 2\n", 2, "repeated (first on line 1)"},
    {"node-state sleeping\n", 1, "unknown node-state 'sleeping'"},
    {"node-state\n", 1, "takes one word"},
    {"node-state active\nnode-state not-started\n", 2, "repeated (first on line 1)"},
    {"at NETA.NN1\n", 1, "at needs a time in seconds"},
    {"at 5 node-state active\n", 1, "at takes nn, en, cn, lu, node, tg, aping, remove, delay or hang"},
    {"nn NETA.NN1\nat 5 cn NETA.NN1\n", 2, "NETA.NN1 cannot change its kind"},
    {"at 9 remove NETA.NN1\nnn NETA.NN1\nat 3 remove NETA.NN1\n", 1, "NETA.NN1 is not present then"},
    {"nn NETA.NN1\nat 5 lu NETA.LU1 parent=NETA.EN1\nat 9 en NETA.EN1\n", 2, "parent NETA.EN1 of NETA.LU1 is not present"},
    {"nn NETA.NN1\nnn NETA.NN2\nat 5 remove NETA.NN2\nat 6 tg NETA.NN1 NETA.NN2 1\n", 4, "tg end NETA.NN2 is not present"},
    {"nn NETA.NN1\nnn NETA.NN2\nat 5 remove tg NETA.NN1 NETA.NN2 1\n", 3, "tg NETA.NN1 NETA.NN2 1 is not present"},
    {"repeat 0\n", 1, "at least 1"},
    {"fail tg-batch 0 0x0300 0\n", 1, "'0' is not a TG record number"},
    {"fail aping 0x0300 0\n", 1, "fail takes topology, directory, tg-batch N or lu-lookup NAME"},
    {"long-entries 513\n", 1, "1 to 512"},
    {"node NETA.LEN1\n", 1, "needs type="},
    {"node NETA.LEN1 type=4\n", 1, "other than 2 (nn) or 4 (cn)"},
    {"node NETA.LEN1 type=1\nlu NETA.LU1 parent=NETA.LEN1\n", 2, "not a network or end node"},
};

TEST(NetworkParser, EveryRefusalNamesFileLineAndReason) {
  for (const BadCase& bad : kBadDescriptions) {
    const ParseResult result = ParseNetwork(bad.text, "bad.net");
    EXPECT_FALSE(result.network.has_value()) << bad.text;
    const std::string prefix = "bad.net:" + std::to_string(bad.line) + ": ";
    EXPECT_EQ(result.error.rfind(prefix, 0), 0u) << result.error;
    EXPECT_NE(result.error.find(bad.reason), std::string::npos) << result.error;
  }
}

TEST(NetworkParser, TheEarliestDanglingReferenceIsReported) {
  const ParseResult result = ParseNetwork(
      "nn NETA.NN1\n"
      "tg NETA.NN1 NETA.NN8 1\n"
      "lu NETA.LU1 parent=NETA.NN9\n",
      "refs.net");
  EXPECT_EQ(result.error, "refs.net:2: tg end NETA.NN8 is not defined");
}

// Each list's total travels as 16 bits: a description whose list would hold
// one entry more than that is refused at the line that overflows it.
TEST(NetworkParser, ListsBeyond65535EntriesAreRefused) {
  const struct {
    const char* statement;
    const char* list;
    std::uint16_t opcode;
  } cases[] = {{"cn NETA.C", "node list", snawire::kOpNodeTopologyQuery},
               {"en NETA.E", "directory", snawire::kOpDirectoryQuery}};
  for (const auto& c : cases) {
    std::string text;
    for (std::size_t i = 0; i < kMaxListEntries; ++i) text += c.statement + std::to_string(i) + "\n";
    const ParseResult full = ParseNetwork(text, "big.net");
    ASSERT_TRUE(full.network.has_value()) << full.error;
    EXPECT_EQ(Query(SimulatedNode(*full.network), {.opcode = c.opcode, .entryCount = 1}).total, 65535);
    text += std::string(c.statement) + "X\n";
    const ParseResult over = ParseNetwork(text, "big.net");
    EXPECT_FALSE(over.network.has_value());
    EXPECT_EQ(over.error, "big.net:65536: the " + std::string(c.list) + " would exceed 65535 entries");
  }
}

}  // namespace
}  // namespace snanode::test
