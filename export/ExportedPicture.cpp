#include "export/ExportedPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>
#include <vector>

#include "export/IndexedImage.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

ExportedNode CopyOf(const CNode& node, bool includeHidden) {
  ExportedNode copy{.fqName = node.fqName,
                    .label = node.label,
                    .nodeType = node.nodeType,
                    .status = node.status,
                    .hidden = node.hidden,
                    .icon = node.GetRect(),
                    .centre = node.GetCenter(),
                    .labelArea = node.LabelArea(),
                    .labelOrigin = node.LabelOrigin(),
                    .image = -1,
                    // With the hidden nodes written, the folded LUs are
                    // there themselves.
                    .foldedLus = includeHidden ? 0 : FoldedLuCount(node),
                    .foldBox = {},
                    .foldArea = {},
                    .foldCountOrigin = {}};
  if (copy.foldedLus > 0) {
    copy.foldBox = FoldMarkBox(node);
    copy.foldArea = FoldMarkArea(node);
    copy.foldCountOrigin = FoldCountOrigin(node);
  }
  return copy;
}

}  // namespace

ExportedPicture CollectPicture(const CMapvineDoc& doc, bool includeHidden) {
  ExportedPicture picture;
  picture.width = doc.picture.composedWidth;
  picture.height = doc.picture.composedHeight;
  picture.includeHidden = includeHidden;
  picture.images.TakeBackground(doc, picture.width, picture.height);
  // Nodes show the storage of the document's images: the storage tells
  // which of them look alike, so each distinct icon is converted once.
  std::unordered_map<const std::uint8_t*, int> imageOfStorage;
  // Each written node's number by its address, sorted for the links to
  // look their ends up: cheaper to build than a hash table of as many
  // entries, which allocates one for each.
  std::vector<std::pair<const CNode*, int>> numberOf;
  numberOf.reserve(doc.Nodes().size());
  picture.nodes.reserve(doc.Nodes().size());
  for (const auto& node : doc.Nodes()) {
    // LUs folded into their owner are not shown: the owner's mark is.
    if ((node->hidden || FoldedAway(*node)) && !includeHidden) continue;
    numberOf.emplace_back(node.get(), static_cast<int>(picture.nodes.size()));
    picture.nodes.push_back(CopyOf(*node, includeHidden));
    if (!node->HasHeader()) continue;
    const auto [found, added] = imageOfStorage.try_emplace(node->HeaderBlock(), -1);
    if (added) {
      QImage icon = ToArgbImage(*node, node->transparentIndex);
      if (!icon.isNull()) found->second = picture.images.AddIcon(std::move(icon));
    }
    picture.nodes.back().image = found->second;
  }
  std::sort(numberOf.begin(), numberOf.end());
  const auto numberOfNode = [&numberOf](const CNode* node) {
    const auto found = std::lower_bound(numberOf.begin(), numberOf.end(), std::pair<const CNode*, int>(node, -1));
    return found != numberOf.end() && found->first == node ? found->second : -1;
  };
  picture.links.reserve(doc.Links().size());
  for (const auto& link : doc.Links()) {
    // A link whose end is missing (not rejoined after a load) is drawn
    // nowhere and joins nothing a reader could name.
    const int from = numberOfNode(link->endA);
    const int to = numberOfNode(link->endB);
    if (from < 0 || to < 0) continue;
    picture.links.push_back({.from = from,
                             .to = to,
                             .tgNumber = link->tgNumber,
                             .status = link->status,
                             .kind = KindOf(*link),
                             .start = {link->x1, link->y1},
                             .end = {link->x2, link->y2}});
  }
  return picture;
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

LinkStroke StrokeOf(const ExportedLink& link) {
  const double dx = double(link.end.x) - link.start.x;
  const double dy = double(link.end.y) - link.start.y;
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
  return {QPointF(link.start.x, link.start.y) + shift, QPointF(link.end.x, link.end.y) + shift,
          length > 0 ? 2 * std::max(std::abs(dx), std::abs(dy)) / length : 2.0};
}

}  // namespace mapvine
