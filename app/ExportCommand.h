#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "app/BackgroundRun.h"
#include "app/ExportDialog.h"
#include "app/StatusProgress.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// File > Export... once a file is chosen: the picture as shown is copied
// on the GUI thread and written on a worker while the window stays usable,
// with the progress and a Stop button in the status bar. Whatever the
// document does meanwhile, the copy is what is written. Stop, a failure or
// the command's end leave neither a half-written file nor the temporary
// file beside it: the writer looks at the stop flag as it goes (after each
// node or link it writes; a PDF after each node it draws), so the end
// waits for it only a moment, and never longer than kLongestWaitAtEnd.
class ExportCommand {
 public:
  // The longest the command's end waits for the writer to stop.
  static constexpr std::chrono::milliseconds kLongestWaitAtEnd{2000};
  // Why an export cannot start now.
  static constexpr const char* kBusyText = "Not while a refresh or an arrangement runs: Stop it first (Esc)";

  ExportCommand(CMapvineDoc& doc, StatusProgress& progress);

  // Starts writing `choice`; false (and nothing started) while this or
  // anything else shows its progress.
  bool Start(const ExportChoice& choice);
  bool Running() const { return run_.Running(); }
  // The person asked to stop: nothing is written, and any file of that
  // name stays as it was.
  void Stop() { run_.Stop(); }
  // The name of the file being written, for a question before closing.
  const std::string& Path() const { return path_; }

  // Called when an export was written, stopped or failed.
  std::function<void()> finished;

 private:
  CMapvineDoc& doc_;
  StatusProgress& progress_;
  BackgroundRun run_;
  std::string path_;
};

}  // namespace mapvine
