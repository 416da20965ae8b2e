#include "layout/ArrangePicture.h"

#include <unordered_map>
#include <unordered_set>

#include "model/CLink.h"

namespace mapvine {

CapturedPicture CapturePicture(const CMapvineDoc& doc) {
  CapturedPicture captured;
  const auto arrivals = doc.NodesByArrival();
  captured.graph.spacing = doc.placement.gridSpacing;
  captured.graph.nodes.reserve(arrivals.size());
  captured.nodes.assign(arrivals.begin(), arrivals.end());
  captured.names.reserve(arrivals.size());
  std::unordered_map<const CNode*, int> index;
  index.reserve(arrivals.size());
  for (CNode* node : arrivals) {
    index.emplace(node, static_cast<int>(captured.graph.nodes.size()));
    captured.graph.nodes.push_back(
        {node->nodeType, node->GetWidth(), node->GetHeight(), {node->GetX(), node->GetY()}, node->pinned});
    captured.names.push_back(node->fqName);
  }
  captured.graph.links.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) {
    const auto a = index.find(link->endA);
    const auto b = index.find(link->endB);
    if (a != index.end() && b != index.end()) captured.graph.links.emplace_back(a->second, b->second);
  }
  return captured;
}

bool ApplyArrangement(CMapvineDoc& doc, const CapturedPicture& captured, const Arrangement& arrangement) {
  const auto arrivals = doc.NodesByArrival();
  const std::unordered_set<const CNode*> present(arrivals.begin(), arrivals.end());
  bool changed = false;
  doc.BatchStarts();
  // The canvas first, so that nodes moved beyond the old one are not pulled
  // back inside it.
  PictureState& picture = doc.picture;
  if (arrangement.width != picture.composedWidth || arrangement.height != picture.composedHeight) {
    doc.ComposeBackground(nullptr, picture.backgroundMode, arrangement.width, arrangement.height);
    changed = true;
  }
  for (std::size_t i = 0; i < captured.nodes.size() && i < arrangement.positions.size(); ++i) {
    CNode* node = captured.nodes[i];
    if (!present.contains(node) || node->fqName != captured.names[i]) continue;
    const Point at = arrangement.positions[i];
    if (at == Point{node->GetX(), node->GetY()}) continue;
    doc.NodeChanging(*node);
    node->SetPosition(at.x, at.y);
    changed = true;
  }
  if (!doc.arranged) changed = true;
  doc.arranged = true;
  if (changed) doc.SetModified(true);
  doc.BatchEnds();
  return changed;
}

bool ArrangeNow(CMapvineDoc& doc) {
  const CapturedPicture captured = CapturePicture(doc);
  ArrangeProgress progress;
  const std::optional<Arrangement> arrangement = ComputeArrangement(captured.graph, progress);
  return arrangement && ApplyArrangement(doc, captured, *arrangement);
}

}  // namespace mapvine
