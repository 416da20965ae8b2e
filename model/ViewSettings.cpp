#include "model/ViewSettings.h"

namespace mapvine {

RefreshTimerAction ApplyViewSettings(DocumentSettings& settings, const DocumentSettings& edited) {
  const int autoRefreshBefore = settings.autoRefresh;
  settings.activeQuery = edited.activeQuery;
  settings.autoGrow = edited.autoGrow;
  settings.autoTile = edited.autoTile;
  settings.showCnOnDiscovery = edited.showCnOnDiscovery;
  settings.showEnOnDiscovery = edited.showEnOnDiscovery;
  settings.showLuOnDiscovery = edited.showLuOnDiscovery;
  settings.showNnOnDiscovery = edited.showNnOnDiscovery;
  settings.autoRefresh = edited.autoRefresh;
  settings.refreshSeconds = edited.refreshSeconds;

  if (settings.autoRefresh == 0) return RefreshTimerAction::Stop;
  if (autoRefreshBefore == 0) return RefreshTimerAction::RefreshNow;
  return RefreshTimerAction::None;
}

}  // namespace mapvine
