#include "model/Neighbourhood.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "model/CLink.h"
#include "model/NodeVisibility.h"

namespace mapvine {
namespace {

// 71000 as "71,000".
std::string WithThousands(int value) {
  const std::string digits = std::to_string(value);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

}  // namespace

std::vector<CNode*> NodesWithin(CNode& centre, int hops) {
  std::vector<CNode*> found{&centre};
  std::unordered_set<const CNode*> seen{&centre};
  std::size_t ringStart = 0;
  for (int hop = 0; hop < hops && ringStart < found.size(); ++hop) {
    const std::size_t ringEnd = found.size();
    for (std::size_t i = ringStart; i < ringEnd; ++i) {
      for (const CLink* link : found[i]->links) {
        for (CNode* end : {link->endA, link->endB}) {
          if (end != nullptr && seen.insert(end).second) found.push_back(end);
        }
      }
    }
    ringStart = ringEnd;
  }
  return found;
}

int ShowNeighbourhood(CMapvineDoc& doc, CNode& centre, int hops) {
  const std::vector<CNode*> shown = NodesWithin(centre, std::clamp(hops, kMinNeighbourhoodHops, kMaxNeighbourhoodHops));
  const std::unordered_set<const CNode*> inside(shown.begin(), shown.end());
  // The nodes by arrival, not in drawing order: a hundred thousand of them
  // are read one after another from an array rather than through a list.
  VisibilityChange change(doc);
  change.SetEach(doc.NodesByArrival(), [&inside](const CNode& node) { return !inside.contains(&node); });
  change.Finish();
  return static_cast<int>(shown.size());
}

std::string NeighbourhoodText(int shown, int total, int hops, std::string_view centre) {
  return "Showing " + WithThousands(shown) + " of " + WithThousands(total) + " nodes within " +
         std::to_string(hops) + (hops == 1 ? " hop of " : " hops of ") + std::string(centre);
}

int ShowAllNodes(CMapvineDoc& doc) {
  VisibilityChange change(doc);
  change.SetEach(doc.NodesByArrival(), [](const CNode&) { return false; });
  return change.Finish();
}

}  // namespace mapvine
