#include "render/PictureIndex.h"

#include <algorithm>

#include "model/LuFold.h"

namespace mapvine {

namespace {

// Fewer shown nodes than one in this many is a neighbourhood: a frame then
// starts from them instead of from everything near the area.
constexpr std::size_t kFewShownShare = 16;

// Cells of this many pixels a side hold a few nodes each in a dense picture
// and keep a window-sized area to a few hundred cells.
constexpr int kCellSize = 256;
// A line's pen and hit tolerance reach this far beyond its ideal line.
constexpr int kLineReach = 6;

// A node is filed with its label's band.
Rect AreaOf(const Rect& icon) { return icon.Inflated(0, CNode::kLabelBand); }

SpatialGrid::Line LineOf(const CLink& link) {
  // A link read from a file may carry a wider hit tolerance.
  const int reach = std::clamp(link.hitTolerance + kLineReach, kLineReach, kCellSize);
  return {{link.x1, link.y1}, {link.x2, link.y2}, reach};
}

}  // namespace

void PictureIndex::Build() {
  stale_ = false;
  const bool sameCanvas = nodeGrid_ && width_ == doc_.picture.composedWidth &&
                          height_ == doc_.picture.composedHeight;
  width_ = doc_.picture.composedWidth;
  height_ = doc_.picture.composedHeight;
  const bool sameNodes = sameCanvas && RefileMovedNodes();
  if (!sameNodes) BuildNodes();
  if (!sameCanvas || !RefileMovedLinks()) BuildLinks();
  looks_.Take(nodes_, nodeRects_, links_, sameNodes);
}

void PictureIndex::BuildNodes() {
  nodes_.clear();
  nodeRects_.clear();
  nodeGrid_.emplace(width_, height_, kCellSize);
  nodeOrder_ = doc_.Nodes().OrderVersion();
  for (const auto& node : doc_.Nodes()) {
    nodeRects_.push_back(node->GetRect());
    nodeGrid_->AddArea(static_cast<int>(nodes_.size()), AreaOf(nodeRects_.back()));
    nodes_.push_back(node.get());
  }
}

void PictureIndex::BuildLinks() {
  links_.clear();
  lines_.clear();
  linkGrid_.emplace(width_, height_, kCellSize);
  for (const auto& link : doc_.Links()) {
    lines_.push_back(LineOf(*link));
    const SpatialGrid::Line& line = lines_.back();
    linkGrid_->AddLine(static_cast<int>(links_.size()), line.from, line.to, line.reach);
    links_.push_back(link.get());
  }
}

bool PictureIndex::RefileMovedNodes() {
  // The list's own order is a walk from node to node; the copy of it is
  // read straight through.
  if (doc_.Nodes().OrderVersion() != nodeOrder_) return false;
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    const Rect icon = nodes_[id]->GetRect();
    Rect& filed = nodeRects_[id];
    if (icon != filed) {
      nodeGrid_->MoveArea(static_cast<int>(id), AreaOf(filed), AreaOf(icon));
      filed = icon;
    }
  }
  return true;
}

bool PictureIndex::RefileMovedLinks() {
  if (doc_.Links().size() != links_.size()) return false;
  std::size_t id = 0;
  for (const auto& link : doc_.Links()) {
    if (link.get() != links_[id]) return false;
    const SpatialGrid::Line line = LineOf(*link);
    SpatialGrid::Line& filed = lines_[id];
    if (!(line == filed)) {
      linkGrid_->MoveLine(static_cast<int>(id), filed, line);
      filed = line;
    }
    ++id;
  }
  return true;
}

std::vector<const CNode*> PictureIndex::NodesNear(const Rect& area) {
  if (stale_) Build();
  std::vector<const CNode*> near;
  for (const int id : nodeGrid_->Query(area)) near.push_back(nodes_[id]);
  return near;
}

std::vector<const CLink*> PictureIndex::LinksNear(const Rect& area) {
  if (stale_) Build();
  std::vector<const CLink*> near;
  for (const int id : linkGrid_->Query(area)) near.push_back(links_[id]);
  return near;
}

ItemLooks& PictureIndex::Looks() {
  if (stale_) Build();
  return looks_;
}

bool PictureIndex::FewShown() const {
  return looks_.ShownNodes().size() * kFewShownShare < looks_.NodeCount();
}

std::vector<int> PictureIndex::ShownNodesNear(const Rect& area) {
  if (stale_) Build();
  std::vector<int> near;
  if (FewShown()) {
    for (const int id : looks_.ShownNodes()) {
      if (nodeGrid_->Meets(AreaOf(nodeRects_[static_cast<std::size_t>(id)]), area)) near.push_back(id);
    }
    return near;
  }
  for (const int id : nodeGrid_->Query(area)) {
    if (looks_.Shown(id)) near.push_back(id);
  }
  return near;
}

std::size_t PictureIndex::NodeCountNear(const Rect& area) {
  if (stale_) Build();
  return nodeGrid_->Count(area);
}

std::vector<int> PictureIndex::ShownLinksNear(const Rect& area) {
  if (stale_) Build();
  std::vector<int> near;
  if (FewShown()) {
    for (const int node : looks_.ShownNodes()) {
      for (const int id : looks_.LinksAt(node)) {
        if (looks_.Link(id).shown && linkGrid_->Meets(lines_[static_cast<std::size_t>(id)], area)) {
          near.push_back(id);
        }
      }
    }
    // A link between two shown nodes was met at both.
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    return near;
  }
  for (const int id : linkGrid_->Query(area)) {
    if (looks_.Link(id).shown) near.push_back(id);
  }
  return near;
}

CNode* PictureIndex::NodeAt(Point p) {
  if (stale_) Build();
  for (const int id : nodeGrid_->At(p)) {
    CNode* node = nodes_[id];
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
