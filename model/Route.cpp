#include "model/Route.h"

#include <algorithm>
#include <memory_resource>
#include <unordered_map>

namespace mapvine {

namespace {

// The node at the other end of `link` from `node`; null for a link that is
// not (yet) joined at both ends or that leads back to the node itself.
const CNode* OtherEnd(const CLink& link, const CNode& node) {
  if (link.endA == nullptr || link.endB == nullptr || link.endA == link.endB) return nullptr;
  if (link.endA == &node) return link.endB;
  if (link.endB == &node) return link.endA;
  return nullptr;
}

bool IsLeafKind(const CNode* node) {
  return node != nullptr && (node->nodeType == LogicalUnit || node->nodeType == EndNode);
}

// An LU's or end node's link to its owner (what the directory reports: no
// TG record, TG number 0) is where the resource is known, not a path data
// takes. Answers that LU or end node, or null for a TG or a link between
// two other nodes.
const CNode* OwnedEnd(const CLink& link) {
  if (link.tgRecord != nullptr || link.tgNumber != 0) return nullptr;
  if (link.endA != nullptr && link.endA->nodeType == LogicalUnit) return link.endA;
  if (link.endB != nullptr && link.endB->nodeType == LogicalUnit) return link.endB;
  if (IsLeafKind(link.endA)) return link.endA;
  if (IsLeafKind(link.endB)) return link.endB;
  return nullptr;
}

bool HasTg(const CNode& node) {
  return std::any_of(node.links.begin(), node.links.end(),
                     [](const CLink* link) { return OwnedEnd(*link) == nullptr; });
}

// Routes travel over TGs. An owner link may only be the first or the last
// step, from or to the resource it names, and only where no TG serves it.
bool MayStep(const CLink& link, const CNode& from, const CNode& to) {
  const CNode* owned = OwnedEnd(link);
  return owned == nullptr || ((owned == &from || owned == &to) && !HasTg(*owned));
}

// Breadth first, so the first time `to` is reached is over fewest links;
// each node remembers the link it was first reached by. Only the nodes
// reached are recorded, so a route between near nodes of a large picture
// costs little.
Route Search(const CNode& from, const CNode& to, bool activeOnly) {
  // A search across a large picture records tens of thousands of nodes:
  // their entries come from one arena, freed at once.
  std::pmr::monotonic_buffer_resource arena;
  std::pmr::unordered_map<const CNode*, const CLink*> reachedBy(&arena);
  reachedBy.emplace(&from, nullptr);
  std::pmr::vector<const CNode*> frontier({&from}, &arena);
  for (std::size_t next = 0; next < frontier.size() && !reachedBy.contains(&to); ++next) {
    const CNode& node = *frontier[next];
    for (const CLink* link : node.links) {
      if (activeOnly && !IsActive(link->status)) continue;
      if (!MayStep(*link, from, to)) continue;
      const CNode* neighbour = OtherEnd(*link, node);
      if (neighbour == nullptr || !reachedBy.try_emplace(neighbour, link).second) continue;
      frontier.push_back(neighbour);
      if (neighbour == &to) break;
    }
  }
  Route route;
  if (!reachedBy.contains(&to)) return route;
  route.kind = activeOnly ? Route::Kind::Active : Route::Kind::Broken;
  for (const CNode* node = &to; node != &from;) {
    const CLink* link = reachedBy.at(node);
    route.nodes.push_back(node);
    route.links.push_back(link);
    node = OtherEnd(*link, *node);
  }
  route.nodes.push_back(&from);
  std::reverse(route.nodes.begin(), route.nodes.end());
  std::reverse(route.links.begin(), route.links.end());
  return route;
}

std::string Plural(int count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

int Route::InactiveLinks() const {
  return static_cast<int>(std::count_if(links.begin(), links.end(),
                                        [](const CLink* link) { return !IsActive(link->status); }));
}

int Route::HiddenNodes() const {
  return static_cast<int>(std::count_if(nodes.begin(), nodes.end(),
                                        [](const CNode* node) { return node->hidden; }));
}

Route FindRoute(const CNode& from, const CNode& to) {
  Route route = Search(from, to, true);
  if (route.kind == Route::Kind::None) route = Search(from, to, false);
  return route;
}

std::string RouteSummary(const Route& route, const CNode& from, const CNode& to) {
  const std::string ends = from.label + " to " + to.label;
  std::string text;
  switch (route.kind) {
    case Route::Kind::None:
      return "No route from " + ends;
    case Route::Kind::Active:
      text = "Route from " + ends + ": " + Plural(route.Hops(), "hop");
      break;
    case Route::Kind::Broken:
      text = "No active route from " + ends + "; broken route shown: " +
             Plural(route.Hops(), "hop") + ", " + std::to_string(route.InactiveLinks()) +
             " inactive";
      break;
  }
  if (const int hidden = route.HiddenNodes(); hidden > 0) {
    text += " (through " + Plural(hidden, "hidden node") + ")";
  }
  return text;
}

}  // namespace mapvine
