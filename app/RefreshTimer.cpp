#include "app/RefreshTimer.h"

namespace mapvine {

RefreshTimer::RefreshTimer(const CMapvineDoc& doc) : doc_(doc) {
  connect(&timer_, &QTimer::timeout, this, &RefreshTimer::Fired);
}

void RefreshTimer::Start(int milliseconds) {
  timer_.stop();
  if (milliseconds > 0) timer_.start(milliseconds);
}

void RefreshTimer::Arm() {
  const DocumentSettings& s = doc_.settings;
  Start(s.autoRefresh ? s.refreshSeconds * 1000 : 0);
}

}  // namespace mapvine
