#pragma once

// The parts of the overview's drawing that its picture steps
// (OverviewRendering.cpp) and its overlay steps (OverviewOverlays.cpp) share.
#include <QPainter>

#include <algorithm>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "model/LuFold.h"
#include "render/LuFolding.h"
#include "render/OverviewCanvas.h"
#include "render/OverviewRendering.h"

namespace mapvine {

// What one drawing of an area of the frame works with.
struct OverviewRenderer::Scene {
  const overview::Pixels& px;
  overview::Placement at;
  Detail detail;
  const FrameColors& colors;
  QPainter& painter;
  bool AsMarks() const { return detail == Detail::Marks || detail == Detail::Folded; }
  bool Folded() const { return detail == Detail::Folded; }
};

// A node as the frame shows it.
struct OverviewRenderer::ShownNode {
  const CNode* node = nullptr;
  QRect box;  // its scaled icon or its mark
  FoldedLus folded;  // once LUs fold
};

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

// A link's status colour, green or red.
QRgb StatusColor(const CLink& link);
// Each shown link's line in its status colour.
void DrawStatusLines(std::span<const CLink* const> links, bool folded, const overview::Pixels& px,
                     const overview::Placement& at);

}  // namespace mapvine
