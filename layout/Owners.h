#pragma once

#include <vector>

#include "layout/ArrangeGraph.h"

namespace mapvine {

// The node each node is placed around: an LU's owner (the first node it is
// linked with that is not an LU), an end node's network-node server (the
// first network node or connection network it is linked with). -1 for the
// backbone: network nodes, connection networks, and end nodes and LUs that
// have no such owner. An owner is never placed around another node's
// owner's owner, so the nesting is at most two deep.
std::vector<int> FindOwners(const ArrangeGraph& graph);

// For each node, the nodes placed around it, in the graph's order.
std::vector<std::vector<int>> OwnedNodes(const std::vector<int>& owners);

}  // namespace mapvine
