#pragma once

// Where a frame that shows the picture at some zoom puts its nodes and
// links: the picture's own steps and what is drawn over it agree on it.
// Nodes and links are named by their numbers in the picture index, whose
// looks (ItemLooks.h) tell all a frame needs of them.
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "model/HashSlots.h"
#include "render/ItemLooks.h"
#include "render/LuFolding.h"
#include "render/OverviewCanvas.h"
#include "render/OverviewRendering.h"

namespace mapvine {

// Whether nodes show as marks of a few pixels rather than as icons.
constexpr bool AsMarks(Detail detail) { return detail == Detail::Marks || detail == Detail::Folded; }

// A node as the frame shows it.
struct ShownNode {
  int id = ItemLooks::kNone;
  const ItemLooks::NodeLook* look = nullptr;
  QRect box;         // its icon, scaled, or its mark
  FoldedLus folded;  // once LUs fold
};

// Where the frame shows a node that is drawn: its icon or its mark.
ShownNode Show(ItemLooks& looks, int node, const overview::Placement& at, Detail detail);
// The same for any node: an LU folded into its owner shows as the owner; a
// hidden node nowhere (no look and an empty box).
ShownNode ShownAs(ItemLooks& looks, int node, const overview::Placement& at, Detail detail);
ShownNode ShownAs(ItemLooks& looks, const CNode& node, const overview::Placement& at, Detail detail);

inline QPoint FramePointOf(const overview::Placement& at, Point p) { return at.At(p.x, p.y); }

// Calls `draw`(link's look, from, to) with the ends of each shown link as
// the frame shows them. Once LUs fold, a folded LU's links run from its
// owner, each pair of ends is drawn once, and a link inside one owner not
// at all.
template <typename Draw>
void ForEachShownLine(const ItemLooks& looks, std::span<const int> links, bool folded,
                      const overview::Placement& at, Draw draw) {
  // Pairs of ends already drawn, as the two numbers in one key.
  struct DrawnPair {
    std::uint64_t ends = 0;
  };
  HashSlots<DrawnPair> drawn;
  for (const int id : links) {
    // Links of LUs their owner folds at every zoom are left out here too.
    const ItemLooks::LinkLook& link = looks.Link(id);
    if (!link.shown || (!folded && link.foldedAway)) continue;
    const int ownerA = folded ? link.foldA : ItemLooks::kNone;
    const int ownerB = folded ? link.foldB : ItemLooks::kNone;
    if (ownerA == ItemLooks::kNone && ownerB == ItemLooks::kNone) {
      draw(link, FramePointOf(at, link.from), FramePointOf(at, link.to));
      continue;
    }
    const int a = ownerA != ItemLooks::kNone ? ownerA : link.endA;
    const int b = ownerB != ItemLooks::kNone ? ownerB : link.endB;
    if (a == b) continue;
    const std::uint64_t ends = (std::uint64_t(std::min(a, b)) << 32) | std::uint32_t(std::max(a, b));
    const auto [pair, added] = drawn.FindOrAdd(ends, [ends](const DrawnPair& p) { return p.ends == ends; });
    if (!added) continue;
    pair->ends = ends;
    draw(link, FramePointOf(at, looks.Node(a).centre), FramePointOf(at, looks.Node(b).centre));
  }
}

// The route's or any few links as numbers into `looks`.
std::vector<int> IdsOf(const ItemLooks& looks, std::span<const CLink* const> links);

}  // namespace mapvine
