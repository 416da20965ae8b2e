// Malformed calls and a node that is not running: the node answers with a
// return code, never writes outside what it was given, never crashes.

#include <gtest/gtest.h>

#include <memory>

#include "snanode/LiveNode.h"
#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

constexpr std::string_view kNetwork = R"(
nn NETA.NN1
en NETA.EN1 server=NETA.NN1
lu NETA.LU1 parent=NETA.EN1
tg NETA.NN1 NETA.EN1 1 operative
)";

constexpr std::uint16_t kQueries[] = {snawire::kOpNodeTopologyQuery, snawire::kOpTgTopologyQuery,
                                      snawire::kOpDirectoryQuery, snawire::kOpDirectoryLuQuery};
constexpr std::uint16_t kVerbs[] = {snawire::kOpNodeTopologyQuery, snawire::kOpTgTopologyQuery,
                                    snawire::kOpDirectoryQuery, snawire::kOpDirectoryLuQuery, snawire::kOpAping};

// Nothing to answer into; the node stays as it was and answers the next
// block as ever, the library's node as much as the bare one.
TEST(VerbErrors, NullBlockIsIgnored) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  LiveNode live("");
  for (const std::uint32_t length : {std::uint32_t{0}, snawire::kApingLength}) {
    node.Call(nullptr, length);
    live.Call(nullptr, length);
  }
  for (const auto& reply : {Query(node, {.opcode = snawire::kOpNodeTopologyQuery, .entryCount = 1}),
                            Query(live, {.opcode = snawire::kOpNodeTopologyQuery, .entryCount = 1})}) {
    EXPECT_EQ(reply.primary, snawire::kRcOk);
    EXPECT_GT(reply.total, 0);
  }
}

TEST(VerbErrors, BlocksTooShortForAnyHeaderGetAtMostAPrimaryCode) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (std::uint32_t length = 0; length < 12; ++length) {
    GuardedBytes block(length);
    if (length >= 2) snawire::PutU16(block.Data(), snawire::kOpcode, snawire::kOpNodeTopologyQuery);
    node.Call(block.Data(), length);
    EXPECT_TRUE(block.GuardsIntact()) << length;
    if (length < 6) {
      EXPECT_TRUE(block.UntouchedFrom(length)) << length;
    } else {
      EXPECT_EQ(snawire::GetU16(block.Data(), snawire::kPrimaryRc), snawire::kRcParameterCheck) << length;
    }
  }
}

// Each verb's block exactly one byte short, allocated at that size so that
// a sanitizer build catches any read past it.
TEST(VerbErrors, BlockShorterThanItsVerbIsAParameterCheck) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  GuardedBytes buffer(4096);
  for (const std::uint16_t opcode : kVerbs) {
    const std::uint32_t length = BlockLength(opcode) - 1;
    auto block = std::make_unique<std::uint8_t[]>(length);
    std::fill(block.get(), block.get() + length, std::uint8_t{0});
    snawire::PutU16(block.get(), snawire::kOpcode, opcode);
    snawire::StoreBufferAddress(block.get(), buffer.Data());
    snawire::PutU32(block.get(), snawire::kBufferSize, 4096);
    block[snawire::kListOptions] = snawire::kListFromStart;
    node.Call(block.get(), length);
    EXPECT_EQ(snawire::GetU16(block.get(), snawire::kPrimaryRc), snawire::kRcParameterCheck) << opcode;
    EXPECT_EQ(snawire::GetU32(block.get(), snawire::kSecondaryRc), kRcPipLenIncorrect) << opcode;
  }
  EXPECT_TRUE(std::all_of(buffer.Data(), buffer.Data() + 4096, [](std::uint8_t b) { return b == 0; }));
}

TEST(VerbErrors, ListOptionsOtherThanTheThreeAreRefused) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (const std::uint16_t opcode : kQueries) {
    for (const std::uint8_t options : {0x00, 0x01, 0x10, 0x19, 0x15, 0xFF}) {
      const QueryReply reply = Query(node, {.opcode = opcode, .options = options});
      EXPECT_EQ(reply.primary, snawire::kRcParameterCheck);
      EXPECT_EQ(reply.secondary, kRcInvalidListOption);
      EXPECT_EQ(reply.entryCount, 0);
    }
  }
}

