#pragma once

// Where a frame that shows the picture at some zoom puts its nodes and
// links: the picture's own steps and what is drawn over it agree on it.
#include <QPoint>
#include <QRect>

#include <set>
#include <span>
#include <utility>

#include "model/LuFold.h"
#include "render/LuFolding.h"
#include "render/OverviewCanvas.h"
#include "render/OverviewRendering.h"

namespace mapvine {

// Whether nodes show as marks of a few pixels rather than as icons.
constexpr bool AsMarks(Detail detail) { return detail == Detail::Marks || detail == Detail::Folded; }

// A node as the frame shows it.
struct ShownNode {
  const CNode* node = nullptr;
  QRect box;         // its icon, scaled, or its mark
  FoldedLus folded;  // once LUs fold
};

// Where the frame shows a node that is drawn: its icon or its mark.
ShownNode Show(const CNode& node, const overview::Placement& at, Detail detail);
// The same for any node: an LU folded into its owner shows as the owner; a
// hidden node nowhere (a node of null and an empty box).
ShownNode ShownAs(const CNode& node, const overview::Placement& at, Detail detail);

// Calls `draw`(link, from, to) with the ends of each shown link as the
// frame shows them. Once LUs fold, a folded LU's links run from its owner,
// each pair of ends is drawn once, and a link inside one owner not at all.
template <typename Draw>
void ForEachShownLine(std::span<const CLink* const> links, bool folded,
                      const overview::Placement& at, Draw draw) {
  std::set<std::pair<const CNode*, const CNode*>> drawn;
  for (const CLink* link : links) {
    // Links of LUs their owner folds at every zoom are left out here too.
    if (!link->Shown() || (!folded && FoldedAway(*link))) continue;
    const CNode* a = link->endA;
    const CNode* b = link->endB;
    const CNode* ownerA = folded ? FoldOwner(*a) : nullptr;
    const CNode* ownerB = folded ? FoldOwner(*b) : nullptr;
    if (ownerA == nullptr && ownerB == nullptr) {
      draw(*link, at.At(link->x1, link->y1), at.At(link->x2, link->y2));
      continue;
    }
    if (ownerA != nullptr) a = ownerA;
    if (ownerB != nullptr) b = ownerB;
    if (a == b || !drawn.insert(std::minmax(a, b)).second) continue;
    draw(*link, at.CentreOf(*a), at.CentreOf(*b));
  }
}

}  // namespace mapvine
