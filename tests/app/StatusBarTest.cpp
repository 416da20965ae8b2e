#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

#include "tests/app/AppFixture.h"
#include "app/ChangesDock.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

TEST(StatusBar, IdleTextUntilTheFirstRenderThenTheNodeCount) {
  CMapvineDoc doc;
  DocumentFile file;
  DocumentCommands commands(doc, SnaLibrary{[](void*, std::uint32_t) {}, {}}, file);
  struct NoApplication final : CommandOwner {
    void BindCommands(CommandBindings&) override {}
  } application;
  {
    CMainFrame frame(doc, commands, application);
    EXPECT_EQ(frame.StatusText(), "For Help, press F1");
    doc.NewDocument();  // the first full render
    EXPECT_EQ(frame.StatusText(), "Displaying 0 of 0 nodes");

    // Each lock indicator shows while its lock is on, read again as keys go
    // by; none where the lock state cannot be read.
    std::optional<LockKeyState> state;
    frame.readLockKeys = [&state] { return state; };
    const std::pair<std::optional<LockKeyState>, const char*> cases[] = {
        {LockKeyState{true, false, true}, "CAP  SCRL"}, {LockKeyState{false, true, false}, " NUM "}, {std::nullopt, "  "}};
    for (const auto& [locks, shown] : cases) {
      state = locks;
      QKeyEvent press(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier);
      QApplication::sendEvent(&frame.View(), &press);
      QStringList texts;
      for (const char* name : {"CAP", "NUM", "SCRL"}) texts << frame.findChild<QLabel*>(name)->text();
      EXPECT_EQ(texts.join(' '), shown);
    }
  }
}

TEST(StatusBar, HighlightedItemShowsItsPromptThenTheIdleText) {
  testing::RunningApp running;
  QAction* refresh = running.Frame().ActionFor(command::kRefresh);
  refresh->showStatusText(&running.Frame());
  EXPECT_EQ(running.Status(), "Refresh View");
  QStatusTipEvent leave{QString()};
  QApplication::sendEvent(&running.Frame(), &leave);
  EXPECT_EQ(running.Status(), "For Help, press F1");
}

// Every text the first pane showed, in order (whole, also where the pane
// had to cut it short).
struct PaneRecorder {
  explicit PaneRecorder(CMainFrame& frame) {
    QObject::connect(frame.statusBar(), &QStatusBar::messageChanged,
                     [this, &frame] { texts.push_back(frame.StatusText().toStdString()); });
  }
  std::vector<std::string> Progress() const {
    std::vector<std::string> progress;
    for (const auto& t : texts) {
      if (t.rfind("Working...", 0) == 0) progress.push_back(t);
    }
    return progress;
  }
  std::vector<std::string> texts;
};

TEST(StatusBar, StatusPassShowsProgressEveryTenNodes) {
  testing::RunningApp running(testing::NetworkNodes(25, 0));
  running.Doc().settings.activeQuery = 1;
  PaneRecorder pane(running.Frame());
  ::testing::internal::CaptureStdout();  // APING timings
  running.Refresh();
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(pane.Progress(), (std::vector<std::string>{"Working... Checked status of nodes",
                                                       "Working... Checked status of 0 nodes",
                                                       "Working... Checked status of 10 nodes",
                                                       "Working... Checked status of 20 nodes"}));
  EXPECT_EQ(running.Status(), "25 nodes, 0 links");
}

TEST(StatusBar, UnreachableNodesAreHiddenWhenNotShown) {
  for (const int showUnreachable : {1, 0}) {
    testing::RunningApp running(testing::NetworkNodes(25, 5));
    running.Doc().settings.activeQuery = 1;
    running.Doc().settings.showUnreachable = showUnreachable;
    ::testing::internal::CaptureStdout();
    running.Refresh();
    ::testing::internal::GetCapturedStdout();
    const int displayed = showUnreachable ? 25 : 20;
    EXPECT_EQ(running.View().Counts().Displayed(), displayed);
    EXPECT_EQ(running.Status(), "25 nodes, 0 links");
  }
}

// The application's timer runs the document's refresh through the same command.
TEST(RefreshTimer, ArmedWithRefreshSecondsAndKilledWhenAutoRefreshIsOff) {
  testing::RunningApp running(testing::NetworkNodes(3, 0));
  running.Doc().settings.autoRefresh = 1;
  running.Doc().settings.refreshSeconds = 1;
  QSignalSpy ticks(&running.app.Commands().Timer(), &RefreshTimer::Fired);
  running.Refresh();
  const int generation = running.Doc().RefreshGeneration();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(ticks.wait(5000));
  // Timers may fire up to 5% early, never more.
  EXPECT_GE(clock.elapsed(), 900);
  testing::FinishRefresh(running.app);
  // The tick ran one more refresh pass.
  EXPECT_EQ(running.Doc().RefreshGeneration(), generation + 1);
  EXPECT_EQ(running.Status(), "No changes");

  running.Doc().settings.autoRefresh = 0;
  running.Refresh();
  ticks.clear();
  EXPECT_FALSE(ticks.wait(1600));
}

