#include "snanode/NetworkGenerator.h"

#include <algorithm>
#include <random>
#include <unordered_map>

#include "snanode/NetworkParser.h"

namespace snanode {
namespace {

constexpr std::uint8_t kBackboneTgNumber = 21;
constexpr std::uint8_t kFirstParallelTgNumber = 22;
constexpr std::size_t kNetworkNodesPerConnectionNetwork = 2;

struct Plan {
  std::size_t networkNodes = 0;
  std::size_t connectionNetworks = 0;
  std::size_t endNodes = 0;
  std::size_t lus = 0;
  std::size_t extraBackboneTgs = 0;  // beyond the spanning tree
  // The first connection networks each join the two ends of one backbone
  // tree edge in place of a direct TG, so that they cost no extra TG.
  bool connectionNetworksInTree = false;
  bool endNodeTgs = true;
};

std::size_t ConnectionNetworkTgs(const Plan& plan) {
  return plan.connectionNetworks * std::min(plan.networkNodes, kNetworkNodesPerConnectionNetwork);
}

Plan MakePlan(std::size_t resources) {
  Plan plan;
  if (resources == 0) return plan;
  plan.networkNodes = std::max<std::size_t>(1, resources / 10);
  plan.connectionNetworks = resources / 100;
  plan.endNodes = resources * 15 / 100;
  plan.lus = resources * 45 / 100;
  const std::size_t requiredTgs = (plan.networkNodes - 1) + plan.endNodes + ConnectionNetworkTgs(plan);
  const std::size_t used =
      plan.networkNodes + plan.connectionNetworks + plan.endNodes + plan.lus + requiredTgs;
  if (used > resources) {
    plan.lus -= std::min(plan.lus, used - resources);
  } else if (plan.networkNodes >= 2) {
    plan.extraBackboneTgs = resources - used;
  } else {
    plan.lus += resources - used;  // one network node: no pair for another TG
  }
  return plan;
}

Plan MakeLargestPlan() {
  Plan plan;
  plan.connectionNetworks = kMaxListEntries / 100;
  plan.networkNodes = kMaxListEntries - plan.connectionNetworks;
  plan.endNodes = kMaxListEntries / 4;
  plan.lus = kMaxListEntries - plan.endNodes;
  plan.connectionNetworksInTree = true;
  plan.endNodeTgs = false;
  // The tree's edges, connection networks counted twice, fill all but one
  // slot of the TG list.
  plan.extraBackboneTgs = kMaxListEntries - (plan.networkNodes - 1 + plan.connectionNetworks);
  return plan;
}

class TextGenerator {
 public:
  TextGenerator(const Plan& plan, std::uint32_t seed) : plan_(plan), random_(seed) {}

  std::string Generate() {
    text_ += "# Synthetic network from snanode-gen\n";
    for (std::size_t i = 0; i < plan_.networkNodes; ++i) NetworkNode(i);
    for (std::size_t i = 0; i < plan_.connectionNetworks; ++i) text_ += "cn " + Name("CN", i) + "\n";
    for (std::size_t i = 0; i < plan_.endNodes; ++i) EndNode(i);
    for (std::size_t i = 0; i < plan_.lus; ++i) LogicalUnit(i);
    Backbone();
    if (!plan_.connectionNetworksInTree) {
      for (std::size_t i = 0; i < plan_.connectionNetworks; ++i) JoinConnectionNetwork(i);
    }
    for (std::size_t i = 0; plan_.endNodeTgs && i < plan_.endNodes; ++i) {
      Tg(Name("NN", servers_[i]), Name("EN", i), 1, Chance(97) ? "operative cp-cp" : "");
    }
    Aping();
    return std::move(text_);
  }

 private:
  // mt19937's output sequence is fixed by the standard; the distributions
  // are not, so draws are reduced by hand.
  std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(random_() % bound); }
  bool Chance(unsigned percent) { return Below(100) < percent; }

  static std::string Name(const char* prefix, std::size_t index) {
    std::string digits = std::to_string(index + 1);
    digits.insert(0, digits.size() < 5 ? 5 - digits.size() : 0, '0');
    return std::string("NETG.") + prefix + digits;
  }

