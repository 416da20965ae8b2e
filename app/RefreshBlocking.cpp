#include "app/RefreshBlocking.h"

#include "view/CommandTable.h"

namespace mapvine {

bool BlockedWhileRefreshing(int id) {
  const CommandInfo* info = FindCommand(id);
  return info != nullptr && info->blockedWhileRefreshing;
}

}  // namespace mapvine
