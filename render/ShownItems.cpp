#include "render/ShownItems.h"

#include <algorithm>
#include <cmath>

namespace mapvine {

namespace {

// Mark size in pixels; an owner with folded LUs grows with their number.
constexpr int kMarkSide = 5;
constexpr int kMaxMarkGrowth = 6;

int MarkGrowth(int folded) {
  return folded > 0 ? std::min(kMaxMarkGrowth, 1 + static_cast<int>(std::log2(folded))) : 0;
}

}  // namespace

ShownNode Show(const CNode& node, const overview::Placement& at, Detail detail) {
  ShownNode shown{&node, QRect(), FoldedLus{}};
  if (AsMarks(detail)) {
    if (detail == Detail::Folded || node.lusFolded) shown.folded = FoldedInto(node);
    const int side = kMarkSide + MarkGrowth(shown.folded.count);
    const QPoint centre = at.CentreOf(node);
    shown.box = QRect(centre.x() - side / 2, centre.y() - side / 2, side, side);
    return shown;
  }
  const Rect rect = node.GetRect();
  const QPoint topLeft = at.At(rect.left, rect.top);
  const QPoint bottomRight = at.At(rect.right, rect.bottom);
  shown.box = QRect(topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()),
                                   std::max(1, bottomRight.y() - topLeft.y())));
  if (node.lusFolded) shown.folded = FoldedInto(node);
  return shown;
}

ShownNode ShownAs(const CNode& node, const overview::Placement& at, Detail detail) {
  if (node.hidden) return {};
  const CNode* owner = detail == Detail::Folded || FoldedAway(node) ? FoldOwner(node) : nullptr;
  return Show(owner != nullptr ? *owner : node, at, detail);
}

}  // namespace mapvine
