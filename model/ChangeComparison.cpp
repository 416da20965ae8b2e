#include "model/ChangeComparison.h"

namespace mapvine {
namespace {

// What happened to one node or link; `before` is null for one the refresh
// added. Updates `stale`.
ChangeMark Judge(const void* before, int statusBefore, bool staleBefore, bool reported, int status,
                 bool heardEverything, bool& stale) {
  if (before == nullptr) return ChangeMark::New;
  if (reported) {
    stale = false;
    if (staleBefore) return ChangeMark::New;
  } else if (heardEverything) {
    stale = true;
    if (!staleBefore) return ChangeMark::Gone;
  }
  if (status == statusBefore) return ChangeMark::None;
  return status ? ChangeMark::WentActive : ChangeMark::WentInactive;
}

TopologyChange NodeChange(const CSprite& node, ChangeMark kind) {
  return {kind, false, node.fqName, {}, 0, node.label};
}

TopologyChange LinkChange(const CLink& link, ChangeMark kind) {
  // A link read from a file that found no end keeps only the names it stored.
  return {kind,
          true,
          link.endA ? link.endA->fqName : link.ownerName,
          link.endB ? link.endB->fqName : link.destinationName,
          link.tgNumber,
          link.endA ? link.endA->label : link.ownerName};
}

}  // namespace

PictureSnapshot::PictureSnapshot(const CMapvineDoc& doc) {
  nodes_.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) nodes_.push_back({node.get(), node->status, node->stale});
  links_.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) links_.push_back({link.get(), link->status, link->stale});
}

std::vector<TopologyChange> PictureSnapshot::Compare(CMapvineDoc& doc, bool heardEverything) const {
  std::vector<TopologyChange> changes;
  const int generation = doc.refreshGeneration;
  // A refresh only adds: a new node goes in among the others by depth, the
  // others keeping their order, so the nodes the snapshot lists come up in
  // its order and any other node is new.
  auto before = nodes_.begin();
  for (const auto& node : doc.Nodes()) {
    const bool known = before != nodes_.end() && before->item == node.get();
    const Before was = known ? *before++ : Before{nullptr, 0, false};
    const ChangeMark kind = Judge(was.item, was.status, was.stale,
                                  node->reportedGeneration == generation, node->status,
                                  heardEverything, node->stale);
    if (kind == ChangeMark::None) continue;
    node->changeMark = kind;
    changes.push_back(NodeChange(*node, kind));
  }
  // New links go at the end of the list.
  std::size_t index = 0;
  for (const auto& link : doc.Links()) {
    const Before was = index < links_.size() ? links_[index++] : Before{nullptr, 0, false};
    const ChangeMark kind = Judge(was.item, was.status, was.stale, link->generation == generation,
                                  link->status, heardEverything, link->stale);
    if (kind == ChangeMark::None) continue;
    link->changeMark = kind;
    changes.push_back(LinkChange(*link, kind));
  }
  SortChanges(changes);
  return changes;
}

void AcknowledgeChanges(CMapvineDoc& doc) {
  for (const auto& node : doc.Nodes()) node->changeMark = ChangeMark::None;
  for (const auto& link : doc.Links()) link->changeMark = ChangeMark::None;
}

}  // namespace mapvine
