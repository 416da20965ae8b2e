#include "app/ExportCommand.h"

#include <QFileInfo>

#include <memory>

namespace mapvine {

ExportCommand::ExportCommand(CMapvineDoc& doc, StatusProgress& progress)
    : doc_(doc), progress_(progress), run_(progress, kLongestWaitAtEnd) {}

bool ExportCommand::Start(const ExportChoice& choice) {
  if (Running() || progress_.Running()) return false;
  struct Work {
    ExportedPicture picture;
    ExportOutcome outcome = ExportOutcome::Failed;
  };
  auto work = std::make_shared<Work>();
  work->picture = CollectPicture(doc_, choice.options.includeHidden);
  path_ = choice.path;
  run_.Start(
      "Export",
      [work, choice](WorkProgress& progress) {
        work->outcome = WritePicture(work->picture, choice.path, choice.format, choice.options, progress);
      },
      [this, work](BackgroundRun::End end) {
        const std::string name = QFileInfo(QString::fromStdString(path_)).fileName().toStdString();
        // A file written by the time the stop was seen is there: say so.
        if (end == BackgroundRun::End::Stopped || work->outcome == ExportOutcome::Stopped) {
          doc_.ShowStatusText("Export stopped; " + name + " was not written");
        } else if (work->outcome == ExportOutcome::Written) {
          doc_.ShowStatusText("Exported the picture to " + name);
        } else {
          ReportExportFailure();
        }
        if (finished) finished();
      });
  return true;
}

}  // namespace mapvine
