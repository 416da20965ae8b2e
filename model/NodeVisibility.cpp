// Hiding and showing whole classes of nodes, and showing hidden nodes
// chosen by label.
#include "model/NodeVisibility.h"

#include <utility>

namespace mapvine {

bool IsOfClass(const CNode& node, NodeClass nodeClass) {
  switch (nodeClass) {
    case NodeClass::NetworkNodes:
      return node.nodeType == NetworkNode;
    case NodeClass::ConnectionNetworks:
      return node.nodeType == ConnectionNetwork;
    case NodeClass::EndNodes:
      return node.nodeType == EndNode;
    case NodeClass::LogicalUnits:
      return node.nodeType == LogicalUnit;
    case NodeClass::Unreachable:
      // Meaningful once a status pass or a detail dialog has set it.
      return !IsActive(node.status);
  }
  return false;
}

void VisibilityChange::Set(CNode& node, bool hidden) {
  if (node.hidden != hidden) wanted_.emplace_back(&node, hidden);
}

int VisibilityChange::Finish() {
  if (wanted_.empty()) return 0;
  doc_.ExpectNodesChanging(wanted_.size());
  std::vector<CNode*> changed;
  changed.reserve(wanted_.size());
  const auto wanted = std::exchange(wanted_, {});
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    // The edit reads the whole node before it changes.
    if (i + kNodesFetchedAhead < wanted.size()) FetchNode(*wanted[i + kNodesFetchedAhead].first);
    const auto [node, hidden] = wanted[i];
    // A node set twice changes once.
    if (node->hidden == hidden) continue;
    doc_.NodeChanging(*node);
    node->hidden = hidden;
    changed.push_back(node);
  }
  doc_.SetModified(true);
  doc_.NodesShownChanged(changed);
  return static_cast<int>(changed.size());
}

int HideAllOfClass(CMapvineDoc& doc, NodeClass nodeClass) {
  VisibilityChange change(doc);
  for (const auto& node : doc.Nodes()) {
    if (IsOfClass(*node, nodeClass)) change.Set(*node, true);
  }
  const int changed = change.Finish();
  if (doc.settings.autoTile) {
    // The remaining nodes close up from the top-left corner of a small
    // picture; placement grows it again as far as they need.
    doc.ComposeBackground(nullptr, doc.picture.backgroundMode, kTiledPictureWidth,
                          kTiledPictureHeight);
    doc.TileNodes();
  }
  return changed;
}

int ShowAllOfClass(CMapvineDoc& doc, NodeClass nodeClass) {
  VisibilityChange change(doc);
  for (const auto& node : doc.Nodes()) {
    if (IsOfClass(*node, nodeClass)) change.Set(*node, false);
  }
  return change.Finish();
}

std::vector<std::string> HiddenLabels(const CSpriteList& nodes) {
  std::vector<std::string> labels;
  for (const auto& node : nodes) {
    if (node->hidden) labels.push_back(node->label);
  }
  return labels;
}

int ShowFirstHolders(CMapvineDoc& doc, const std::vector<std::string>& labels) {
  VisibilityChange change(doc);
  for (const std::string& label : labels) {
    if (CNode* node = doc.Nodes().FindByLabel(label)) change.Set(*node, false);
  }
  return change.Finish();
}

}  // namespace mapvine
