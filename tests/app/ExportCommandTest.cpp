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

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

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
  EXPECT_TRUE(text.contains("\"label\":\"" + QByteArray::fromStdString(label) + "\"")) << label;
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

// The command's end (the window going) never waits for its writer: it asks
// it to stop and lets it go. The writer here holds on until the command is
// gone, then writes as the real one does with what it owns, and leaves no
// file behind.
TEST(ExportCommand, EndingWhileWritingLetsTheWriterFinishAloneAndLeavesNoFile) {
  testing::RunningApp r;
  QTemporaryDir folder;
  std::promise<void> entered;
  std::promise<void> release;
  auto outcome = std::make_shared<std::atomic<int>>(-1);
  auto command = std::make_unique<ExportCommand>(
      r.Doc(), r.Frame().Progress(),
      [&entered, released = release.get_future().share(), outcome](
          const ExportedPicture& picture, const std::string& to, ExportFormat format, const ExportOptions& options,
          WorkProgress& progress) {
        entered.set_value();
        released.wait();
        const ExportOutcome end = WritePicture(picture, to, format, options, progress);
        outcome->store(static_cast<int>(end));
        return end;
      });
  ASSERT_TRUE(command->Start({folder.filePath("p.json").toStdString(), ExportFormat::Json, {}}));
  entered.get_future().wait();
  command.reset();
  EXPECT_EQ(outcome->load(), -1) << "the command's end waited for the writer";
  release.set_value();
  EXPECT_TRUE(WorkerThread::FinishLetGoWorkers(std::chrono::seconds(30)));
  EXPECT_EQ(outcome->load(), static_cast<int>(ExportOutcome::Stopped));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

// Lets the event loop run until `command`'s writer has ended and the
// command said so.
void Settle(const ExportCommand& command) {
  while (command.Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// What the status bar says after a stop is how the writer really ended: a
// stop that came as the file was being renamed into place finds it
// written, one the writer saw leaves the file of that name as it was, and
// a failure says so. Each writer waits for the stop, then ends its way;
// the real writer then races a stop asked as soon as it starts.
TEST(ExportCommand, WhatItSaysAfterAStopIsHowTheWriterReallyEnded) {
  testing::RunningApp r;
  QTemporaryDir folder;
  const std::string path = folder.filePath("p.json").toStdString();
  const auto keep = [&folder] {
    QFile kept(folder.filePath("p.json"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
  };
  const auto content = [&folder] {
    QFile file(folder.filePath("p.json"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
  };
  struct Row {
    ExportOutcome end;
    const char* status;
    bool written;
  };
  const Row rows[] = {
      {ExportOutcome::Written, "Exported the picture to p.json", true},
      {ExportOutcome::Stopped, "Export stopped; p.json was not written", false},
      {ExportOutcome::Failed, "Before", false},  // the failure is a message box
  };
  for (const Row& row : rows) {
    keep();
    r.Doc().ShowStatusText("Before");
    testing::ScriptedPrompts prompts;
    ExportCommand command(r.Doc(), r.Frame().Progress(),
                          [&row](const ExportedPicture& picture, const std::string& to, ExportFormat format,
                                 const ExportOptions& options, WorkProgress& progress) {
                            while (!progress.Stopped()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                            if (row.end == ExportOutcome::Failed) return ExportOutcome::Failed;
                            // Written: the file was complete before the writer looked.
                            WorkProgress unstopped;
                            return WritePicture(picture, to, format, options,
                                                row.end == ExportOutcome::Written ? unstopped : progress);
                          });
    ASSERT_TRUE(command.Start({path, ExportFormat::Json, {}}));
    QCoreApplication::processEvents();
    command.Stop();
    Settle(command);
    EXPECT_EQ(r.Status(), row.status) << static_cast<int>(row.end);
    EXPECT_EQ(content() != "kept", row.written) << static_cast<int>(row.end);
    EXPECT_EQ(prompts.messages.size(), row.end == ExportOutcome::Failed ? 1u : 0u);
  }
  for (int attempt = 0; attempt < 20; ++attempt) {
    keep();
    ExportCommand command(r.Doc(), r.Frame().Progress());
    ASSERT_TRUE(command.Start({path, ExportFormat::Json, {}}));
    command.Stop();
    Settle(command);
    const bool written = content() != "kept";
    EXPECT_EQ(r.Status(), written ? "Exported the picture to p.json" : "Export stopped; p.json was not written");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.json"}) << attempt;
  }
}

}  // namespace
}  // namespace mapvine
