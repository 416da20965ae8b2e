#pragma once

#include <string>
#include <vector>

#include "model/CLink.h"
#include "model/CNode.h"

namespace mapvine {

// How two nodes are connected: the shortest path between them, counted in
// links. A path over active links is preferred; when there is none, the
// shortest path over any links is kept so that the picture can show where
// the connection is broken.
struct Route {
  enum class Kind {
    Active,  // every link of the path is active
    Broken,  // no active path; `links` holds inactive ones
    None,    // no path at all; `nodes` and `links` are empty
  };
  Kind kind = Kind::None;
  // From the start node to the end node; `links[i]` joins `nodes[i]` and
  // `nodes[i + 1]`.
  std::vector<const CNode*> nodes;
  std::vector<const CLink*> links;

  int Hops() const { return static_cast<int>(links.size()); }
  int InactiveLinks() const;
  int HiddenNodes() const;
};

// The shortest route from `from` to `to` over the links the nodes list.
// Routes travel over TGs: an LU's or end node's link to its owner is only
// the first or last step, and only where no TG serves that LU or end node.
// Hidden nodes take part: they are still in the network. Ties are settled
// the same way every time: the path found first when every node's links are
// tried in the order the node lists them.
Route FindRoute(const CNode& from, const CNode& to);

// What the status bar says about a route, naming its ends by label.
std::string RouteSummary(const Route& route, const CNode& from, const CNode& to);

}  // namespace mapvine
