#include "model/CNode.h"

#include "model/CLink.h"

namespace mapvine {

void CNode::SetPosition(int x, int y) {
  const int dx = x - GetX();
  const int dy = y - GetY();
  SpriteObserver* observer = Observer();
  if (observer != nullptr) {
    for (CLink* link : links) observer->AddDirty(link->bounds);
  }
  CSprite::SetPosition(x, y);
  for (CLink* link : links) link->MoveEndOf(*this, dx, dy);
  if (observer != nullptr) {
    for (CLink* link : links) observer->AddDirty(link->bounds);
  }
}

void CNode::SetImage(const CDIB& image, int activeSlot, int inactiveSlot) {
  if (activeSlot != 0) activeImage = activeSlot;
  if (inactiveSlot != 0) inactiveImage = inactiveSlot;
  SetImage(image);
}

}  // namespace mapvine