// Without a node library the window still opens, then says why; so does F5.
TEST(StatusBar, WithoutANodeLibraryTheWindowSaysWhy) {
  CMapvineApp offline(SnaLibrary{{}, "cannot load libsnactl.so"});
  ASSERT_TRUE(offline.InitInstance(CommandLine{}));
  testing::ScriptedPrompts prompts;
  QApplication::processEvents();  // the window is up: now it says why
  testing::RefreshAndWait(offline);
  ASSERT_EQ(prompts.warnings.size(), 2u);
  EXPECT_EQ(offline.MainFrame().StatusText().toStdString(), "Refresh failed: cannot load libsnactl.so");
  EXPECT_EQ(prompts.warnings[0].rfind("Cannot load libsnactl.so\n", 0), 0u);
  EXPECT_EQ(prompts.warnings[1].rfind("Refresh failed: cannot load libsnactl.so\n", 0), 0u);
}

// A long text ends in "…" before the permanent panes and shows whole as the
// bar's tooltip; the Changes window shows its columns' texts whole.
TEST(StatusBar, LongTextsStopBeforeThePanesAndChangeColumnsFitTheirTexts) {
  testing::RunningApp running;
  CMainFrame& frame = running.Frame();
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  QStatusBar& bar = *frame.statusBar();
  const std::string longText = "Refresh failed: " + std::string(300, 'x');
  frame.SetStatusText(longText);
  const QString shown = bar.currentMessage();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_LT(QFontMetrics(bar.font()).horizontalAdvance(shown), frame.findChild<QLabel*>("ZOOM")->x());
  EXPECT_EQ(bar.toolTip().toStdString(), longText);
  EXPECT_EQ(frame.StatusText().toStdString(), longText);
  frame.SetStatusText("No changes");
  EXPECT_EQ(bar.currentMessage(), "No changes");
  EXPECT_TRUE(bar.toolTip().isEmpty());

  ChangesDock& changes = frame.ChangesWindow();
  changes.Add({{ChangeMark::WentInactive, true, "NETA.NN1", "NETA.NN5", 24}, {ChangeMark::New, false, "NETA.EN1", {}, 0}});
  changes.show();
  QApplication::processEvents();
  auto* table = changes.findChild<QTableView*>();
  ASSERT_NE(table, nullptr);
  const QHeaderView& header = *table->horizontalHeader();
  const QAbstractItemModel& model = *table->model();
  for (int column = 0; column < header.count(); ++column) {
    EXPECT_GE(header.sectionSize(column), header.sectionSizeHint(column)) << column;
    for (int row = 0; row < model.rowCount(); ++row) {
      const QModelIndex cell = model.index(row, column);
      EXPECT_GT(table->visualRect(cell).width(), table->fontMetrics().horizontalAdvance(cell.data().toString()))
          << cell.data().toString().toStdString();
    }
  }
  EXPECT_GE(table->viewport()->width(), header.length());
}

// The marks are drawn in the picture: count the pixels of the new-node blue.
int NewMarkPixels(const QImage& picture) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb p = picture.pixel(x, y);
      count += qRed(p) < 60 && qGreen(p) > 60 && qGreen(p) < 140 && qBlue(p) > 200;
    }
  }
  return count;
}

TEST(StatusBar, SaysWhatARefreshChangedAndTheChangesWindowKeepsIt) {
  testing::RunningApp running("nn NETA.NN1\nnn NETA.NN2\ntg NETA.NN1 NETA.NN2 21 operative\n");
  running.Refresh();
  // A new picture's first refresh is its baseline: it marks nothing.
  EXPECT_EQ(running.Status(), "2 nodes, 1 link");
  EXPECT_EQ(running.Frame().ChangesWindow().Model().rowCount(), 0);
  const int unmarked = NewMarkPixels(running.View().Frame().PictureImage());
  running.node = testing::NodeServing(
      "nn NETA.NN1\nnn NETA.NN2\nnn NETA.NN3\ntg NETA.NN1 NETA.NN2 21 operative\ntg NETA.NN1 NETA.NN3 1 operative\n");
  running.Refresh();
  EXPECT_EQ(running.Status(), "2 new");
  const int marked = NewMarkPixels(running.View().Frame().PictureImage());
  running.Refresh();
  EXPECT_EQ(running.Status(), "No changes");
  EXPECT_EQ(running.Frame().ChangesWindow().Model().rowCount(), 2);
  running.Frame().Route(command::kAcknowledgeChanges);
  // The icons have some blue of their own.
  EXPECT_GT(marked, NewMarkPixels(running.View().Frame().PictureImage()) + 100);
  EXPECT_LT(unmarked, marked - 100);
}

}  // namespace
}  // namespace mapvine
