#include "model/LuFold.h"

#include "model/NodeRecords.h"

namespace mapvine {

namespace {

const CNode* OtherEnd(const CLink& link, const CNode& node) {
  return link.endA == &node ? link.endB : link.endA;
}

// The LU's first link to `owner`: an LU linked twice to it counts once.
const CLink* FirstLinkTo(const CNode& lu, const CNode& owner) {
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

const CNode* LuOwner(const CNode& node) {
  if (node.nodeType != LogicalUnit) return nullptr;
  for (const CLink* link : node.links) {
    const CNode* other = OtherEnd(*link, node);
    if (other != nullptr && other != &node && !other->hidden && other->nodeType != LogicalUnit) {
      return other;
    }
  }
  return nullptr;
}

bool FoldedAway(const CNode& node) {
  if (node.nodeType != LogicalUnit) return false;
  const CNode* owner = LuOwner(node);
  return owner != nullptr && owner->lusFolded;
}

bool FoldedAway(const CLink& link) {
  return (link.endA != nullptr && FoldedAway(*link.endA)) || (link.endB != nullptr && FoldedAway(*link.endB));
}

int OwnedLuCount(const CNode& owner) {
  int count = 0;
  for (const CLink* link : owner.links) {
    const CNode* other = OtherEnd(*link, owner);
    if (other != nullptr && !other->hidden && LuOwner(*other) == &owner && FirstLinkTo(*other, owner) == link) {
      ++count;
    }
  }
  return count;
}

int FoldedLuCount(const CNode& owner) { return owner.lusFolded ? OwnedLuCount(owner) : 0; }

Rect FoldMarkArea(const CNode& owner) {
  const Rect band = owner.LabelArea();
  return {band.left + CNode::kLabelIndent, band.top + kMarkLine, band.right, band.bottom};
}

Rect FoldMarkBox(const CNode& owner) {
  const Rect area = FoldMarkArea(owner);
  return {area.left, area.top + 2, area.left + kMarkSide, area.top + 2 + kMarkSide};
}

Point FoldCountOrigin(const CNode& owner) {
  const Rect area = FoldMarkArea(owner);
  return {area.left + kMarkSide + kCountGap, area.top};
}

bool OnFoldMark(const CNode& owner, Point p) {
  return owner.lusFolded && !owner.hidden && FoldMarkArea(owner).Contains(p) && FoldedLuCount(owner) > 0;
}

std::string FoldCountText(int count) { return std::to_string(count) + (count == 1 ? " LU" : " LUs"); }

bool SetLusFolded(CMapvineDoc& doc, CNode& owner, bool folded) {
  if (owner.lusFolded == folded) return false;
  doc.NodeChanging(owner);
  owner.lusFolded = folded;
  doc.SetModified(true);
  const CNode* changed[] = {&owner};
  doc.NodesShownChanged(changed);
  return true;
}

CNode* UnfoldToShow(CMapvineDoc& doc, const CNode& node) {
  if (!FoldedAway(node)) return nullptr;
  // The owner is one of the document's nodes; the fold is its own to change.
  auto* owner = const_cast<CNode*>(LuOwner(node));
  SetLusFolded(doc, *owner, false);
  return owner;
}

}  // namespace mapvine
