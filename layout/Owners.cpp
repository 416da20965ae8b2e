#include "layout/Owners.h"

#include "model/NodeRecords.h"

namespace mapvine {
namespace {

bool IsBackboneKind(int kind) { return kind != EndNode && kind != LogicalUnit; }

// Whether `candidate` may own a node of `kind`.
bool CanOwn(int kind, int candidateKind) {
  if (kind == LogicalUnit) return candidateKind != LogicalUnit;
  if (kind == EndNode) return candidateKind == NetworkNode || candidateKind == ConnectionNetwork;
  return false;
}

}  // namespace

std::vector<int> FindOwners(const ArrangeGraph& graph) {
  const auto count = graph.nodes.size();
  std::vector<int> owners(count, -1);
  for (const auto& [a, b] : graph.links) {
    if (a == b) continue;
    for (const auto& [node, other] : {std::pair{a, b}, std::pair{b, a}}) {
      const int kind = graph.nodes[node].kind;
      if (owners[node] < 0 && !IsBackboneKind(kind) && CanOwn(kind, graph.nodes[other].kind)) {
        owners[node] = other;
      }
    }
  }
  return owners;
}

std::vector<std::vector<int>> OwnedNodes(const std::vector<int>& owners) {
  std::vector<std::vector<int>> owned(owners.size());
  for (std::size_t i = 0; i < owners.size(); ++i) {
    if (owners[i] >= 0) owned[owners[i]].push_back(static_cast<int>(i));
  }
  return owned;
}

}  // namespace mapvine
