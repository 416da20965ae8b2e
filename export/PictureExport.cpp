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

bool WriteFormat(const CMapvineDoc& doc, const ExportedPicture& picture, ExportFormat format,
                 const ExportOptions& options, QIODevice& out) {
  switch (format) {
    case ExportFormat::Svg:
      return WriteSvg(doc, picture, out);
    case ExportFormat::Pdf:
      return WritePdf(doc, picture, options.pdfAcrossPages, out);
    case ExportFormat::GraphMl:
      return WriteGraphMl(picture, out);
    case ExportFormat::Dot:
      return WriteDot(picture, out);
    case ExportFormat::Json:
      return WriteJson(picture, out);
  }
  return false;
}

}  // namespace

bool ExportPicture(const CMapvineDoc& doc, const std::string& path, ExportFormat format,
                   const ExportOptions& options) {
  QSaveFile file(QString::fromStdString(path));
  const ExportedPicture picture = CollectPicture(doc, options.includeHidden);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       WriteFormat(doc, picture, format, options, file) && file.commit();
  if (!written) {
    file.cancelWriting();
    Prompts().ShowMessage(CDIB::kFailedToSave);
  }
  return written;
}

}  // namespace mapvine
