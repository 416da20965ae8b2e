#include "view/NodeCounts.h"

namespace mapvine {

namespace {

// More hidden or changed nodes than this are counted all at once, which is
// quicker than following them one by one.
constexpr std::size_t kMostKnownApart = 1024;

}  // namespace

void NodeCounts::NodeChanged(const CNode& node) {
  if (stale_) return;
  if (!known_ || changed_.size() >= kMostKnownApart) {
    MarkStale();
    changed_.clear();
    return;
  }
  changed_.insert(&node);
}

void NodeCounts::NodeRemoving(const CNode& node) {
  changed_.erase(&node);
  hidden_.erase(&node);
}

bool NodeCounts::Settle(const CMapvineDoc& doc) {
  const std::span<CNode* const> nodes = doc.NodesByArrival();
  const int total = static_cast<int>(nodes.size());
  if (!stale_ && changed_.empty() && total == total_) return false;
  const int hidden = stale_ || !known_ ? CountAll(nodes) : CountChanged();
  total_ = total;
  displayed_ = total - hidden;
  if (hidden_.size() > kMostKnownApart) {
    known_ = false;
    hidden_.clear();
  }
  return true;
}

int NodeCounts::CountAll(std::span<CNode* const> nodes) {
  stale_ = false;
  changed_.clear();
  hidden_.clear();
  known_ = true;
  int hidden = 0;
  for (const CNode* node : nodes) {
    if (!node->hidden) continue;
    ++hidden;
    if (known_ && hidden_.size() < kMostKnownApart) {
      hidden_.insert(node);
    } else {
      known_ = false;
    }
  }
  if (!known_) hidden_.clear();
  return hidden;
}

int NodeCounts::CountChanged() {
  for (const CNode* node : changed_) {
    if (node->hidden) {
      hidden_.insert(node);
    } else {
      hidden_.erase(node);
    }
  }
  changed_.clear();
  return static_cast<int>(hidden_.size());
}

}  // namespace mapvine
