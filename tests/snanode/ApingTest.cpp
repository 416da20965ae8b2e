// APING: configured outcomes, defaults for described resources, unknown
// partners.

#include <gtest/gtest.h>

#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

constexpr std::string_view kNetwork = R"(
nn NETA.NN1
en NETA.EN1 server=NETA.NN1
lu NETA.LU1 parent=NETA.EN1
lu NETA.LU2 parent=NETA.EN1
aping NETA.EN1 ok 12 3 5 9
aping NETA.LU2 fail 0x0300 0x05000000
aping NETB.FAR ok 70 30 35 50
)";

struct ApingReply {
  std::uint16_t primary;
  std::uint32_t secondary;
  std::uint32_t times[4];  // allocate, min, avg, max
};

ApingReply Aping(const SimulatedNode& node, const std::vector<std::uint8_t>& partner) {
  GuardedBytes block(snawire::kApingLength);
  snawire::PutU16(block.Data(), snawire::kOpcode, snawire::kOpAping);
  std::copy(partner.begin(), partner.end(), block.Data() + snawire::kApingPartner);
  node.Call(block.Data(), snawire::kApingLength);
  EXPECT_TRUE(block.GuardsIntact());
  const std::uint8_t* b = block.Data();
  return {snawire::GetU16(b, snawire::kPrimaryRc),
          snawire::GetU32(b, snawire::kSecondaryRc),
          {snawire::GetU32(b, snawire::kApingAllocateTime), snawire::GetU32(b, snawire::kApingMinTime),
           snawire::GetU32(b, snawire::kApingAverageTime), snawire::GetU32(b, snawire::kApingMaxTime)}};
}

ApingReply Aping(const SimulatedNode& node, std::string_view partner) {
  return Aping(node, Bytes(EncodeName(partner)));
}

TEST(Aping, ConfiguredPartnersAnswerAsDescribed) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  const ApingReply en1 = Aping(node, "NETA.EN1");
  EXPECT_EQ(en1.primary, 0);
  EXPECT_EQ(en1.secondary, 0u);
  EXPECT_EQ(std::vector<std::uint32_t>(en1.times, en1.times + 4), (std::vector<std::uint32_t>{12, 3, 5, 9}));

  const ApingReply lu2 = Aping(node, "NETA.LU2");
  EXPECT_EQ(lu2.primary, snawire::kRcAllocationError);
  EXPECT_EQ(lu2.secondary, 0x05000000u);
  EXPECT_EQ(lu2.times[0], 0u);

  // A partner beyond the described network, reachable through it.
  EXPECT_EQ(Aping(node, "NETB.FAR").times[0], 70u);
}

TEST(Aping, DescribedResourcesWithoutALineAnswerWithSmallStableTimes) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (const char* name : {"NETA.NN1", "NETA.LU1"}) {
    const ApingReply reply = Aping(node, name);
    EXPECT_EQ(reply.primary, 0) << name;
    EXPECT_GT(reply.times[0], 0u);
    EXPECT_LT(reply.times[0], 100u);
    EXPECT_GT(reply.times[1], 0u);
    EXPECT_LE(reply.times[1], reply.times[2]);
    EXPECT_LE(reply.times[2], reply.times[3]);
    EXPECT_LT(reply.times[3], 100u);
    const ApingReply again = Aping(node, name);
    EXPECT_EQ(std::vector<std::uint32_t>(again.times, again.times + 4),
              std::vector<std::uint32_t>(reply.times, reply.times + 4));
  }
}

TEST(Aping, UnknownOrMissingPartnersFail) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  for (const char* name : {"NETA.NN2", "NETC.NN1", "NETA.EN"}) {
    const ApingReply reply = Aping(node, name);
    EXPECT_EQ(reply.primary, snawire::kRcAllocationError) << name;
    EXPECT_EQ(reply.secondary, kRcAllocationFailureNoRetry);
  }
  const ApingReply empty = Aping(node, std::vector<std::uint8_t>(17, 0));
  EXPECT_EQ(empty.primary, snawire::kRcParameterCheck);
  EXPECT_EQ(empty.secondary, kRcInvalidFqLuName);
}

TEST(Aping, ZeroPaddedPartnerNamesTheSamePartner) {
  const SimulatedNode node(ParseOrFail(kNetwork));
  std::vector<std::uint8_t> partner = Bytes(EncodeName("NETA.EN1"));
  std::fill(partner.begin() + 8, partner.end(), std::uint8_t{0});
  EXPECT_EQ(Aping(node, partner).times[0], 12u);
}

}  // namespace
}  // namespace snanode::test
