#include "app/RefreshBlocking.h"

#include "view/CommandIds.h"

namespace mapvine {

bool BlockedWhileRefreshing(int id) {
  namespace c = command;
  if (id >= c::kFileMruFirst && id < c::kFileMruFirst + c::kRecentFileCount) return true;
  switch (id) {
    case c::kFileNew:
    case c::kFileOpen:
    case c::kRefresh:
    case c::kDelete:
    case c::kManualAddNode:
    case c::kEditUndo:
    case c::kEditRedo:
    case c::kNewBackgroundImage:
    case c::kResizeBackground:
      return true;
    default:
      return false;
  }
}

}  // namespace mapvine
