#include "render/ShownItems.h"

#include <algorithm>
#include <bit>

namespace mapvine {

namespace {

// Mark size in pixels; an owner with folded LUs grows with their number.
constexpr int kMarkSide = 5;
constexpr int kMaxMarkGrowth = 6;

// 1 + floor(log2(folded)), counted in bits: a fitted frame sizes every
// owner's mark.
int MarkGrowth(int folded) {
  return folded > 0 ? std::min(kMaxMarkGrowth, static_cast<int>(std::bit_width(static_cast<unsigned>(folded)))) : 0;
}

}  // namespace

ShownNode Show(ItemLooks& looks, int node, const overview::Placement& at, Detail detail) {
  const ItemLooks::NodeLook& look = looks.Node(node);
  ShownNode shown{node, &look, QRect(), FoldedLus{}};
  if (AsMarks(detail)) {
    if (detail == Detail::Folded || look.lusFolded) shown.folded = looks.FoldedInto(node);
    const int side = kMarkSide + MarkGrowth(shown.folded.count);
    const QPoint centre = FramePointOf(at, look.centre);
    shown.box = QRect(centre.x() - side / 2, centre.y() - side / 2, side, side);
    return shown;
  }
  const Rect rect = look.node->GetRect();
  const QPoint topLeft = at.At(rect.left, rect.top);
  const QPoint bottomRight = at.At(rect.right, rect.bottom);
  shown.box = QRect(topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()),
                                   std::max(1, bottomRight.y() - topLeft.y())));
  if (look.lusFolded) shown.folded = looks.FoldedInto(node);
  return shown;
}

ShownNode ShownAs(ItemLooks& looks, int node, const overview::Placement& at, Detail detail) {
  const ItemLooks::NodeLook& look = looks.Node(node);
  if (look.hidden) return {};
  const bool asOwner = detail == Detail::Folded || looks.FoldedAway(node);
  const int owner = asOwner ? look.foldOwner : ItemLooks::kNone;
  return Show(looks, owner != ItemLooks::kNone ? owner : node, at, detail);
}

ShownNode ShownAs(ItemLooks& looks, const CNode& node, const overview::Placement& at, Detail detail) {
  const std::optional<int> id = looks.IdOf(node);
  return id ? ShownAs(looks, *id, at, detail) : ShownNode{};
}

std::vector<int> IdsOf(const ItemLooks& looks, std::span<const CLink* const> links) {
  std::vector<int> ids;
  for (const CLink* link : links) {
    if (const std::optional<int> id = looks.IdOf(*link)) ids.push_back(*id);
  }
  return ids;
}

}  // namespace mapvine