TEST(VerbErrors, QueriesWithoutABufferAreRefused) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (const std::uint16_t opcode : kQueries) {
    EXPECT_EQ(Query(node, {.opcode = opcode, .bufferSize = 0}).secondary, kRcInvalidBtuSize);
    GuardedBytes block(BlockLength(opcode));
    snawire::PutU16(block.Data(), snawire::kOpcode, opcode);
    snawire::PutU32(block.Data(), snawire::kBufferSize, 4096);  // but a null address
    block.Data()[snawire::kListOptions] = snawire::kListFromStart;
    node.Call(block.Data(), static_cast<std::uint32_t>(block.Size()));
    EXPECT_EQ(snawire::GetU16(block.Data(), snawire::kPrimaryRc), snawire::kRcParameterCheck);
    EXPECT_EQ(snawire::GetU32(block.Data(), snawire::kSecondaryRc), kRcInvalidBtuSize);
    EXPECT_TRUE(block.GuardsIntact());
  }
}

TEST(VerbErrors, UnknownOpcodesAreInvalidVerbs) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (const std::uint16_t opcode : {0x0000, 0x2107, 0x210E, 0x2061, 0xFFFF}) {
    GuardedBytes block(400);
    snawire::PutU16(block.Data(), snawire::kOpcode, static_cast<std::uint16_t>(opcode));
    node.Call(block.Data(), 400);
    EXPECT_EQ(snawire::GetU16(block.Data(), snawire::kPrimaryRc), snawire::kRcInvalidVerb) << opcode;
    EXPECT_TRUE(block.GuardsIntact());
  }
}

// The directive picks the failure; the buffer is never touched.
TEST(VerbErrors, NodeThatIsNotRunningFailsEveryVerb) {
  const struct {
    const char* directive;
    std::uint16_t primary;
    std::uint32_t secondary;
  } cases[] = {
      {"node-state not-started\n", snawire::kRcParameterCheck, snawire::kRcNodeNotStarted},
      {"node-state not-loaded\n", snawire::kRcCommSubsystemNotLoaded, 0},
  };
  for (const auto& c : cases) {
    const SimulatedNode node(ParseOrFail(std::string(c.directive) + std::string(kNetwork)));
    for (const std::uint16_t opcode : kVerbs) {
      GuardedBytes block(BlockLength(opcode));
      GuardedBytes buffer(1024);
      snawire::PutU16(block.Data(), snawire::kOpcode, opcode);
      snawire::StoreBufferAddress(block.Data(), buffer.Data());
      snawire::PutU32(block.Data(), snawire::kBufferSize, 1024);
      block.Data()[snawire::kListOptions] = snawire::kListFromStart;
      if (opcode == snawire::kOpAping) {
        const WireName partner = EncodeName("NETA.NN1");
        std::copy(partner.begin(), partner.end(), block.Data() + snawire::kApingPartner);
      }
      node.Call(block.Data(), static_cast<std::uint32_t>(block.Size()));
      EXPECT_EQ(snawire::GetU16(block.Data(), snawire::kPrimaryRc), c.primary) << c.directive << opcode;
      EXPECT_EQ(snawire::GetU32(block.Data(), snawire::kSecondaryRc), c.secondary);
      EXPECT_EQ(snawire::GetU16(block.Data(), snawire::kTotalEntries), 0);
      EXPECT_TRUE(std::all_of(buffer.Data(), buffer.Data() + 1024, [](std::uint8_t b) { return b == 0; }));
      EXPECT_TRUE(buffer.GuardsIntact());
    }
  }
}

TEST(VerbErrors, FailingNodeAnswersItsCodes) {
  const SimulatedNode node = SimulatedNode::Failing(snawire::kRcUnsuccessful, 0x12345678);
  for (const std::uint16_t opcode : kQueries) {
    const QueryReply reply = Query(node, {.opcode = opcode});
    EXPECT_EQ(reply.primary, snawire::kRcUnsuccessful);
    EXPECT_EQ(reply.secondary, 0x12345678u);
  }
}

}  // namespace
}  // namespace snanode::test
