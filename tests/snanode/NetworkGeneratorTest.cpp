// Synthetic networks: reproducible, exactly the size asked for, spread over
// the kinds, connected, and within the node's list limits.

#include <gtest/gtest.h>

#include <map>
#include <numeric>

#include "snanode/NetworkGenerator.h"
#include "tests/snanode/VerbCall.h"

namespace snanode::test {
namespace {

struct Census {
  std::map<ResourceKind, std::size_t> kinds;
  std::size_t tgs = 0;
  std::size_t Resources() const {
    std::size_t sum = tgs;
    for (const auto& [kind, count] : kinds) sum += count;
    return sum;
  }
  std::size_t Of(ResourceKind kind) const { return kinds.count(kind) ? kinds.at(kind) : 0; }
};

Census Count(const Network& network) {
  Census census;
  for (const Resource& resource : network.resources) ++census.kinds[resource.kind];
  census.tgs = network.tgs.size();
  return census;
}

TEST(NetworkGenerator, SameSeedSameTextOtherSeedOtherText) {
  EXPECT_EQ(GenerateNetworkText(500, 42), GenerateNetworkText(500, 42));
  EXPECT_NE(GenerateNetworkText(500, 42), GenerateNetworkText(500, 43));
}

TEST(NetworkGenerator, ProducesExactlyTheResourcesAskedFor) {
  for (const std::size_t size : {0, 1, 2, 3, 5, 7, 10, 37, 100, 999, 5000}) {
    const ParseResult parsed = ParseNetwork(GenerateNetworkText(size, 7), "gen");
    ASSERT_TRUE(parsed.network.has_value()) << size << ": " << parsed.error;
    EXPECT_EQ(Count(*parsed.network).Resources(), size);
    if (size > 0) {
      EXPECT_GE(Count(*parsed.network).Of(ResourceKind::NetworkNode), 1u);
    }
  }
}

std::size_t Root(std::vector<std::size_t>& parent, std::size_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// Network nodes and connection networks form one connected backbone; the
// TGs that leave it are returned as destination -> owner.
std::map<std::string, std::string> ExpectConnectedBackbone(const Network& network) {
  std::map<std::string, std::size_t> index;
  for (const Resource& r : network.resources) {
    if (r.kind == ResourceKind::NetworkNode || r.kind == ResourceKind::ConnectionNetwork) {
      index.emplace(r.name, index.size());
    }
  }
  std::vector<std::size_t> parent(index.size());
  std::iota(parent.begin(), parent.end(), std::size_t{0});
  std::map<std::string, std::string> attachedTo;
  for (const TransmissionGroup& tg : network.tgs) {
    if (index.count(tg.owner) && index.count(tg.destination)) {
      parent[Root(parent, index[tg.owner])] = Root(parent, index[tg.destination]);
    } else {
      attachedTo[tg.destination] = tg.owner;
    }
  }
  const std::size_t root = Root(parent, 0);
  for (std::size_t i = 0; i < parent.size(); ++i) EXPECT_EQ(Root(parent, i), root) << i;
  return attachedTo;
}

std::uint16_t ListTotal(const SimulatedNode& node, std::uint16_t opcode) {
  const QueryReply reply = Query(node, {.opcode = opcode, .entryCount = 1});
  EXPECT_EQ(reply.primary, 0);
  return reply.total;
}

TEST(NetworkGenerator, LargeNetworksAreSpreadConnectedAndWithinListLimits) {
  const Network network = GenerateNetwork(kMaxGeneratedResources, 2024);
  const Census census = Count(network);
  ASSERT_EQ(census.Resources(), kMaxGeneratedResources);
  const auto share = [&](std::size_t count) { return 100.0 * static_cast<double>(count) / kMaxGeneratedResources; };
  EXPECT_NEAR(share(census.Of(ResourceKind::NetworkNode)), 10, 2);
  EXPECT_NEAR(share(census.Of(ResourceKind::EndNode)), 15, 3);
  EXPECT_NEAR(share(census.Of(ResourceKind::LogicalUnit)), 45, 5);
  EXPECT_GE(census.Of(ResourceKind::ConnectionNetwork), 1u);
  EXPECT_NEAR(share(census.tgs), 29, 5);

  // Every end node hangs off its server by a TG.
  std::map<std::string, std::string> attachedTo = ExpectConnectedBackbone(network);
  for (const Resource& r : network.resources) {
    if (r.kind == ResourceKind::EndNode) {
      EXPECT_EQ(attachedTo[r.name], r.parent) << r.name;
    }
  }

  // Every list fits its 16-bit total, as the node reports it.
  const SimulatedNode node(network);
  EXPECT_GT(ListTotal(node, snawire::kOpNodeTopologyQuery), 0);
  EXPECT_GT(ListTotal(node, snawire::kOpTgTopologyQuery), 0);
  EXPECT_EQ(ListTotal(node, snawire::kOpDirectoryQuery),
            census.Of(ResourceKind::EndNode) + census.Of(ResourceKind::LogicalUnit));
}

TEST(NetworkGenerator, TheLargestNetworkFillsEveryListAndStaysConnected) {
  const Network network = GenerateLargestNetwork(5);
  // End nodes reach their servers through the directory alone: every TG
  // slot holds the backbone.
  EXPECT_TRUE(ExpectConnectedBackbone(network).empty());
  const SimulatedNode node(network);
  for (const std::uint16_t opcode : {snawire::kOpNodeTopologyQuery, snawire::kOpTgTopologyQuery,
                                     snawire::kOpDirectoryQuery}) {
    EXPECT_EQ(ListTotal(node, opcode), kMaxListEntries) << opcode;
  }
}

TEST(NetworkGenerator, RequestsBeyondTheLimitAreGeneratedAtTheLimit) {
  EXPECT_EQ(GenerateNetworkText(kMaxGeneratedResources + 1, 3), GenerateNetworkText(kMaxGeneratedResources, 3));
}

}  // namespace
}  // namespace snanode::test
