// The history in the window: the picture replayed at a past time is the
// picture as it was then, pixel for pixel; notifications while the window
// is not active.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/HistoryDock.h"
#include "app/HistoryWindow.h"
#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "history/HistoryRecorder.h"
#include "tests/app/AppFixture.h"
#include "tests/app/NodeLibrary.h"
#include "tests/support/PrivateDesktop.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {
namespace {

using testing::PrivateDesktop;

// The window against the simulated node serving the sample network, its
// history in a temporary folder. The sample's NN1-NN5 TG goes down at 10 s
// and comes back at 40 (SNANODE_TIME sets the node's clock).
SnaLibrary SampleNode() {
  std::ifstream sample(MAPVINE_SOURCE_DIR "/resources/sample.net");
  return testing::NodeLibraryServing(std::string(std::istreambuf_iterator<char>(sample), {}));
}

struct SampleWithHistory : testing::ForgottenSettings {
  explicit SampleWithHistory(const QString& history = {}) : app(SampleNode()) {
    CommandLine line;
    line.historyDb = (history.isEmpty() ? folder.filePath("history.sqlite") : history).toStdString();
    EXPECT_TRUE(app.InitInstance(line));
  }
  ~SampleWithHistory() { unsetenv("SNANODE_TIME"); }
  void RefreshAt(const char* seconds) {
    setenv("SNANODE_TIME", seconds, 1);
    QThread::msleep(5);  // each refresh at a time of its own
    testing::RefreshAndWait(app);
  }
  // Lets the history's threads finish and their answers come back.
  void Settle() {
    app.Recorder()->Flush();
    app.History().Flush();
    QCoreApplication::processEvents();
  }
  QTemporaryDir folder;
  CMapvineApp app;
};

TEST(HistoryWindow, ReplaysThePictureAsItWasAtEachTime) {
  SampleWithHistory sample;
  CMapvineApp& app = sample.app;
  CMainFrame& frame = app.MainFrame();
  std::vector<std::pair<HistoryTime, QImage>> seen;
  for (const char* seconds : {"0", "5", "15", "45"}) {
    sample.RefreshAt(seconds);
    frame.Route(command::kAcknowledgeChanges);  // a past picture shows no marks
    seen.emplace_back(app.History().Last().when, frame.View().Frame().PictureImage());
    QCoreApplication::processEvents();
  }
  sample.Settle();  // the dock's rows come back from the history's threads
  HistoryWindow& history = app.HistoryInWindow();
  history.Dock().show();  // a hidden list is made when shown
  EXPECT_EQ(history.Dock().Model().rowCount(), 2);
  ASSERT_NE(seen[1].second, seen[2].second);  // the TG's colour changed
  for (std::size_t i = 1; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    history.ShowTime(seen[i].first);
    EXPECT_TRUE(history.ShowingPast());
    EXPECT_EQ(frame.findChild<QToolBar*>("HistoryBanner")->findChild<QLabel*>()->text(), history.BannerText());
    EXPECT_TRUE(frame.View().Frame().PictureImage() == seen[i].second);
  }
  // A refresh while the past is shown runs on today's picture, and the
  // replay follows.
  setenv("SNANODE_TIME", "15", 1);
  history.ShowTime(seen[1].first);
  testing::RefreshAndWait(app);
  EXPECT_TRUE(frame.View().Frame().PictureImage() == seen[1].second);
  // Saving writes today's picture, not the one shown.
  ASSERT_TRUE(app.Commands().SaveTo(sample.folder.filePath("saved.top")));
  EXPECT_FALSE(history.ShowingPast());
  sample.Settle();
  EXPECT_EQ(history.Dock().Model().rowCount(), 3);
  frame.Route(command::kAcknowledgeChanges);
  EXPECT_TRUE(frame.View().Frame().PictureImage() == seen[2].second);
}

// During auto refresh a refresh with changes notifies, unless the window
// is the active one: its marks already say it.
TEST_F(PrivateDesktop, TheWindowNotifiesOnlyWhileItIsNotActive) {
  SampleWithHistory sample;
  CMapvineApp& app = sample.app;
  app.HistoryInWindow().Notifier().UseBus(connection_);
  app.Document().settings.autoRefresh = true;
  CMainFrame& frame = app.MainFrame();
  const auto refreshAt = [&](const char* seconds) { sample.RefreshAt(seconds); };
  QWidget other;  // another program's window in front
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_FALSE(frame.isActiveWindow());
  refreshAt("0");   // the baseline: no notification
  refreshAt("15");  // the TG went inactive while another window was in front
  refreshAt("16");  // nothing changed
  QApplication::setActiveWindow(&frame);
  ASSERT_TRUE(frame.isActiveWindow());
  refreshAt("45");  // back, but the person is looking
  Settle();
  EXPECT_EQ(History(), QStringList{"1 link went inactive / 1 link went inactive: NN1\u2013NN5 TG 24"});
}

// The notification's Show action, chosen in the notification daemon,
// brings the window to the front on the first resource it names (NN1, the
// TG's owner end, hidden meanwhile: showing it is the proof).
TEST_F(PrivateDesktop, TheShowActionBringsTheWindowToTheFirstResource) {
  SampleWithHistory sample;
  CMapvineApp& app = sample.app;
  app.HistoryInWindow().Notifier().UseBus(connection_);
  app.Document().settings.autoRefresh = true;
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  sample.RefreshAt("0");
  app.Document().FindNode("NN1")->hidden = 1;
  sample.RefreshAt("15");
  sample.Settle();
  Settle();  // the notification is shown
  ASSERT_FALSE(app.MainFrame().isActiveWindow());
  Dunstctl({"action", "0"});
  Settle();
  EXPECT_TRUE(app.MainFrame().isActiveWindow());
  EXPECT_EQ(app.Document().FindNode("NN1")->hidden, 0);
}

// What nobody acknowledged is marked again in the next session; what was
// acknowledged stays so. Each session opens a new picture, whose first
// refresh marks nothing itself, finds the TG marked as the last session
// left it, refreshes on, and acknowledges or not.
TEST(HistoryWindow, AcknowledgementsOutliveTheSession) {
  QTemporaryDir folder;
  const QString file = folder.filePath("history.sqlite");
  struct Session {
    std::vector<const char*> times;
    ChangeMark restored;
    bool acknowledge;
  };
  const Session sessions[] = {
      {{"0", "15"}, ChangeMark::None, true},  // the TG went inactive, and was seen
      {{"16", "45"}, ChangeMark::None, false},  // it came back, unseen
      {{"46"}, ChangeMark::WentActive, false},
  };
  for (const Session& session : sessions) {
    SampleWithHistory sample(file);
    sample.RefreshAt(session.times[0]);
    sample.Settle();
    EXPECT_EQ(sample.app.Document().FindLink("NN1", "NN5", 24)->changeMark, session.restored) << session.times[0];
    for (std::size_t i = 1; i < session.times.size(); ++i) sample.RefreshAt(session.times[i]);
    if (session.acknowledge) sample.app.MainFrame().Route(command::kAcknowledgeChanges);
    sample.Settle();
  }
}

}  // namespace
}  // namespace mapvine
