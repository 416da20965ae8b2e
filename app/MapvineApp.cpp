#include "app/MapvineApp.h"

#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/HistorySettings.h"
#include "app/HistoryWindow.h"
#include "app/MainFrame.h"
#include "app/QtPrompts.h"
#include "app/RememberedSettings.h"
#include "base/UserPrompts.h"
#include "base/Trace.h"
#include "export/PictureExport.h"
#include "render/HeadlessPicture.h"
#include "view/CommandIds.h"

// The resources live in a static library; this pulls them into the program.
static void InitResources() { Q_INIT_RESOURCE(mapvine); }

namespace mapvine {

CMapvineApp::CMapvineApp(SnaLibrary node)
    : nodeUnavailable_(node.Loaded() ? std::string() : node.error),
      doc_(std::make_unique<CMapvineDoc>()),
      commands_(*doc_, std::move(node), file_) {
  InitResources();
  file_.pathChanged = [this] { OnPathChanged(); };
  commands_.history = &refreshHistory_;
}

CMapvineApp::~CMapvineApp() {
  commands_.history = nullptr;
  commands_.beforeSave = nullptr;
  historyWindow_.reset();
  prompts_.reset();
  frame_.reset();  // the view lets go of the document
}

bool CMapvineApp::InitInstance(const CommandLine& line) {
  SetTraceEnabled(line.trace);
  rememberFiles_ = !line.Batch();
  // A batch run has no window to draw in: the picture is drawn at most
  // once, for --render, when it is complete.
  doc_->SetHeadless(line.Batch());
  if (!line.Batch()) {
    frame_ = std::make_unique<CMainFrame>(*doc_, commands_, *this);
    frame_->SetRecentFiles(recentFiles_.Files());
    prompts_ = std::make_unique<QtPrompts>(frame_.get(), CMainFrame::kTitle);
  }
  StartHistory(line);
  if (frame_) {
    historyWindow_ = std::make_unique<HistoryWindow>(*frame_, *doc_, refreshHistory_, recorder_.get());
    commands_.beforeSave = [this] {
      if (historyWindow_->ShowingPast()) historyWindow_->GoLive();
    };
  }

  if (line.file.empty()) {
    if (!doc_->NewDocument()) return false;
  } else {
    const LoadOutcome outcome = OpenWithoutAsking(QString::fromStdString(line.file));
    // A refused file leaves a new picture; a window shows it, but a batch
    // run would write an empty picture as if all were well.
    if (outcome == LoadOutcome::Unreadable || (outcome != LoadOutcome::Loaded && line.Batch())) return false;
  }
  if (!line.Batch()) {
    // The window the user left wins over one fitted to the picture.
    RestoreWindowLayout(*frame_);
    frame_->show();
    frame_->UpdateCommandStates();
    if (!nodeUnavailable_.empty() && !line.refresh) {
      QTimer::singleShot(0, frame_.get(), [this] {
        // The reason reads as on standard error, as a sentence of its own.
        const QString reason = QString::fromStdString(nodeUnavailable_);
        Prompts().ShowWarning((reason.left(1).toUpper() + reason.mid(1)).toStdString() +
                              "\nPictures can still be opened, arranged and saved; Refresh needs the node library.");
      });
    }
  }
  return true;
}

void CMapvineApp::StartHistory(const CommandLine& line) {
  const HistorySettings settings = LoadHistorySettings();
  if (!settings.keep && line.historyDb.empty()) return;
  QString error;
  const std::optional<HistoryLocation> location = ChosenHistoryLocation(line.historyDb, error);
  if (!location) return ReportHistoryProblem(error + ". Mapvine goes on without history.");
  recorder_ = std::make_unique<HistoryRecorder>(*location, settings.retentionDays);
  refreshHistory_.SetRecorder(recorder_.get());
  QObject::connect(recorder_.get(), &HistoryRecorder::Failed, [this](const QString& message) {
    ReportHistoryProblem(message);
  });
}

void CMapvineApp::ReportHistoryProblem(const QString& message) {
  if (!frame_) {
    std::fprintf(stderr, "mapvine: %s\n", qPrintable(message));
    return;
  }
  doc_->ShowStatusText(message.toStdString());
  Prompts().ShowWarning(message.toStdString());
}

int CMapvineApp::WriteOutputs(const CommandLine& line, bool refreshed) {
  // A batch run has no event loop to hear of a failure: ask.
  if (recorder_) {
    recorder_->Flush();
    if (recorder_->Failing()) ReportHistoryProblem(recorder_->FailureMessage());
  }
  int status = 0;
  // The export shows the picture as refreshed and arranged; a save that
  // follows it cannot change what it wrote.
  if (!line.exportPath.empty()) {
    const ExportOptions options{.includeHidden = line.exportAll, .pdfAcrossPages = line.exportPages};
    const std::optional<ExportFormat> format = ExportFormatOf(line.exportPath);
    if (!format || !ExportPicture(*doc_, line.exportPath, *format, options)) status = 1;
  }
  if (!line.savePath.empty() && !commands_.SaveTo(QString::fromStdString(line.savePath))) status = 1;
  if (!line.renderPath.empty()) {
    HeadlessPicture headless(*doc_);
    const QImage picture = headless.PictureImage();
    if (picture.isNull() || !picture.save(QString::fromStdString(line.renderPath), "PNG")) {
      std::fprintf(stderr, "mapvine: could not write the picture to %s\n", line.renderPath.c_str());
      status = 1;
    }
  }
  if (!line.changes) return status;
  // A refresh the node failed would list everything as gone, or nothing.
  if (status != 0 || !refreshed) return 2;
  std::vector<TopologyChange> changes = doc_->lastChanges.Changes();
  SortChanges(changes);
  for (const TopologyChange& change : changes) std::printf("%s\n", ChangeLine(change).c_str());
  std::fflush(stdout);
  return changes.empty() ? 0 : 1;
}

bool CMapvineApp::NewDocumentFile() {
  if (!commands_.SaveModified()) return false;
  if (!doc_->NewDocument()) return false;
  if (frame_) frame_->Edits().Clear();
  file_.SetPath({});
  return true;
}

bool CMapvineApp::OpenDocumentFile(const QString& path) {
  if (!commands_.SaveModified()) return false;
  return OpenWithoutAsking(path) == LoadOutcome::Loaded;
}

LoadOutcome CMapvineApp::OpenWithoutAsking(const QString& path) {
  const LoadOutcome outcome = OpenTopologyFile(*doc_, path.toStdString());
  // Whatever was read replaced the picture the history's edits were made on.
  if (frame_) frame_->Edits().Clear();
  if (outcome == LoadOutcome::Unreadable) {
    if (rememberFiles_) {
      recentFiles_.Remove(QFileInfo(path).absoluteFilePath());
      if (frame_) frame_->SetRecentFiles(recentFiles_.Files());
    }
    return outcome;
  }
  doc_->SetModified(false);
  // A refused file leaves a new picture that has no file of its own.
  file_.SetPath(outcome == LoadOutcome::Loaded ? path : QString());
  return outcome;
}

void CMapvineApp::OnPathChanged() {
  if (rememberFiles_ && !file_.Path().isEmpty()) recentFiles_.Add(file_.Path());
  if (frame_) {
    frame_->SetDocumentName(file_.DisplayName());
    frame_->SetRecentFiles(recentFiles_.Files());
  }
}

void CMapvineApp::BindCommands(CommandBindings& commands) {
  commands.Bind(command::kFileNew, [this] { NewDocumentFile(); });
  commands.Bind(command::kFileOpen, [this] {
    if (const auto path = Prompts().AskOpenFileName(kTopologyFileFilter)) {
      OpenDocumentFile(QString::fromStdString(*path));
    }
  });
  for (int recent = 0; recent < command::kRecentFileCount; ++recent) {
    commands.Bind(
        command::kFileMruFirst + recent,
        [this, recent] {
          if (recent < recentFiles_.Files().size()) OpenDocumentFile(recentFiles_.Files()[recent]);
        },
        [this, recent] { return CommandState{recent < recentFiles_.Files().size(), false}; });
  }
  commands.Bind(command::kAppExit, [this] {
    if (frame_) frame_->close();
  });
}

}  // namespace mapvine
