#include "layout/PlaceNearNeighbours.h"

#include <algorithm>
#include <unordered_set>

#include "graphics/CDIBLayout.h"
#include "model/CLink.h"
#include "layout/Arrange.h"
#include "layout/CellGrid.h"

namespace mapvine {
namespace {

Point CellOf(const CNode& node, int side) {
  return CellUnder({node.GetX(), node.GetY()}, side, node.GetWidth(), node.GetHeight());
}

}  // namespace

int PlaceNearNeighbours(CMapvineDoc& doc, std::size_t placedBefore) {
  const auto arrivals = doc.NodesByArrival();
  if (!doc.arranged || !doc.placeNewNearNeighbours || placedBefore >= arrivals.size()) return 0;
  int side = doc.placement.gridSpacing;
  {
    ArrangeGraph sizes;
    sizes.spacing = side;
    for (const CNode* node : arrivals) sizes.nodes.push_back({0, node->GetWidth(), node->GetHeight(), {}, false});
    side = CellSide(sizes);
  }
  CellGrid grid(static_cast<int>(dib::kMaxSide) / side - 1);
  std::unordered_set<const CNode*> placed;
  for (std::size_t i = 0; i < placedBefore; ++i) {
    grid.TakeTouched(arrivals[i]->GetRect(), side);
    placed.insert(arrivals[i]);
  }
  int moved = 0;
  Point extent{doc.picture.composedWidth, doc.picture.composedHeight};
  doc.BatchStarts();
  for (std::size_t i = placedBefore; i < arrivals.size(); ++i) {
    CNode& node = *arrivals[i];
    Point wanted = CellOf(node, side);
    for (const CLink* link : node.links) {
      const CNode* other = link->endA == &node ? link->endB : link->endA;
      if (other != nullptr && other != &node && placed.contains(other)) {
        wanted = CellOf(*other, side);
        break;
      }
    }
    const Point at = CornerInCell(grid.TakeNearest(wanted), side, node.GetWidth(), node.GetHeight());
    placed.insert(&node);
    if (at == Point{node.GetX(), node.GetY()}) continue;
    node.SetPosition(at.x, at.y);
    extent = {std::max(extent.x, at.x + node.GetWidth() + side / 2),
              std::max(extent.y, at.y + node.GetHeight() + CNode::kLabelBand + side / 2)};
    ++moved;
  }
  if (extent.x != doc.picture.composedWidth || extent.y != doc.picture.composedHeight) {
    doc.ComposeBackground(nullptr, doc.picture.backgroundMode, extent.x, extent.y);
  }
  if (moved > 0) doc.SetModified(true);
  doc.BatchEnds();
  return moved;
}

}  // namespace mapvine
