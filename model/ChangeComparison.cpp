#include "model/ChangeComparison.h"

namespace mapvine {
namespace {

// Each node and link lives in a heap block of its own, rarely in the cache
// on a large network: fetching a few ahead overlaps their trips to memory,
// which otherwise cost more than the refresh pass's own work.
constexpr std::size_t kFetchAhead = 16;

// Calls `visit` on every node or link of `items` in order, fetching ahead
// the cache line of its status (the change-tracking fields sit beside it).
template <typename Items, typename Visit>
void VisitFetchingAhead(const Items& items, Visit visit) {
  const auto first = items.begin();
  const std::size_t count = items.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i + kFetchAhead < count) __builtin_prefetch(&first[i + kFetchAhead]->status);
    visit(*first[i]);
  }
}

// What happened to one node or link the snapshot held (`known`) or the
// refresh added. Updates `stale`. What a person added and no refresh has
// reported was never the network's, so it cannot go.
ChangeMark Judge(bool known, ResourceStatus statusBefore, bool staleBefore, bool reported,
                 ResourceStatus status, bool heardEverything, bool addedByHand, bool& stale) {
  if (!known) return ChangeMark::New;
  if (reported) {
    stale = false;
    if (staleBefore) return ChangeMark::New;
  } else if (heardEverything && !addedByHand) {
    stale = true;
    if (!staleBefore) return ChangeMark::Gone;
  }
  if (status == statusBefore) return ChangeMark::None;
  return IsActive(status) ? ChangeMark::WentActive : ChangeMark::WentInactive;
}

TopologyChange NodeChange(const CNode& node, ChangeMark kind) {
  return {kind, false, node.fqName, {}, 0};
}

TopologyChange LinkChange(const CLink& link, ChangeMark kind) {
  // A link read from a file that found no end keeps only the names it stored.
  return {kind,
          true,
          link.endA ? link.endA->fqName : link.ownerName,
          link.endB ? link.endB->fqName : link.destinationName,
          link.tgNumber};
}

}  // namespace

PictureSnapshot::PictureSnapshot(const CMapvineDoc& doc) : hadBaseline_(doc.HasBaseline()) {
  nodes_.reserve(doc.Nodes().size());
  VisitFetchingAhead(doc.NodesByArrival(), [this](const CNode& node) {
    nodes_.push_back({node.status, node.stale});
  });
  links_.reserve(doc.Links().size());
  VisitFetchingAhead(doc.Links(), [this](const CLink& link) {
    links_.push_back({link.status, link.stale});
  });
}

ChangeList PictureSnapshot::Compare(CMapvineDoc& doc, bool heardEverything, ChangedLooks* looks) const {
  ChangeList list;
  std::vector<TopologyChange> changes;
  list.baseline = !hadBaseline_;
  // Without a baseline the walk still brings `stale` up to date.
  const int generation = doc.RefreshGeneration();
  // A refresh only adds, and what it adds comes after what the snapshot
  // holds, in the same order.
  std::size_t index = 0;
  VisitFetchingAhead(doc.NodesByArrival(), [&](CNode& node) {
    const bool known = index < nodes_.size();
    const Before was = known ? nodes_[index++] : Before{};
    const ChangeMark kind = Judge(known, was.status, was.stale,
                                  node.reportedGeneration == generation, node.status,
                                  heardEverything, node.addedByHand, node.stale);
    const bool marked = !list.baseline && kind != ChangeMark::None;
    // A node's status shows in its image, whose every change was told
    // already.
    if (looks && (!known || node.stale != was.stale || (marked && node.changeMark != kind))) {
      looks->nodes.push_back(&node);
    }
    if (!marked) return;
    node.changeMark = kind;
    changes.push_back(NodeChange(node, kind));
  });
  index = 0;
  VisitFetchingAhead(doc.Links(), [&](CLink& link) {
    const bool known = index < links_.size();
    const Before was = known ? links_[index++] : Before{};
    const ChangeMark kind = Judge(known, was.status, was.stale, link.generation == generation,
                                  link.status, heardEverything, link.addedByHand, link.stale);
    const bool marked = !list.baseline && kind != ChangeMark::None;
    if (looks && (!known || link.status != was.status || link.stale != was.stale ||
                  (marked && link.changeMark != kind))) {
      looks->links.push_back(&link);
    }
    if (!marked) return;
    link.changeMark = kind;
    changes.push_back(LinkChange(link, kind));
  });
  list.shared = std::make_shared<const std::vector<TopologyChange>>(std::move(changes));
  if (list.baseline) {
    if (heardEverything) doc.SetBaseline();
    list.nodeCount = doc.Nodes().size();
    list.linkCount = doc.Links().size();
  }
  return list;
}

void AcknowledgeChanges(CMapvineDoc& doc) {
  for (const auto& node : doc.Nodes()) node->changeMark = ChangeMark::None;
  for (const auto& link : doc.Links()) link->changeMark = ChangeMark::None;
}

}  // namespace mapvine
