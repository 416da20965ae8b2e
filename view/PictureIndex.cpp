#include "view/PictureIndex.h"

#include <algorithm>

#include "model/LuFold.h"

namespace mapvine {

namespace {

// Cells of this many pixels a side hold a few nodes each in a dense picture
// and keep a window-sized area to a few hundred cells.
constexpr int kCellSize = 256;
// A line's pen and hit tolerance reach this far beyond its ideal line.
constexpr int kLineReach = 6;

}  // namespace

void PictureIndex::Build() {
  stale_ = false;
  const int width = doc_.picture.composedWidth;
  const int height = doc_.picture.composedHeight;
  nodes_.clear();
  links_.clear();
  nodeGrid_.emplace(width, height, kCellSize);
  linkGrid_.emplace(width, height, kCellSize);
  for (const auto& node : doc_.Nodes()) {
    nodeGrid_->AddArea(static_cast<int>(nodes_.size()),
                       node->GetRect().Inflated(0, CSprite::kLabelBand));
    nodes_.push_back(node.get());
  }
  for (const auto& link : doc_.Links()) {
    // A link read from a file may carry a wider hit tolerance.
    const int reach = std::clamp(link->hitTolerance + kLineReach, kLineReach, kCellSize);
    linkGrid_->AddLine(static_cast<int>(links_.size()), {link->x1, link->y1},
                       {link->x2, link->y2}, reach);
    links_.push_back(link.get());
  }
}

bool PictureIndex::Lists(const CSprite* node) {
  if (stale_) Build();
  return std::find(nodes_.begin(), nodes_.end(), node) != nodes_.end();
}

std::vector<const CSprite*> PictureIndex::NodesNear(const Rect& area) {
  if (stale_) Build();
  std::vector<const CSprite*> near;
  for (const int id : nodeGrid_->Query(area)) near.push_back(nodes_[id]);
  return near;
}

std::vector<const CLink*> PictureIndex::LinksNear(const Rect& area) {
  if (stale_) Build();
  std::vector<const CLink*> near;
  for (const int id : linkGrid_->Query(area)) near.push_back(links_[id]);
  return near;
}

CSprite* PictureIndex::NodeAt(Point p) {
  if (stale_) Build();
  for (const int id : nodeGrid_->At(p)) {
    CSprite* node = nodes_[id];
    if (node->hidden || FoldedAway(*node)) continue;
    if (node->HitTest(p.x, p.y) || OnFoldMark(*node, p)) return node;
  }
  return nullptr;
}

CLink* PictureIndex::LinkAt(Point p) {
  if (stale_) Build();
  CLink* nearest = nullptr;
  double nearestDistance = 0;
  for (const int id : linkGrid_->At(p)) {
    CLink* link = links_[id];
    if (!link->Shown() || FoldedAway(*link)) continue;
    const auto distance = link->HitDistance(p.x, p.y);
    if (distance && (nearest == nullptr || *distance < nearestDistance)) {
      nearest = link;
      nearestDistance = *distance;
    }
  }
  return nearest;
}

}  // namespace mapvine
