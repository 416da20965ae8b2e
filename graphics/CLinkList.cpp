#include "graphics/CLinkList.h"

#include "graphics/CSprite.h"

namespace mapvine {

template <typename Ptr>
CLink* BasicLinkList<Ptr>::Find(std::string_view owner, std::string_view destination,
                                int tgNumber, int* count) const {
  if (count != nullptr) *count = 0;
  for (const Ptr& p : links_) {
    CLink& link = *p;
    const bool forward = link.ownerName == owner && link.destinationName == destination;
    const bool backward = link.ownerName == destination && link.destinationName == owner;
    if ((forward || backward) && link.tgNumber == tgNumber) return &link;
    // An owner equal to its destination matches both ways and counts twice.
    if (count != nullptr) *count += int(forward) + int(backward);
  }
  return nullptr;
}

template <typename Ptr>
CLink* BasicLinkList<Ptr>::HitTest(int x, int y) const {
  for (const Ptr& p : links_) {
    CLink& link = *p;
    if (link.endA == nullptr || link.endB == nullptr) continue;
    if (link.endA->hidden || link.endB->hidden) continue;
    if (link.HitTest(x, y)) return &link;
  }
  return nullptr;
}

template class BasicLinkList<CLink*>;
template class BasicLinkList<std::unique_ptr<CLink>>;

}  // namespace mapvine
