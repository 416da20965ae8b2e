#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

TEST(ViewRefreshTimer, TicksUntilStopped) {
  ShownDocument s;
  QSignalSpy ticks(&s.view, &CMapvineView::RefreshTimerFired);
  // A new period replaces the old one rather than adding a second timer.
  s.view.SetRefreshTimer(60000);
  s.view.SetRefreshTimer(20);
  ASSERT_TRUE(ticks.wait(2000));
  // The timer keeps ticking until a refresh sets it again or stops it.
  ASSERT_TRUE(ticks.wait(2000));

  s.view.SetRefreshTimer(0);
  ticks.clear();
  QTest::qWait(150);
  EXPECT_EQ(ticks.count(), 0);
}

TEST(ViewRefreshTimer, OtherTimersOfTheViewDoNotRefresh) {
  ShownDocument s;
  QSignalSpy ticks(&s.view, &CMapvineView::RefreshTimerFired);
  const int other = s.view.startTimer(5);
  QTest::qWait(100);
  s.view.killTimer(other);
  EXPECT_EQ(ticks.count(), 0);
}

}  // namespace
}  // namespace mapvine
