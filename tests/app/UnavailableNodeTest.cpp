// The window when the node cannot tell it anything: a node that is down, or
// no node library at all.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

const char kNotStarted[] =
    "PARAMETER_CHECK, NODE_NOT_STARTED (primary 0x0100, secondary 0x00001B00)";

TEST(UnavailableNode, ANodeThatIsDownIsNamedNotShownAsAnEmptyNetwork) {
  testing::RunningApp running("nn NETA.NN1\nnn NETA.NN2\nnode-state not-started\n");
  running.Doc().ManualAddNode();  // something the picture already shows
  const std::string failed = std::string("Refresh failed: NodeTopologyQuery returned ") + kNotStarted;

  ASSERT_TRUE(running.Frame().Route(command::kRefresh));
  EXPECT_EQ(running.Status().toStdString(), failed);
  ASSERT_EQ(running.Prompts().warnings.size(), 1u);
  EXPECT_EQ(running.Prompts().warnings[0].rfind(failed + "\n", 0), 0u);
  EXPECT_EQ(running.Doc().Nodes().size(), 1u);

  // Timer ticks keep the status line but raise no further box; F5 does.
  emit running.View().RefreshTimerFired();
  emit running.View().RefreshTimerFired();
  EXPECT_EQ(running.Status().toStdString(), failed);
  EXPECT_EQ(running.Prompts().warnings.size(), 1u);
  running.Frame().Route(command::kRefresh);
  EXPECT_EQ(running.Prompts().warnings.size(), 2u);
}

struct AppWithoutLibrary {
  AppWithoutLibrary() : app(SnaLibrary{{}, "cannot load the SNA node library libsnactl.so (tried x.so: gone)"}) {
    QSettings("Mapvine", "Mapvine").clear();
    EXPECT_TRUE(app.InitInstance(CommandLine{}));
    scripted = std::make_unique<testing::ScriptedPrompts>();
    QApplication::processEvents();  // the window is up: now it says why
  }
  CMapvineApp app;
  std::unique_ptr<testing::ScriptedPrompts> scripted;
};

TEST(UnavailableNode, WithoutALibraryTheWindowOpensSaysWhyAndStillSaves) {
  AppWithoutLibrary running;
  ASSERT_TRUE(running.app.MainFrame().isVisible());
  auto& warnings = running.scripted->warnings;
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("cannot load the SNA node library libsnactl.so (tried x.so: gone)\n", 0), 0u);

  running.app.MainFrame().Route(command::kRefresh);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[1].rfind("Refresh failed: cannot load the SNA node library", 0), 0u);

  QTemporaryDir folder;
  running.app.Document().ManualAddNode();
  EXPECT_TRUE(running.app.Commands().SaveTo(QDir(folder.path()).filePath("offline.top")));
}

}  // namespace
}  // namespace mapvine
