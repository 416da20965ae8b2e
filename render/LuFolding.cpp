#include "render/LuFolding.h"

#include "model/CLink.h"
#include "model/NodeRecords.h"
#include "model/LuFold.h"

namespace mapvine {

namespace {

int Urgency(ChangeMark mark) {
  switch (mark) {
    case ChangeMark::WentInactive:
      return 4;
    case ChangeMark::Gone:
      return 3;
    case ChangeMark::New:
      return 2;
    case ChangeMark::WentActive:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

const CNode* FoldOwner(const CNode& node) { return LuOwner(node); }

ChangeMark MorePressing(ChangeMark a, ChangeMark b) { return Urgency(b) > Urgency(a) ? b : a; }

}  // namespace mapvine
