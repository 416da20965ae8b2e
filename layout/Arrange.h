#pragma once

#include <optional>

#include "layout/ArrangeGraph.h"

namespace mapvine {

// Lays the picture out by its connections: the backbone (network nodes,
// connection networks and whatever has no owner) by Graphviz's sfdp, then
// around each backbone node its LUs and end nodes, each end node followed by
// its own LUs, in rings of grid cells. Every node gets a cell of its own, so
// no icons or labels overlap; pinned nodes keep their places and the rest
// are laid out around them. The same graph gives the same arrangement.
// Runs on any thread; none when stopped or when the backbone layout failed.
std::optional<Arrangement> ComputeArrangement(const ArrangeGraph& graph, ArrangeProgress& progress);

// The side of a cell: the grid spacing, or more when an icon with its label
// would not fit.
int CellSide(const ArrangeGraph& graph);

}  // namespace mapvine
