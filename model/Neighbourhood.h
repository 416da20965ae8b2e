#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/CNode.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The hops a neighbourhood may reach.
inline constexpr int kMinNeighbourhoodHops = 1;
inline constexpr int kMaxNeighbourhoodHops = 5;

// The nodes within `hops` links (TGs and owner links alike) of `centre`,
// hidden or not, in breadth-first order from the centre itself.
std::vector<CNode*> NodesWithin(CNode& centre, int hops);

// Shows exactly the nodes within `hops` of `centre` and hides every other
// one. Answers how many nodes are shown.
int ShowNeighbourhood(CMapvineDoc& doc, CNode& centre, int hops);

// "Showing 23 of 71,000 nodes within 2 hops of NN1".
std::string NeighbourhoodText(int shown, int total, int hops, std::string_view centre);

// Shows every node of the picture. Answers how many nodes were hidden
// before.
int ShowAllNodes(CMapvineDoc& doc);

}  // namespace mapvine
