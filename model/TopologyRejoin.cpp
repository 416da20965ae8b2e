#include "model/TopologyRejoin.h"

#include <string_view>
#include <unordered_map>
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
  // Every link against every node would be quadratic; one lookup per end
  // name gives the same ends and the same lists. The keys view the nodes'
  // own names, which do not change meanwhile.
  std::unordered_map<std::string_view, std::vector<CSprite*>, FoldedHash, FoldedEqual> byName;
  byName.reserve(nodes.size());
  for (const auto& node : nodes) {
    if (!node->fqName.empty()) byName[node->fqName].push_back(node.get());
  }
  auto carriers = [&byName](std::string_view name) -> const std::vector<CSprite*>* {
    if (name.empty()) return nullptr;
    const auto found = byName.find(name);
    return found == byName.end() ? nullptr : &found->second;
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    if (const auto* nodesA = carriers(link.endAName)) {
      for (CSprite* node : *nodesA) {
        link.endA = node;
        node->links.Add(&link);
      }
    }
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = FoldedEqual{}(link.endAName, link.endBName);
    if (const auto* nodesB = carriers(link.endBName)) {
      for (CSprite* node : *nodesB) {
        link.endB = node;
        if (!listedAlready) node->links.Add(&link);
      }
    }
  }
}

}  // namespace mapvine::topology