  void NetworkNode(std::size_t index) {
    text_ += "nn " + Name("NN", index) + " isr";
    if (Chance(70)) text_ += Chance(80) ? " hpr rtp-tower" : " hpr";
    if (Chance(1)) text_ += " border-node";
    if (Chance(2)) text_ += " cds";
    if (Chance(1)) text_ += " gateway";
    if (Chance(5)) text_ += " congested";
    if (Chance(2)) text_ += " quiescing";
    text_ += "\n";
  }

  void EndNode(std::size_t index) {
    servers_.push_back(Below(plan_.networkNodes));
    text_ += "en " + Name("EN", index) + " server=" + Name("NN", servers_.back()) + "\n";
  }

  void LogicalUnit(std::size_t index) {
    const bool onEndNode = plan_.endNodes > 0 && Chance(85);
    const std::string parent =
        onEndNode ? Name("EN", Below(plan_.endNodes)) : Name("NN", Below(plan_.networkNodes));
    text_ += "lu " + Name("LU", index) + " parent=" + parent + (onEndNode ? "\n" : " entry=local\n");
  }

  // A spanning tree keeps the backbone connected; further TGs between
  // random pairs add meshes and parallel TGs.
  void Backbone() {
    for (std::size_t i = 1; i < plan_.networkNodes; ++i) {
      const std::size_t parent = Below(i);
      if (plan_.connectionNetworksInTree && i <= plan_.connectionNetworks) {
        Tg(Name("NN", parent), Name("CN", i - 1), 1, "operative");
        Tg(Name("NN", i), Name("CN", i - 1), 1, "operative");
        continue;
      }
      Tg(Name("NN", parent), Name("NN", i), kBackboneTgNumber, Chance(95) ? "operative cp-cp hpr" : "");
    }
    std::unordered_map<std::uint64_t, unsigned> parallel;
    for (std::size_t added = 0; added < plan_.extraBackboneTgs;) {
      const std::size_t owner = Below(plan_.networkNodes);
      const std::size_t destination = Below(plan_.networkNodes);
      if (owner == destination) continue;
      unsigned& count = parallel[static_cast<std::uint64_t>(owner) * plan_.networkNodes + destination];
      if (kFirstParallelTgNumber + count > 255) continue;
      const auto number = static_cast<std::uint8_t>(kFirstParallelTgNumber + count++);
      Tg(Name("NN", owner), Name("NN", destination), number, Chance(90) ? "operative hpr rtp" : "quiescing");
      ++added;
    }
  }

  void JoinConnectionNetwork(std::size_t index) {
    const std::size_t first = Below(plan_.networkNodes);
    const std::size_t links = std::min(plan_.networkNodes, kNetworkNodesPerConnectionNetwork);
    for (std::size_t k = 0; k < links; ++k) {
      Tg(Name("NN", (first + k) % plan_.networkNodes), Name("CN", index), 1, "operative");
    }
  }

  void Aping() {
    for (std::size_t i = 0; i < plan_.endNodes; ++i) {
      if (Chance(2)) text_ += "aping " + Name("EN", i) + " fail 0x0300 0x05000000\n";
    }
  }

  void Tg(const std::string& owner, const std::string& destination, unsigned number, const char* status) {
    text_ += "tg " + owner + " " + destination + " " + std::to_string(number);
    if (*status != '\0') text_ += std::string(" ") + status;
    text_ += "\n";
  }

  Plan plan_;
  std::mt19937 random_;
  std::vector<std::size_t> servers_;  // network-node server of each end node
  std::string text_;
};

Network ParsedNetwork(const std::string& text) {
  ParseResult parsed = ParseNetwork(text, "snanode-gen");
  return parsed.network ? std::move(*parsed.network) : Network{};
}

}  // namespace

std::string GenerateNetworkText(std::size_t resources, std::uint32_t seed) {
  return TextGenerator(MakePlan(std::min(resources, kMaxGeneratedResources)), seed).Generate();
}

std::string GenerateLargestNetworkText(std::uint32_t seed) { return TextGenerator(MakeLargestPlan(), seed).Generate(); }

Network GenerateNetwork(std::size_t resources, std::uint32_t seed) {
  return ParsedNetwork(GenerateNetworkText(resources, seed));
}

Network GenerateLargestNetwork(std::uint32_t seed) { return ParsedNetwork(GenerateLargestNetworkText(seed)); }

}  // namespace snanode
