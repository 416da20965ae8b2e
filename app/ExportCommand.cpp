#include "app/ExportCommand.h"

#include <QFileInfo>

#include <memory>
#include <utility>

namespace mapvine {

ExportCommand::ExportCommand(CMapvineDoc& doc, StatusProgress& progress, Writer writer)
    : doc_(doc),
      progress_(progress),
      writer_(std::move(writer)),
      run_(progress, BackgroundRun::OnStop::FollowToTheEnd) {}

bool ExportCommand::Start(const ExportChoice& choice) {
  if (Running() || progress_.Running()) return false;
  // The copy is the worker's alone, so that it is freed as the worker ends
  // rather than on the GUI thread; the outcome is shared with it, so that
  // one the command's end let go of never touches freed memory.
  auto picture = std::make_shared<const ExportedPicture>(CollectPicture(doc_, choice.options.includeHidden));
  auto outcome = std::make_shared<ExportOutcome>(ExportOutcome::Failed);
  path_ = choice.path;
  run_.Start(
      "Export",
      [picture, outcome, choice, writer = writer_](WorkProgress& progress) {
        *outcome = writer(*picture, choice.path, choice.format, choice.options, progress);
      },
      // The worker has ended: its outcome is the truth, whatever was asked.
      [this, outcome](BackgroundRun::End) { Report(*outcome); });
  return true;
}

void ExportCommand::Report(ExportOutcome outcome) {
  const std::string name = QFileInfo(QString::fromStdString(path_)).fileName().toStdString();
  switch (outcome) {
    case ExportOutcome::Written:
      doc_.ShowStatusText("Exported the picture to " + name);
      break;
    case ExportOutcome::Stopped:
      doc_.ShowStatusText("Export stopped; " + name + " was not written");
      break;
    case ExportOutcome::Failed:
      ReportExportFailure();
      break;
  }
  if (finished) finished();
}

}  // namespace mapvine
