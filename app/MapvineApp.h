#pragma once

#include <QString>
#include <memory>

#include "app/CommandLine.h"
#include "app/DocumentCommands.h"
#include "app/DocumentFile.h"
#include "app/RecentFileList.h"
#include "history/HistoryRecorder.h"
#include "history/RefreshHistory.h"
#include "model/MapvineDoc.h"
#include "model/SavedTopology.h"
#include "protocol/SnaLibrary.h"
#include "view/CommandBindings.h"

namespace mapvine {

class CMainFrame;
class HistoryWindow;
class QtPrompts;

// The application: one document, its main window and the recent-file list.
// It handles new, open, the recent files and exit. The node library is
// handed in, so the program and its tests can serve it differently; when it
// did not load, the window still opens and says why.
class CMapvineApp final : public CommandOwner {
 public:
  explicit CMapvineApp(SnaLibrary node);
  ~CMapvineApp() override;
  CMapvineApp(const CMapvineApp&) = delete;
  CMapvineApp& operator=(const CMapvineApp&) = delete;

  // Start-up: the window (none for a batch run, which never shows one),
  // then a new picture or the file named on the command line. False when
  // that file could not be opened: the program ends. Without a node library
  // the window says so once it is up (a start-up refresh says it itself).
  bool InitInstance(const CommandLine& line);
  // The batch outputs of --export, --save, --render and --changes, in that
  // order; the process exit status. Only --render draws the picture, once. `refreshed`: the node
  // answered the refresh asked for, if any.
  int WriteOutputs(const CommandLine& line, bool refreshed = true);

  // Offers a modified picture for saving, then opens `path`.
  bool OpenDocumentFile(const QString& path);
  bool NewDocumentFile();

  CMapvineDoc& Document() { return *doc_; }
  // Only in a run with a window.
  CMainFrame& MainFrame() { return *frame_; }
  DocumentCommands& Commands() { return commands_; }
  const RecentFileList& RecentFiles() const { return recentFiles_; }
  RefreshHistory& History() { return refreshHistory_; }
  // None when no history is kept.
  HistoryRecorder* Recorder() { return recorder_.get(); }
  // Only in a run with a window.
  HistoryWindow& HistoryInWindow() { return *historyWindow_; }

  // Binds new, open, the recent files and exit.
  void BindCommands(CommandBindings& commands) override;

 private:
  LoadOutcome OpenWithoutAsking(const QString& path);
  // Opens the history the settings and the command line choose, if any.
  void StartHistory(const CommandLine& line);
  // Says once that the history cannot be kept; the program goes on without.
  void ReportHistoryProblem(const QString& message);
  void OnPathChanged();

  std::string nodeUnavailable_;  // why the node library did not load
  RecentFileList recentFiles_;
  // Only pictures a person opened or saved in the window are remembered,
  // not those a script had the program read or write without one.
  bool rememberFiles_ = true;
  std::unique_ptr<CMapvineDoc> doc_;
  DocumentFile file_;
  DocumentCommands commands_;
  std::unique_ptr<HistoryRecorder> recorder_;
  RefreshHistory refreshHistory_{nullptr};
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<HistoryWindow> historyWindow_;
  std::unique_ptr<QtPrompts> prompts_;
};

}  // namespace mapvine
