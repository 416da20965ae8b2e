#pragma once

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
// file beside it: the writer looks at the stop flag as it goes, in every
// phase, so a stopped export ends within moments. The command's end (the
// window closing) never waits for the writer: it asks it to stop and lets
// it go, and the writer, which owns its copy and never touches the
// document, removes its temporary file alone; the program's end waits for
// it. What the status bar says comes from the writer's own outcome once it
// ended: a stop that came as the file was being renamed into place finds
// it written.
class ExportCommand {
 public:
  // Why an export cannot start now.
  static constexpr const char* kBusyText = "Not while a refresh or an arrangement runs: Stop it first (Esc)";

  // How the copy is written; WritePicture unless a test asks otherwise.
  using Writer = std::function<ExportOutcome(const ExportedPicture&, const std::string& path, ExportFormat,
                                             const ExportOptions&, WorkProgress&)>;

  ExportCommand(CMapvineDoc& doc, StatusProgress& progress, Writer writer = WritePicture);

  // Starts writing `choice`; false (and nothing started) while this or
  // anything else shows its progress.
  bool Start(const ExportChoice& choice);
  // True until the writer ended, stopped or not.
  bool Running() const { return run_.Running(); }
  // The person asked to stop: unless the file was complete by then,
  // nothing is written, and any file of that name stays as it was.
  void Stop() { run_.Stop(); }
  // The name of the file being written, for a question before closing.
  const std::string& Path() const { return path_; }

  // Called when an export was written, stopped or failed.
  std::function<void()> finished;

 private:
  void Report(ExportOutcome outcome);

  CMapvineDoc& doc_;
  StatusProgress& progress_;
  Writer writer_;
  BackgroundRun run_;
  std::string path_;
};

}  // namespace mapvine
