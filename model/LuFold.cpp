#include "model/LuFold.h"

#include "graphics/NodeRecords.h"

namespace mapvine {

namespace {

const CSprite* OtherEnd(const CLink& link, const CSprite& node) {
  return link.endA == &node ? link.endB : link.endA;
}

// The LU's first link to `owner`: an LU linked twice to it counts once.
const CLink* FirstLinkTo(const CSprite& lu, const CSprite& owner) {
  for (const CLink* link : lu.links) {
    if (OtherEnd(*link, lu) == &owner) return link;
  }
  return nullptr;
}

// The mark's strip starts a line below the label's top.
constexpr int kMarkLine = 14;
constexpr int kMarkSide = 10;
constexpr int kCountGap = 4;

}  // namespace

const CSprite* LuOwner(const CSprite& node) {
  if (node.nodeType != LogicalUnit) return nullptr;
  for (const CLink* link : node.links) {
    const CSprite* other = OtherEnd(*link, node);
    if (other != nullptr && other != &node && !other->hidden && other->nodeType != LogicalUnit) {
      return other;
    }
  }
  return nullptr;
}

bool FoldedAway(const CSprite& node) {
  if (node.nodeType != LogicalUnit) return false;
  const CSprite* owner = LuOwner(node);
  return owner != nullptr && owner->lusFolded;
}

bool FoldedAway(const CLink& link) {
  return (link.endA != nullptr && FoldedAway(*link.endA)) || (link.endB != nullptr && FoldedAway(*link.endB));
}

int OwnedLuCount(const CSprite& owner) {
  int count = 0;
  for (const CLink* link : owner.links) {
    const CSprite* other = OtherEnd(*link, owner);
    if (other != nullptr && !other->hidden && LuOwner(*other) == &owner && FirstLinkTo(*other, owner) == link) {
      ++count;
    }
  }
  return count;
}

int FoldedLuCount(const CSprite& owner) { return owner.lusFolded ? OwnedLuCount(owner) : 0; }

Rect FoldMarkArea(const CSprite& owner) {
  const Rect band = owner.LabelArea();
  return {band.left + CSprite::kLabelIndent, band.top + kMarkLine, band.right, band.bottom};
}

Rect FoldMarkBox(const CSprite& owner) {
  const Rect area = FoldMarkArea(owner);
  return {area.left, area.top + 2, area.left + kMarkSide, area.top + 2 + kMarkSide};
}

Point FoldCountOrigin(const CSprite& owner) {
  const Rect area = FoldMarkArea(owner);
  return {area.left + kMarkSide + kCountGap, area.top};
}

bool OnFoldMark(const CSprite& owner, Point p) {
  return owner.lusFolded && !owner.hidden && FoldMarkArea(owner).Contains(p) && FoldedLuCount(owner) > 0;
}

std::string FoldCountText(int count) { return std::to_string(count) + (count == 1 ? " LU" : " LUs"); }

bool SetLusFolded(CMapvineDoc& doc, CSprite& owner, bool folded) {
  if (owner.lusFolded == folded) return false;
  doc.NodeChanging(owner);
  owner.lusFolded = folded;
  doc.SetModified(true);
  if (DocumentView* view = doc.View()) view->RedrawAll();
  return true;
}

CSprite* UnfoldToShow(CMapvineDoc& doc, const CSprite& node) {
  if (!FoldedAway(node)) return nullptr;
  // The owner is one of the document's nodes; the fold is its own to change.
  auto* owner = const_cast<CSprite*>(LuOwner(node));
  SetLusFolded(doc, *owner, false);
  return owner;
}

}  // namespace mapvine
