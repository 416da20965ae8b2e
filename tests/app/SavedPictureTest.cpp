#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/RecentFileList.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

TEST(RecentFiles, NewestFirstFourAtMostAndKept) {
  QSettings("Mapvine", "Mapvine").clear();
  {
    RecentFileList list;
    for (const char* name : {"/p/a.top", "/p/b.top", "/p/c.top", "/p/d.top", "/p/e.top", "/p/c.top"}) list.Add(name);
    EXPECT_EQ(list.Files(), (QStringList{"/p/c.top", "/p/e.top", "/p/d.top", "/p/b.top"}));
    list.Remove("/p/d.top");
  }
  // A second program run finds the same list.
  EXPECT_EQ(RecentFileList().Files(), (QStringList{"/p/c.top", "/p/e.top", "/p/b.top"}));
  QSettings("Mapvine", "Mapvine").clear();
}

TEST(SavedPicture, SaveAsThenOpenFromTheRecentList) {
  QTemporaryDir folder;
  testing::RunningApp running;
  running.Refresh();
  running.Frame().Route(command::kManualAddNode);
  const QImage picture = running.View().Frame().PictureImage();

  // The extension is added when the name has none.
  running.Prompts().fileNames.push_back(QDir(folder.path()).filePath("network").toStdString());
  ASSERT_TRUE(running.Frame().Route(command::kFileSaveAs));
  const QString saved = QDir(folder.path()).filePath("network.top");
  ASSERT_TRUE(QFile::exists(saved));
  EXPECT_FALSE(running.Doc().IsModified());
  EXPECT_EQ(running.Frame().windowTitle(), "network.top[*] - Kelvra Tarnwell Topology");
  QAction* recent = running.Frame().ActionFor(command::kFileMruFirst);
  EXPECT_EQ(recent->text(), "&1 network.top");
  EXPECT_TRUE(recent->isEnabled());

  running.Frame().Route(command::kFileNew);
  EXPECT_EQ(running.Doc().Nodes().size(), 0u);
  EXPECT_EQ(running.Frame().windowTitle(), "Untitled[*] - Kelvra Tarnwell Topology");

  recent->trigger();
  EXPECT_EQ(running.Doc().Nodes().size(), 37u);
  // The node added by hand came back too (its number depends on earlier tests).
  int addedByHand = 0;
  for (const auto& node : running.Doc().Nodes()) addedByHand += node->label.rfind("ENNODE", 0) == 0;
  EXPECT_EQ(addedByHand, 1);
  EXPECT_EQ(running.Frame().windowTitle(), "network.top[*] - Kelvra Tarnwell Topology");
  EXPECT_EQ(running.View().Frame().PictureImage().size(), picture.size());
  EXPECT_TRUE(running.Prompts().messages.empty());
}

TEST(SavedPicture, SaveOfAModifiedPictureOnExit) {
  QTemporaryDir folder;
  testing::RunningApp running;
  running.Frame().show();
  running.Frame().Route(command::kManualAddNode);
  const QString target = QDir(folder.path()).filePath("kept.top");
  running.Prompts().fileNames.push_back(target.toStdString());
  running.app.Commands().askSaveChanges = [](const QString&) { return SaveChoice::Yes; };
  running.Frame().Route(command::kAppExit);
  EXPECT_TRUE(QFile::exists(target));
  EXPECT_FALSE(running.Frame().isVisible());

  // Cancelling the file dialog cancels the exit: nothing is lost.
  testing::RunningApp second;
  second.Frame().show();
  second.Frame().Route(command::kManualAddNode);
  second.app.Commands().askSaveChanges = [](const QString&) { return SaveChoice::Yes; };
  second.Frame().Route(command::kAppExit);
  EXPECT_TRUE(second.Frame().isVisible());
}

TEST(BackgroundImage, CtrlBAsksForTheBitmapAndCancelChangesNothing) {
  testing::RunningApp running;
  running.Refresh();
  running.Doc().SetModified(false);
  const QImage before = running.View().Frame().PictureImage();
  ASSERT_TRUE(running.Frame().Route(command::kNewBackgroundImage));  // cancelled
  EXPECT_FALSE(running.Doc().IsModified());
  EXPECT_EQ(running.View().Frame().PictureImage(), before);

  running.Prompts().fileNames.push_back(MAPVINE_SOURCE_DIR "/resources/EN.BMP");
  ASSERT_TRUE(running.Frame().Route(command::kNewBackgroundImage));
  EXPECT_TRUE(running.Doc().IsModified());
  EXPECT_NE(running.View().Frame().PictureImage(), before);
  EXPECT_EQ(running.Doc().Nodes().size(), 36u);
}

TEST(SavedPicture, UnreadableRecentFileLeavesTheList) {
  QTemporaryDir folder;
  testing::RunningApp running;
  const QString path = QDir(folder.path()).filePath("gone.top");
  running.Prompts().fileNames.push_back(path.toStdString());
  ASSERT_TRUE(running.Frame().Route(command::kFileSaveAs));
  ASSERT_TRUE(QFile::remove(path));
  running.Frame().ActionFor(command::kFileMruFirst)->trigger();
  EXPECT_EQ(running.Prompts().warnings,
            std::vector<std::string>{"Failed to open file \"" + path.toStdString() + "\": No such file or directory"});
  EXPECT_TRUE(running.app.RecentFiles().Files().isEmpty());
  EXPECT_EQ(running.Frame().ActionFor(command::kFileMruFirst)->text(), "Recent File");
  EXPECT_FALSE(running.Frame().ActionFor(command::kFileMruFirst)->isEnabled());
}

// A script's run writes its picture without a window: that file does not
// join the list of files the user opened or saved.
TEST(RecentFiles, HeadlessRunsLeaveTheListAlone) {
  QTemporaryDir folder;
  QSettings("Mapvine", "Mapvine").clear();
  CommandLine line;
  line.savePath = QDir(folder.path()).filePath("copy.top").toStdString();
  CMapvineApp app(SnaLibrary{[](void*, std::uint32_t) {}, {}});
  ASSERT_TRUE(app.InitInstance(line));
  EXPECT_EQ(app.WriteOutputs(line), 0);
  EXPECT_TRUE(RecentFileList().Files().isEmpty());
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A script's run has no window: refreshing and saving lay out no canvas
// pixels, yet the file holds what the window saves, and --render draws
// what the window shows.
TEST(HeadlessRuns, DrawNothingTillRenderedAndSaveWhatTheWindowSaves) {
  QTemporaryDir folder;
  testing::RunningApp window;
  window.Refresh();
  ASSERT_TRUE(window.app.Commands().SaveTo(folder.filePath("window.top")));

  const auto node = testing::NodeServing(snanode::SampleNetworkText());
  CMapvineApp batch(SnaLibrary{[&node](void* block, std::uint32_t length) { node.Call(block, length); }, {}});
  CommandLine line;
  line.savePath = folder.filePath("batch.top").toStdString();
  line.renderPath = folder.filePath("batch.png").toStdString();
  ASSERT_TRUE(batch.InitInstance(line));
  batch.Commands().RefreshAndWait();
  EXPECT_EQ(batch.Document().View(), nullptr);
  EXPECT_EQ(batch.Document().composedBackground, nullptr);
  ASSERT_EQ(batch.WriteOutputs(line), 0);

  EXPECT_EQ(Contents(folder.filePath("batch.top")), Contents(folder.filePath("window.top")));
  EXPECT_EQ(QImage(folder.filePath("batch.png")).convertToFormat(QImage::Format_RGB32),
            window.View().Frame().PictureImage().convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace mapvine
