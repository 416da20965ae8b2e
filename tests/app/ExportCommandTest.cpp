// File > Export... writes on a worker while the window goes on: the picture
// is copied when the export starts, and Stop or the window closing leave
// neither a half-written file nor the temporary one beside it.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "snanode/NetworkGenerator.h"
#include "tests/app/AppFixture.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

// Large enough that writing it takes a good many of the GUI thread's turns.
struct LargeApp : testing::RunningApp {
  LargeApp() : RunningApp(snanode::GenerateNetworkText(20000, 1)) {
    Refresh();
    app.Commands().askSaveChanges = [](const QString&) { return SaveChoice::No; };
  }
  void Export(const char* name, ExportFormat format) {
    ASSERT_TRUE(Frame().Export().Start({folder.filePath(name).toStdString(), format, {}}));
    ASSERT_TRUE(Frame().Export().Running());
    Frame().UpdateCommandStates();  // as after every command the window routes
  }
  // The folder once the export and any writer it let go of are done: no
  // file but the one asked for, if any. A test that never gets there ends
  // at the suite's time limit.
  QStringList FilesOnceSettled() {
    const QRegularExpression asked("^p\\.[a-z]+$");
    for (;;) {
      const QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
      if (!Frame().Export().Running() && files.filter(asked).size() == files.size()) return files;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
  }
  QTemporaryDir folder;
};

TEST(ExportCommand, WritesThePictureAsItWasWhenStartedWhileTheDocumentChanges) {
  LargeApp r;
  CNode& first = *r.Doc().Nodes().begin()->get();
  const std::string label = first.label;
  r.Export("p.json", ExportFormat::Json);
  EXPECT_TRUE(r.Frame().Progress().StopButton().isVisibleTo(r.Frame().statusBar()));
  EXPECT_FALSE(r.Frame().ActionFor(command::kFileExport)->isEnabled()) << "one at a time";
  r.Doc().RenameNode(first, "LATER");
  EXPECT_EQ(r.FilesOnceSettled(), QStringList{"p.json"});
  EXPECT_EQ(r.Status(), "Exported the picture to p.json");
  EXPECT_TRUE(r.Frame().ActionFor(command::kFileExport)->isEnabled());
  QFile written(r.folder.filePath("p.json"));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray text = written.readAll();
  EXPECT_TRUE(text.contains("\"label\": \"" + QByteArray::fromStdString(label) + "\"")) << label;
  EXPECT_FALSE(text.contains("LATER"));
}

TEST(ExportCommand, StopAndClosingTheWindowLeaveNoFile) {
  for (const bool closing : {false, true}) {
    LargeApp r;
    r.Prompts().yes = true;
    r.Export("p.svg", ExportFormat::Svg);
    if (closing) {
      EXPECT_TRUE(r.Frame().close());
      EXPECT_EQ(r.Prompts().questions.size(), 1u);
    } else {
      r.Frame().Progress().StopButton().click();
    }
    EXPECT_EQ(r.FilesOnceSettled(), QStringList{}) << closing;
    if (!closing) {
      EXPECT_EQ(r.Status(), "Export stopped; p.svg was not written");
    }
  }
}

}  // namespace
}  // namespace mapvine
