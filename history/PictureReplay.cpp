#include "history/PictureReplay.h"

#include "base/QualifiedName.h"
#include "history/Replay.h"

namespace mapvine {
namespace {

template <typename Resource>
ReplayedState StateOf(const Resource& resource) {
  return {resource.status, !resource.stale};
}

template <typename Resource>
void Take(Resource& resource, ResourceStatus status, bool stale, ChangeMark mark) {
  resource.status = status;
  resource.stale = stale;
  resource.changeMark = mark;
}

CLink* FindLink(const CMapvineDoc& doc, const TopologyChange& change) {
  return doc.FindLink(ShortNameView(change.name), ShortNameView(change.destinationName), change.tgNumber);
}

}  // namespace

void PictureReplay::Show(CMapvineDoc& doc, std::span<const HistoryRow> rowsAfter) {
  Restore(doc);
  nodes_.clear();
  links_.clear();
  for (CNode* node : doc.NodesByArrival()) {
    nodes_.push_back({node->status, node->stale, node->changeMark});
    node->changeMark = ChangeMark::None;
  }
  for (const auto& link : doc.Links()) {
    links_.push_back({link->status, link->stale, link->changeMark});
    link->changeMark = ChangeMark::None;
  }
  showing_ = true;
  const auto states = StatesAt(rowsAfter, [&doc](const TopologyChange& change) -> std::optional<ReplayedState> {
    if (!change.isLink) {
      const CNode* node = doc.FindNode(ShortNameView(change.name));
      return node ? std::optional(StateOf(*node)) : std::nullopt;
    }
    const CLink* link = FindLink(doc, change);
    return link ? std::optional(StateOf(*link)) : std::nullopt;
  });
  // Nodes first: an end node or LU passes its status on to its links,
  // which then take their own replayed status.
  std::vector<std::pair<CLink*, ReplayedState>> links;
  for (const auto& [key, replayed] : states) {
    const auto& [resource, state] = replayed;
    if (!resource.isLink) {
      if (CNode* node = doc.FindNode(ShortNameView(resource.name))) {
        Take(*node, state.status, !state.present, ChangeMark::None);
        doc.ApplyStatusImage(*node);
      }
    } else if (CLink* link = FindLink(doc, resource)) {
      links.emplace_back(link, state);
    }
  }
  for (const auto& [link, state] : links) Take(*link, state.status, !state.present, ChangeMark::None);
}

void PictureReplay::Restore(CMapvineDoc& doc) {
  if (!showing_) return;
  showing_ = false;
  std::size_t index = 0;
  for (CNode* node : doc.NodesByArrival()) {
    if (index >= nodes_.size()) break;
    const Kept& kept = nodes_[index++];
    const bool statusChanged = node->status != kept.status;
    Take(*node, kept.status, kept.stale, kept.mark);
    if (statusChanged) doc.ApplyStatusImage(*node);
  }
  // After the nodes: an end node's or LU's image rule also sets its links.
  index = 0;
  for (const auto& link : doc.Links()) {
    if (index >= links_.size()) break;
    const Kept& kept = links_[index++];
    Take(*link, kept.status, kept.stale, kept.mark);
  }
}

}  // namespace mapvine
