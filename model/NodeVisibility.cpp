// Hiding and showing whole classes of nodes, and showing hidden nodes
// chosen by label.
#include "model/NodeVisibility.h"

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

int HideAllOfClass(CMapvineDoc& doc, NodeClass nodeClass) {
  int changed = 0;
  for (const auto& node : doc.Nodes()) {
    if (!IsOfClass(*node, nodeClass) || node->hidden) continue;
    ++changed;
    doc.NodeChanging(*node);
    node->hidden = true;
  }
  if (changed > 0) doc.SetModified(true);
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
  int changed = 0;
  for (const auto& node : doc.Nodes()) {
    if (!IsOfClass(*node, nodeClass) || !node->hidden) continue;
    ++changed;
    doc.NodeChanging(*node);
    node->hidden = false;
  }
  if (changed > 0) doc.SetModified(true);
  return changed;
}

std::vector<std::string> HiddenLabels(const CSpriteList& nodes) {
  std::vector<std::string> labels;
  for (const auto& node : nodes) {
    if (node->hidden) labels.push_back(node->label);
  }
  return labels;
}

int ShowFirstHolders(CMapvineDoc& doc, const std::vector<std::string>& labels) {
  int changed = 0;
  for (const std::string& label : labels) {
    CNode* node = doc.Nodes().FindByLabel(label);
    if (node == nullptr || !node->hidden) continue;
    doc.NodeChanging(*node);
    node->hidden = false;
    ++changed;
  }
  if (changed > 0) doc.SetModified(true);
  return changed;
}

}  // namespace mapvine
