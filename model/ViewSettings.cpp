#include "model/ViewSettings.h"

namespace mapvine {

RefreshTimerAction ApplyViewSettings(CMapvineDoc& doc, const DocumentSettings& edited) {
  DocumentSettings& settings = doc.settings;
  const DocumentSettings before = settings;
  settings.activeQuery = edited.activeQuery;
  settings.autoGrow = edited.autoGrow;
  settings.autoTile = edited.autoTile;
  settings.showCnOnDiscovery = edited.showCnOnDiscovery;
  settings.showEnOnDiscovery = edited.showEnOnDiscovery;
  settings.showLuOnDiscovery = edited.showLuOnDiscovery;
  settings.showNnOnDiscovery = edited.showNnOnDiscovery;
  settings.autoRefresh = edited.autoRefresh;
  settings.refreshSeconds = edited.refreshSeconds;
  if (settings != before) doc.SetModified(true);

  if (!settings.autoRefresh) return RefreshTimerAction::Stop;
  if (!before.autoRefresh) return RefreshTimerAction::RefreshNow;
  return RefreshTimerAction::None;
}

}  // namespace mapvine
