// The compiled-in sample: the same text as resources/sample.net, and the
// believable network the README promises.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "snanode/SampleNetwork.h"
#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

TEST(SampleNetwork, IsTheShippedFile) {
  std::ifstream file(MAPVINE_SOURCE_DIR "/resources/sample.net", std::ios::binary);
  ASSERT_TRUE(file.good());
  std::ostringstream text;
  text << file.rdbuf();
  EXPECT_EQ(SampleNetworkText(), text.str());
}

TEST(SampleNetwork, HasThePromisedShape) {
  const Network network = ParseOrFail(SampleNetworkText());
  std::map<ResourceKind, int> kinds;
  bool congested = false;
  for (const Resource& r : network.resources) {
    ++kinds[r.kind];
    congested |= (r.status & snawire::kNodeCongested) != 0;
  }
  EXPECT_EQ(kinds[ResourceKind::NetworkNode], 6);
  EXPECT_EQ(kinds[ResourceKind::ConnectionNetwork], 2);
  EXPECT_EQ(kinds[ResourceKind::EndNode], 8);
  EXPECT_EQ(kinds[ResourceKind::LogicalUnit], 20);
  EXPECT_TRUE(congested);

  std::map<std::set<std::string>, std::set<int>> numbersByPair;
  int inoperative = 0;
  for (const TransmissionGroup& tg : network.tgs) {
    numbersByPair[{tg.owner, tg.destination}].insert(tg.number);
    inoperative += (tg.status & snawire::kTgOperative) == 0;
  }
  bool parallel = false;
  for (const auto& [pair, numbers] : numbersByPair) parallel |= numbers.size() > 1;
  EXPECT_TRUE(parallel);
  EXPECT_GE(inoperative, 1);

  int failing = 0;
  for (const ApingRule& rule : network.aping) failing += !rule.outcome.answers;
  EXPECT_GE(failing, 2);
  EXPECT_EQ(network.state, NodeState::Active);
}

}  // namespace
}  // namespace snanode::test
