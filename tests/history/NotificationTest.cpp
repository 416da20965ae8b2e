// Desktop notifications on a private session bus, shown by a real
// notification daemon.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "history/DesktopNotifier.h"
#include "tests/support/PrivateDesktop.h"

namespace mapvine {
namespace {

using testing::PrivateDesktop;

TopologyChange Link(ChangeMark kind, int tg) { return {kind, true, "NETA.NN1", "NETA.NN5", tg}; }

TEST_F(PrivateDesktop, OneNotificationPerRefreshWithChangesAndNoneWhileFlapping) {
  DesktopNotifier notifier(connection_);
  FlapTracker flapping;
  const NoticeKinds kinds;
  // Each refresh: what it changed. TG 30 flaps; the others change once.
  std::vector<std::vector<TopologyChange>> refreshes = {
      {Link(ChangeMark::WentInactive, 24), Link(ChangeMark::WentInactive, 21), Link(ChangeMark::WentInactive, 22),
       Link(ChangeMark::WentInactive, 23), {ChangeMark::Gone, false, "NETA.EN6", {}, 0}},
      {},
      {{ChangeMark::New, false, "NETA.EN9", {}, 0}},
  };
  for (int n = 0; n < 8; ++n) refreshes.push_back({Link(n % 2 ? ChangeMark::WentActive : ChangeMark::WentInactive, 30)});
  refreshes.push_back({Link(ChangeMark::WentActive, 24)});
  for (const auto& changes : refreshes) {
    std::vector<std::string> keys;
    for (const TopologyChange& change : changes) keys.push_back(ResourceKey(change));
    flapping.Refresh(keys);
    if (const auto notice = NoticeFor(changes, flapping, kinds)) notifier.Notify(*notice);
  }
  Settle();
  // TG 30 notifies until the rule finds it flapping (its 6th change), then
  // stays quiet.
  const QStringList tg30{"1 link went inactive / 1 link went inactive: NN1\u2013NN5 TG 30",
                         "1 link went active / 1 link went active: NN1\u2013NN5 TG 30"};
  // dunst's history keeps notifications shown at once in no set order.
  QStringList shown = History();
  QStringList expected{"4 links went inactive / 4 links went inactive: NN1\u2013NN5 TG 24, NN1\u2013NN5 TG 21, "
                         "NN1\u2013NN5 TG 22, \u2026\n1 node gone: EN6",
                         tg30[0], tg30[1], tg30[0], tg30[1], tg30[0],
                         "1 link went active / 1 link went active: NN1\u2013NN5 TG 24"};
  shown.sort();
  expected.sort();
  EXPECT_EQ(shown.join(" | ").toStdString(), expected.join(" | ").toStdString());
}

TEST(DesktopNotifier, WithoutABusNothingBreaks) {
  DesktopNotifier notifier(QDBusConnection("none"));
  notifier.Notify({"1 link went inactive", "", {}, false});
}

}  // namespace
}  // namespace mapvine
