// The window against a node that takes its time: it stays usable while the
// node works, and Stop, Escape and Exit never wait for the node.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "app/RefreshBlocking.h"
#include "snanode/LiveNode.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

// The application against the node the library would serve: a description
// file it follows, with delays and hangs. The node is shared with the
// threads that call it, which the program does not wait for.
struct LiveApp {
  explicit LiveApp(const std::string& description) {
    Describe(description);
    QSettings("Mapvine", "Mapvine").clear();
    auto node = std::make_shared<snanode::LiveNode>(path);
    app = std::make_unique<CMapvineApp>(
        SnaLibrary{[node](void* block, std::uint32_t length) { node->Call(block, length); }, {}});
    EXPECT_TRUE(app->InitInstance(CommandLine{}));
    prompts = std::make_unique<testing::ScriptedPrompts>();
  }
  void Describe(const std::string& description) {
    std::ofstream(path, std::ios::trunc) << description;
  }
  CMainFrame& Frame() { return app->MainFrame(); }
  CMapvineDoc& Doc() { return app->Document(); }
  QProgressBar& Bar() { return Frame().Progress().Bar(); }
  // Lets the event loop run until `done` holds; a test that never gets
  // there ends at the suite's time limit, not at a guessed one.
  static void RunUntil(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }

  QTemporaryDir folder;
  std::string path = folder.filePath("network.net").toStdString();
  std::unique_ptr<CMapvineApp> app;
  std::unique_ptr<testing::ScriptedPrompts> prompts;
};

// `count` network nodes whose APINGs wait for the description to change
// (`hold`) or take half a second; the last partner never answers in time,
// so the pass is still running whatever the test does meanwhile.
std::string SlowPartners(int count, bool hold) {
  std::string text = hold ? "hang aping\n" : "delay aping 500\n";
  text += testing::NetworkNodes(count, 0);
  text += "aping NETA.NN" + std::to_string(count - 1) + " ok 1 1 1 1 delay=600000\n";
  return text;
}

TEST(UsableWindow, FindZoomAndStopWorkDuringASlowStatusPass) {
  LiveApp live(SlowPartners(20, true));
  live.Doc().settings.activeQuery = 1;
  live.Frame().Route(command::kRefresh);
  EXPECT_TRUE(live.app->Commands().Refreshing());
  LiveApp::RunUntil([&] { return live.Bar().format().startsWith("Status"); });

  // Find's dialog opens while the pass runs. The node starts answering
  // meanwhile; the answers wait for the dialog, whose edit they are no part
  // of, and come in once it is closed.
  const int checkedBefore = live.Bar().value();
  bool dialogSeen = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(window);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      dialogSeen = true;
      watcher.stop();
      live.Describe(SlowPartners(20, false));
      dialog->reject();
    }
  });
  watcher.start(10);
  live.Frame().Route(command::kFindResource);
  EXPECT_TRUE(dialogSeen);
  LiveApp::RunUntil([&] { return live.Bar().value() > checkedBefore; });

  const double zoom = live.Frame().View().Zooming().Zoom();
  live.Frame().Route(command::kZoomIn);
  EXPECT_GT(live.Frame().View().Zooming().Zoom(), zoom);

  // New and a second Refresh wait; they say why.
  QAction* refresh = live.Frame().ActionFor(command::kRefresh);
  EXPECT_FALSE(refresh->isEnabled());
  EXPECT_EQ(refresh->toolTip(), kBlockedWhileRefreshingText);
  EXPECT_FALSE(live.Frame().ActionFor(command::kFileNew)->isEnabled());
  live.Frame().Route(command::kDelete);
  EXPECT_EQ(live.Frame().StatusText(), kBlockedWhileRefreshingText);

  live.Frame().show();
  live.Frame().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&live.Frame()));
  QTest::keyClick(&live.Frame(), Qt::Key_Escape);
  EXPECT_FALSE(live.app->Commands().Refreshing());
  EXPECT_TRUE(live.Bar().isHidden());
  // The refresh had all its answers; the pass that stopped says what the
  // first refresh of the picture found.
  EXPECT_EQ(live.Frame().StatusText(), "20 nodes, 0 links");
  // The partner that never answers is still being asked.
  EXPECT_TRUE(live.app->Commands().NodeBusy());
  EXPECT_FALSE(refresh->isEnabled());
  EXPECT_EQ(refresh->toolTip(), kNodeBusyText);
  EXPECT_NE(live.Frame().ActionFor(command::kFileNew)->toolTip(), kBlockedWhileRefreshingText);
}

TEST(UsableWindow, AHungTopologyQueryLeavesTheWindowUsableAndExitDoesNotWait) {
  auto live = std::make_unique<LiveApp>("hang topology\nnn NETA.NN1\n");
  live->Frame().Route(command::kRefresh);
  EXPECT_EQ(live->Frame().StatusText(), "Asking the node for its topology\u2026");
  live->Frame().Route(command::kManualAddNode);  // blocked
  EXPECT_TRUE(live->Doc().Nodes().empty());
  live->Frame().Route(command::kZoomIn);

  // After a long silence the window asks; Keep Waiting goes on, Stop ends.
  live->Frame().Progress().NodeSilent();
  QMessageBox* question = live->Frame().Progress().SilenceQuestion();
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(question->text(), StatusProgress::kSilentText);
  question->buttons()[0]->click();  // Keep Waiting
  EXPECT_TRUE(live->app->Commands().Refreshing());
  live->Frame().Progress().NodeSilent();
  live->Frame().Progress().SilenceQuestion()->buttons()[1]->click();  // Stop
  EXPECT_FALSE(live->app->Commands().Refreshing());
  EXPECT_TRUE(live->app->Commands().NodeBusy());

  // The timer does not start another while the query is outstanding.
  emit live->app->Commands().Timer().Fired();
  EXPECT_FALSE(live->app->Commands().Refreshing());

  // Exit: the window closes and the program goes without the answer,
  // which the node then gives to nobody.
  EXPECT_TRUE(live->Frame().close());
  live->app.reset();
  live->Describe("nn NETA.NN1\n");
}

}  // namespace
}  // namespace mapvine
