#include "model/TopologyRejoin.h"

#include <algorithm>
#include <compare>
#include <string_view>
#include <tuple>
#include <vector>

namespace mapvine::topology {
namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compared and hashed ignoring letter case, without folded copies.
struct FoldedHash {
  std::size_t operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(Folded(c))) * 1099511628211ull;
    return hash;
  }
};

struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (Folded(a[i]) != Folded(b[i])) return false;
    }
    return true;
  }
};

}  // namespace

void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links) {
  // Every link against every node would be quadratic. The nodes sorted by
  // the hash of their folded name (list order within one hash) give each
  // end name its carriers in list order, as that scan would meet them,
  // without an allocation per name.
  struct Carrier {
    std::size_t hash;
    std::size_t position;
    CSprite* node;
    auto operator<=>(const Carrier& other) const {
      return std::tie(hash, position) <=> std::tie(other.hash, other.position);
    }
  };
  std::vector<Carrier> byHash;
  byHash.reserve(nodes.size());
  for (const auto& node : nodes) {
    if (!node->fqName.empty())
      byHash.push_back({FoldedHash{}(node->fqName), byHash.size(), node.get()});
  }
  std::sort(byHash.begin(), byHash.end());
  auto forEachCarrier = [&byHash](std::string_view name, auto&& visit) {
    if (name.empty()) return;
    const std::size_t hash = FoldedHash{}(name);
    auto it = std::lower_bound(byHash.begin(), byHash.end(), hash,
                               [](const Carrier& c, std::size_t h) { return c.hash < h; });
    for (; it != byHash.end() && it->hash == hash; ++it) {
      if (FoldedEqual{}(it->node->fqName, name)) visit(it->node);
    }
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    forEachCarrier(link.endAName, [&link](CSprite* node) {
      link.endA = node;
      node->links.Add(&link);
    });
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = FoldedEqual{}(link.endAName, link.endBName);
    forEachCarrier(link.endBName, [&link, listedAlready](CSprite* node) {
      link.endB = node;
      if (!listedAlready) node->links.Add(&link);
    });
  }
}

}  // namespace mapvine::topology
