#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "protocol/Aping.h"
#include "protocol/SnaWire.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"

namespace mapvine {
namespace {

using Block = std::vector<std::uint8_t>;

// A node that keeps a copy of the block it was sent and answers with the
// given return code and timings.
struct ApingDouble {
  std::uint16_t primaryRc = 0;
  std::array<std::uint32_t, 4> times{};  // allocate, min, average, max
  Block sent;
  std::uint32_t sentLength = 0;

  SnaCtlFunction Function() {
    return [this](void* block, std::uint32_t length) {
      auto* bytes = static_cast<std::uint8_t*>(block);
      sent.assign(bytes, bytes + length);
      sentLength = length;
      snawire::PutU16(bytes, snawire::kPrimaryRc, primaryRc);
      snawire::PutU32(bytes, snawire::kApingAllocateTime, times[0]);
      snawire::PutU32(bytes, snawire::kApingMinTime, times[1]);
      snawire::PutU32(bytes, snawire::kApingAverageTime, times[2]);
      snawire::PutU32(bytes, snawire::kApingMaxTime, times[3]);
    };
  }
};

Block Ebcdic(std::initializer_list<std::uint8_t> bytes) { return Block(bytes); }

TEST(ApingNode, SendsTheFixedBlockWithTheUpperCasedPartner) {
  ApingDouble node;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ApingNode(node.Function(), "netA.nn1"), 1);
  ::testing::internal::GetCapturedStdout();

  ASSERT_EQ(node.sentLength, 308u);
  const Block& b = node.sent;
  EXPECT_EQ(snawire::GetU16(b.data(), 0), 0x2060);
  for (std::size_t i = 40; i < 48; ++i) EXPECT_EQ(b[i], 0x40) << i;
  EXPECT_EQ(Block(b.begin() + 48, b.begin() + 54), Ebcdic({0xC1, 0xD7, 0xC9, 0xD5, 0xC7, 0xC4}));
  for (std::size_t i = 54; i < 112; ++i) EXPECT_EQ(b[i], 0x40) << i;
  EXPECT_EQ(b[112], 0);
  EXPECT_EQ(snawire::GetU16(b.data(), 136), 100);
  EXPECT_EQ(snawire::GetU16(b.data(), 138), 2);
  // N E T A . N N 1 in EBCDIC, then blanks to 17 bytes.
  const Block partner = Ebcdic({0xD5, 0xC5, 0xE3, 0xC1, 0x4B, 0xD5, 0xD5, 0xF1, 0x40, 0x40, 0x40,
                                0x40, 0x40, 0x40, 0x40, 0x40, 0x40});
  EXPECT_EQ(Block(b.begin() + 140, b.begin() + 157), partner);
  EXPECT_EQ(b[157], 1);
  EXPECT_EQ(snawire::GetU16(b.data(), 158), 1);
  EXPECT_EQ(snawire::GetU16(b.data(), 176), 128);
  // Everything not listed is zero.
  for (std::size_t i : {2u, 3u, 113u, 135u, 178u, 200u, 307u}) EXPECT_EQ(b[i], 0) << i;
}

TEST(ApingNode, CutsLongPartnerNamesToTheField) {
  ApingDouble node;
  ::testing::internal::CaptureStdout();
  ApingNode(node.Function(), "NETWORKA.RESOURCEXYZ");
  ::testing::internal::GetCapturedStdout();
  // 17 characters fit; the 18th (offset 157) is the echo flag, untouched.
  EXPECT_NE(node.sent[156], 0x40);
  EXPECT_EQ(node.sent[157], 1);
}

TEST(ApingNode, PrintsTimingsAndRatesOfASuccessfulTest) {
  ApingDouble node;
  node.times = {12, 8, 16, 0};
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ApingNode(node.Function(), "NETA.NN1"), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Allocate time      = 12 msecs\n"
            "Min Send/Rcv  time = 8 msec, rate = 50 KB/sec\n"
            "Avg Send/Rcv  time = 16 msec, rate = 25 KB/sec\n");

  node.times = {3, 0, 0, 0};
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ApingNode(node.Function(), "NETA.NN1"), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Allocate time      = 3 msecs\n");
}

TEST(ApingNode, AnyFailureMeansUnreachableAndPrintsNothing) {
  ApingDouble node;
  node.primaryRc = 0x0300;
  node.times = {12, 8, 16, 20};
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ApingNode(node.Function(), "NETA.NN1"), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(ApingNode, AgainstTheSimulatedNode) {
  auto parsed = snanode::ParseNetwork(
      "nn NETA.NN1\n"
      "nn NETA.NN2\n"
      "aping NETA.NN2 fail 0x0300 0x05000000\n",
      "test");
  ASSERT_TRUE(parsed.network) << parsed.error;
  const snanode::SimulatedNode node(std::move(*parsed.network));
  const SnaCtlFunction call = [&node](void* block, std::uint32_t length) { node.Call(block, length); };
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ApingNode(call, "NETA.NN1"), 1);
  EXPECT_EQ(ApingNode(call, "neta.nn1"), 1);
  EXPECT_EQ(ApingNode(call, "NETA.NN2"), 0);
  EXPECT_EQ(ApingNode(call, "NETA.NOBODY"), 0);
  ::testing::internal::GetCapturedStdout();
}

}  // namespace
}  // namespace mapvine
