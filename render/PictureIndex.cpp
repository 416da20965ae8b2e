#include "render/PictureIndex.h"

#include <algorithm>
#include <numeric>
#include <span>

#include "model/LuFold.h"
#include "render/PictureIndexBuild.h"
#include "render/PictureIndexFiling.h"

namespace mapvine {

namespace {

// Fewer shown nodes than one in this many is a neighbourhood: a frame then
// starts from them instead of from everything near the area.
constexpr std::size_t kFewShownShare = 16;

// Changes that reach more than one item in this many are read straight
// through, all of them.
constexpr std::size_t kWholeChangeShare = 8;

using picture_index::AreaOf;
using picture_index::LineOf;

// When `now` is `was` with one node taken out and put back elsewhere, each
// node's new number by its old one; otherwise nothing. Whatever lies
// between the two places moves up or down by one.
std::vector<int> OneNodeMoved(std::span<CNode* const> was, std::span<CNode* const> now) {
  std::size_t first = 0;
  while (first < was.size() && was[first] == now[first]) ++first;
  if (first == was.size()) {
    std::vector<int> same(was.size());
    std::iota(same.begin(), same.end(), 0);
    return same;
  }
  std::size_t last = was.size() - 1;
  while (was[last] == now[last]) --last;
  const auto same = [](std::span<CNode* const> a, std::span<CNode* const> b) {
    return std::equal(a.begin(), a.end(), b.begin());
  };
  const std::size_t span = last - first;
  std::vector<int> newId;
  if (now[first] == was[last] && same(now.subspan(first + 1, span), was.subspan(first, span))) {
    newId.resize(was.size());
    for (std::size_t id = first; id < last; ++id) newId[id] = static_cast<int>(id + 1);
    newId[last] = static_cast<int>(first);
  } else if (now[last] == was[first] && same(now.subspan(first, span), was.subspan(first + 1, span))) {
    newId.resize(was.size());
    for (std::size_t id = first + 1; id <= last; ++id) newId[id] = static_cast<int>(id - 1);
    newId[first] = static_cast<int>(last);
  } else {
    return {};
  }
  for (std::size_t id = 0; id < first; ++id) newId[id] = static_cast<int>(id);
  for (std::size_t id = last + 1; id < was.size(); ++id) newId[id] = static_cast<int>(id);
  return newId;
}

// Notes item `id` of `count` among the changed ones, once.
void MarkOnce(std::vector<int>& ids, std::vector<char>& marked, std::size_t count, int id) {
  if (marked.size() < count) marked.resize(count, 0);
  if (marked[static_cast<std::size_t>(id)] != 0) return;
  marked[static_cast<std::size_t>(id)] = 1;
  ids.push_back(id);
}

}  // namespace

void PictureIndex::AreaChanged(const Rect& area) {
  if (ChangedDuringBuild() || changed_.whole || !nodeGrid_) return;
  for (const int id : nodeGrid_->Query(area)) MarkNode(id);
  for (const int id : linkGrid_->Query(area)) MarkLink(id);
  ReadAllWhenMany();
}

void PictureIndex::NodesChanged(std::span<const CNode* const> nodes) {
  if (ChangedDuringBuild() || changed_.whole || !nodeGrid_) return;
  MarkNodes(nodes);
}

void PictureIndex::NodesShownChanged(std::span<const CNode* const> nodes) {
  if (ChangedDuringBuild() || changed_.whole || changed_.shown || !nodeGrid_) return;
  if (nodes.size() * kWholeChangeShare > nodes_.size()) {
    changed_.shown = true;
    return;
  }
  MarkNodes(nodes);
}

void PictureIndex::MarkNodes(std::span<const CNode* const> nodes) {
  for (const CNode* node : nodes) {
    // A node the index does not hold came since it was read: the list
    // changed, and the next use reads it whole anyway.
    if (const std::optional<int> id = looks_.IdOf(*node)) MarkNode(*id);
  }
  ReadAllWhenMany();
}

void PictureIndex::MarkNode(int id) { MarkOnce(changed_.nodes, changed_.nodeMarked, nodes_.size(), id); }
void PictureIndex::MarkLink(int id) { MarkOnce(changed_.links, changed_.linkMarked, links_.size(), id); }

void PictureIndex::ReadAllWhenMany() {
  if ((changed_.nodes.size() + changed_.links.size()) * kWholeChangeShare > nodes_.size() + links_.size()) {
    changed_.whole = true;
  }
}

bool PictureIndex::Prepare(Clock::time_point deadline) {
  // A small picture is read whole within a frame: there is nothing to gain
  // from spreading it, and a window shows it at its first paint.
  if (doc_.Nodes().size() + doc_.Links().size() < itemsReadAtOnce_) deadline = Clock::time_point::max();
  if (build_ && !BuildStillValid()) Forget();
  if (!build_) {
    if (!changed_.whole && !changed_.shown && changed_.nodes.empty() && changed_.links.empty()) return true;
    if (!StartBuild()) {
      RetakeWhatChanged();
      return true;
    }
  }
  if (!ContinueBuild(deadline)) return false;
  build_.reset();
  // What the document reported changed while the lists were read.
  if (!changed_.whole) return true;
  if (Clock::now() >= deadline) return false;
  RetakeWhatChanged();
  return true;
}

void PictureIndex::RetakeWhatChanged() {
  if (changed_.whole) {
    RetakeAll();
  } else {
    if (changed_.shown) {
      for (std::size_t id = 0; id < nodes_.size(); ++id) looks_.RetakeNode(static_cast<int>(id), nodeRects_[id]);
    }
    RetakeChanged();
  }
  ClearChanged();
}

void PictureIndex::ClearChanged() {
  changed_.whole = false;
  changed_.shown = false;
  for (const int id : changed_.nodes) changed_.nodeMarked[static_cast<std::size_t>(id)] = 0;
  for (const int id : changed_.links) changed_.linkMarked[static_cast<std::size_t>(id)] = 0;
  changed_.nodes.clear();
  changed_.links.clear();
}

bool PictureIndex::TakeNewOrder() {
  if (doc_.Nodes().OrderVersion() == nodeOrder_) return true;
  if (doc_.Nodes().size() != nodes_.size()) return false;
  // The same nodes in another order (a node lifted over its equals): the
  // index renumbers what it holds instead of reading every node again.
  std::vector<CNode*> order;
  order.reserve(nodes_.size());
  for (const auto& node : doc_.Nodes()) order.push_back(node.get());
  std::vector<int> newId = OneNodeMoved(nodes_, order);
  if (newId.empty()) {
    newId.assign(nodes_.size(), ItemLooks::kNone);
    for (std::size_t at = 0; at < order.size(); ++at) {
      const std::optional<int> was = order[at] == nodes_[at] ? std::optional(static_cast<int>(at))
                                                               : looks_.IdOf(*order[at]);
      if (!was || newId[static_cast<std::size_t>(*was)] != ItemLooks::kNone) return false;
      newId[static_cast<std::size_t>(*was)] = static_cast<int>(at);
    }
  }
  std::vector<Rect> rects(nodeRects_.size());
  for (std::size_t id = 0; id < newId.size(); ++id) {
    rects[static_cast<std::size_t>(newId[id])] = nodeRects_[id];
  }
  nodeRects_ = std::move(rects);
  nodes_ = std::move(order);
  nodeGrid_->Renumber(newId);
  looks_.Renumber(newId);
  // Nodes marked changed were marked by their old numbers.
  for (int& id : changed_.nodes) {
    changed_.nodeMarked[static_cast<std::size_t>(id)] = 0;
    id = newId[static_cast<std::size_t>(id)];
  }
  for (const int id : changed_.nodes) changed_.nodeMarked[static_cast<std::size_t>(id)] = 1;
  nodeOrder_ = doc_.Nodes().OrderVersion();
  return true;
}

void PictureIndex::RefileNode(int id) {
  const auto at = static_cast<std::size_t>(id);
  const Rect icon = nodes_[at]->GetRect();
  Rect& filed = nodeRects_[at];
  if (icon != filed) {
    nodeGrid_->MoveArea(id, AreaOf(filed), AreaOf(icon));
    filed = icon;
  }
}

void PictureIndex::RetakeLink(int id) {
  const auto at = static_cast<std::size_t>(id);
  const SpatialGrid::Line line = LineOf(*links_[at]);
  SpatialGrid::Line& filed = lines_[at];
  if (!(line == filed)) {
    linkGrid_->MoveLine(id, filed, line);
    filed = line;
  }
  looks_.RetakeLink(id);
}

void PictureIndex::RetakeAll() {
  for (std::size_t id = 0; id < nodes_.size(); ++id) {
    RefileNode(static_cast<int>(id));
    looks_.RetakeNode(static_cast<int>(id), nodeRects_[id]);
  }
  for (std::size_t id = 0; id < links_.size(); ++id) RetakeLink(static_cast<int>(id));
  looks_.Settle();
}

void PictureIndex::RetakeChanged() {
  // A node that moved or changed its looks takes its lines along; the
  // links at it are known by the ends they had.
  std::vector<int> links = changed_.links;
  changed_.linkMarked.resize(links_.size(), 0);
  for (const int id : changed_.nodes) {
    RefileNode(id);
    looks_.RetakeNode(id, nodeRects_[static_cast<std::size_t>(id)]);
    for (const int link : looks_.LinksAt(id)) {
      if (changed_.linkMarked[static_cast<std::size_t>(link)] == 0) links.push_back(link);
    }
  }
  std::sort(links.begin(), links.end());
  links.erase(std::unique(links.begin(), links.end()), links.end());
  for (const int id : links) RetakeLink(id);
  looks_.Settle();
}

std::vector<const CNode*> PictureIndex::NodesNear(const Rect& area) {
  Update();
  std::vector<const CNode*> near;
  for (const int id : nodeGrid_->Query(area)) near.push_back(nodes_[id]);
  return near;
}

ItemLooks& PictureIndex::Looks() {
  Update();
  return looks_;
}

bool PictureIndex::FewShown() const {
  return looks_.ShownNodes().size() * kFewShownShare < looks_.NodeCount();
}

std::vector<int> PictureIndex::ShownNodesNear(const Rect& area) {
  Update();
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
  Update();
  return nodeGrid_->Count(area);
}

std::vector<int> PictureIndex::ShownLinksNear(const Rect& area) {
  Update();
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
  Update();
  for (const int id : nodeGrid_->At(p)) {
    CNode* node = nodes_[id];
    if (node->hidden || FoldedAway(*node)) continue;
    if (node->HitTest(p.x, p.y) || OnFoldMark(*node, p)) return node;
  }
  return nullptr;
}

CLink* PictureIndex::LinkAt(Point p) {
  Update();
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
