#include "export/PictureExport.h"

#include <QSaveFile>
#include <QString>

#include <string>

#include "base/UserPrompts.h"
#include "export/ExportWriters.h"

namespace mapvine {

const std::vector<ExportFormatRow>& ExportFormats() {
  static const std::vector<ExportFormatRow> formats{
      {ExportFormat::Svg, ".svg", "SVG image"},
      {ExportFormat::Pdf, ".pdf", "PDF document"},
      {ExportFormat::GraphMl, ".graphml", "GraphML graph"},
      {ExportFormat::Dot, ".dot", "Graphviz DOT graph"},
      {ExportFormat::Json, ".json", "JSON"},
  };
  return formats;
}

std::optional<ExportFormat> ExportFormatOf(std::string_view path) {
  const QString name = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  for (const ExportFormatRow& row : ExportFormats()) {
    if (name.endsWith(QLatin1String(row.extension), Qt::CaseInsensitive) &&
        name.size() > static_cast<qsizetype>(std::char_traits<char>::length(row.extension))) {
      return row.format;
    }
  }
  return std::nullopt;
}

namespace {

bool WriteFormat(const ExportedPicture& picture, ExportFormat format, const ExportOptions& options, QIODevice& out,
                 WorkProgress& progress) {
  switch (format) {
    case ExportFormat::Svg:
      return WriteSvg(picture, out, progress);
    case ExportFormat::Pdf:
      return WritePdf(picture, options.pdfAcrossPages, out, progress);
    case ExportFormat::GraphMl:
      return WriteGraphMl(picture, out, progress);
    case ExportFormat::Dot:
      return WriteDot(picture, out, progress);
    case ExportFormat::Json:
      return WriteJson(picture, out, progress);
  }
  return false;
}

}  // namespace

ExportOutcome WritePicture(const ExportedPicture& picture, const std::string& path, ExportFormat format,
                           const ExportOptions& options, WorkProgress& progress) {
  QSaveFile file(QString::fromStdString(path));
  const bool written = file.open(QIODevice::WriteOnly) && WriteFormat(picture, format, options, file, progress) &&
                       !progress.Stopped() && file.commit();
  if (written) return ExportOutcome::Written;
  file.cancelWriting();
  return progress.Stopped() ? ExportOutcome::Stopped : ExportOutcome::Failed;
}

void ReportExportFailure() { Prompts().ShowMessage(CDIB::kFailedToSave); }

bool ExportPicture(const CMapvineDoc& doc, const std::string& path, ExportFormat format,
                   const ExportOptions& options) {
  WorkProgress progress;
  const bool written = WritePicture(CollectPicture(doc, options.includeHidden), path, format, options, progress) ==
                       ExportOutcome::Written;
  if (!written) ReportExportFailure();
  return written;
}

}  // namespace mapvine
