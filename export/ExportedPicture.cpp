#include "export/ExportedPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/LuFold.h"

namespace mapvine {

ExportedPicture CollectPicture(const CMapvineDoc& doc, bool includeHidden) {
  ExportedPicture picture;
  picture.width = doc.picture.composedWidth;
  picture.height = doc.picture.composedHeight;
  picture.includeHidden = includeHidden;
  picture.nodes.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) {
    // LUs folded into their owner are not shown: the owner's mark is.
    if ((node->hidden || FoldedAway(*node)) && !includeHidden) continue;
    picture.nodeNumbers.emplace(node.get(), static_cast<int>(picture.nodes.size()));
    picture.nodes.push_back(node.get());
  }
  picture.links.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) {
    // A link whose end is missing (not rejoined after a load) is drawn
    // nowhere and joins nothing a reader could name.
    if (link->endA == nullptr || link->endB == nullptr) continue;
    if (!picture.nodeNumbers.contains(link->endA) || !picture.nodeNumbers.contains(link->endB)) {
      continue;
    }
    picture.links.push_back(link.get());
  }
  return picture;
}

int FoldMarkCount(const ExportedPicture& picture, const CNode& node) {
  return picture.includeHidden ? 0 : FoldedLuCount(node);
}

std::string_view NodeKindName(int nodeType) {
  switch (nodeType) {
    case NetworkNode:
      return "network-node";
    case EndNode:
      return "end-node";
    case LogicalUnit:
      return "logical-unit";
    case ConnectionNetwork:
      return "connection-network";
    default:
      return "unknown";
  }
}

std::string_view StatusName(ResourceStatus status) { return IsActive(status) ? "active" : "inactive"; }

LinkKind KindOf(const CLink& link) {
  if (link.tgNumber != 0) return LinkKind::Tg;
  if (link.addedByHand) return LinkKind::Manual;
  // A refresh joins an end node or LU to its owner without a TG number.
  const auto ownedKind = [](const CNode* end) {
    return end != nullptr && (end->nodeType == LogicalUnit || end->nodeType == EndNode);
  };
  return ownedKind(link.endA) || ownedKind(link.endB) ? LinkKind::Owner : LinkKind::Manual;
}

std::string_view LinkKindName(LinkKind kind) {
  switch (kind) {
    case LinkKind::Tg:
      return "tg";
    case LinkKind::Owner:
      return "owner";
    case LinkKind::Manual:
      return "manual";
  }
  return "manual";
}

LinkStroke StrokeOf(const CLink& link) {
  const double dx = double(link.x2) - link.x1;
  const double dy = double(link.y2) - link.y1;
  const bool mostlyHorizontal = std::abs(dx) >= std::abs(dy);
  // Pixel (x, y) covers [x, x + 1) along the main direction; across it the
  // two pixels meet at the link's own coordinate. Where the line passes
  // exactly between two pixels the picture takes the one further along its
  // way from the first end: a nudge that way makes a renderer that fills
  // the pixels whose centres lie inside the stroke choose the same.
  constexpr double kTowardsTheEnd = 1.0 / 64;
  const auto sign = [](double v) { return double((v > 0) - (v < 0)); };
  const QPointF shift = mostlyHorizontal ? QPointF(0.5, kTowardsTheEnd * sign(dy))
                                         : QPointF(kTowardsTheEnd * sign(dx), 0.5);
  const double length = std::hypot(dx, dy);
  return {QPointF(link.x1, link.y1) + shift, QPointF(link.x2, link.y2) + shift,
          length > 0 ? 2 * std::max(std::abs(dx), std::abs(dy)) / length : 2.0};
}

}  // namespace mapvine
