#include "model/CNode.h"

#include "graphics/LinePieces.h"
#include "model/CLink.h"

namespace mapvine {

namespace {

// The pieces a moved node's lines are reported in: a long line's box may
// cover much of a large picture, whose nodes and lines it never touches.
constexpr int kLinePiece = 128;

// The areas the node's lines cover, piece by piece, each with the margin a
// line's box has.
void ReportLines(const CLinkList& links, SpriteObserver& observer) {
  for (const CLink* link : links) {
    ForEachPieceOfLine({link->x1, link->y1}, {link->x2, link->y2}, kLinePiece, 1,
                       [&observer](const Rect& piece) { observer.AddDirty(piece); });
  }
}

}  // namespace

void CNode::SetPosition(int x, int y) {
  const int dx = x - GetX();
  const int dy = y - GetY();
  SpriteObserver* observer = Observer();
  if (observer != nullptr) ReportLines(links, *observer);
  CSprite::SetPosition(x, y);
  for (CLink* link : links) link->MoveEndOf(*this, dx, dy);
  if (observer != nullptr) ReportLines(links, *observer);
}

void CNode::SetImage(const CDIB& image, int activeSlot, int inactiveSlot) {
  if (activeSlot != 0) activeImage = activeSlot;
  if (inactiveSlot != 0) inactiveImage = inactiveSlot;
  SetImage(image);
}

}  // namespace mapvine
