#include "model/CLinkList.h"

#include "model/CNode.h"

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
  // Where lines run close together the first one within reach is often not
  // the one under the pointer.
  CLink* nearest = nullptr;
  double nearestDistance = 0;
  for (const Ptr& p : links_) {
    CLink& link = *p;
    if (link.endA == nullptr || link.endB == nullptr) continue;
    if (link.endA->hidden || link.endB->hidden) continue;
    const std::optional<double> distance = link.HitDistance(x, y);
    if (distance && (nearest == nullptr || *distance < nearestDistance)) {
      nearest = &link;
      nearestDistance = *distance;
    }
  }
  return nearest;
}

template class BasicLinkList<CLink*>;
template class BasicLinkList<std::unique_ptr<CLink>>;

}  // namespace mapvine
