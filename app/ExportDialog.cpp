#include "app/ExportDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

#include "app/RememberedSettings.h"

namespace mapvine {

namespace {

// The dialogs remember their folder by filter; exports share one.
constexpr const char* kFolderKey = "Export||";
constexpr const char* kAcrossPages = ", across A4 pages";
constexpr const char* kOnePage = ", one page";

QString FilterOf(const ExportFormatRow& row, const char* variant = "") {
  return QString::fromLatin1(row.description) + QLatin1String(variant) + " (*" + QLatin1String(row.extension) + ")";
}

const ExportFormatRow& RowOf(ExportFormat format) {
  for (const ExportFormatRow& row : ExportFormats()) {
    if (row.format == format) return row;
  }
  return ExportFormats().front();
}

}  // namespace

QStringList ExportFilters() {
  QStringList filters;
  for (const ExportFormatRow& row : ExportFormats()) {
    if (row.format == ExportFormat::Pdf) {
      filters << FilterOf(row, kOnePage) << FilterOf(row, kAcrossPages);
    } else {
      filters << FilterOf(row);
    }
  }
  return filters;
}

std::optional<ExportChoice> ExportChoiceFor(const QString& filter, const QString& path) {
  if (path.trimmed().isEmpty()) return std::nullopt;
  ExportChoice choice;
  choice.path = path.toStdString();
  choice.options.pdfAcrossPages = filter.contains(QLatin1String(kAcrossPages));
  if (const std::optional<ExportFormat> named = ExportFormatOf(choice.path)) {
    choice.format = *named;
  } else {
    const auto row = std::find_if(ExportFormats().begin(), ExportFormats().end(), [&filter](const ExportFormatRow& r) {
      return filter.startsWith(QLatin1String(r.description));
    });
    choice.format = row != ExportFormats().end() ? row->format : ExportFormat::Svg;
    choice.path += RowOf(choice.format).extension;
  }
  if (choice.format != ExportFormat::Pdf) choice.options.pdfAcrossPages = false;
  return choice;
}

std::optional<ExportChoice> AskExportChoice(QWidget* parent) {
  QFileDialog dialog(parent, QObject::tr("Export"), LastFolderFor(kFolderKey));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(ExportFilters());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().first();
  RememberFolderOf(kFolderKey, path);
  return ExportChoiceFor(dialog.selectedNameFilter(), path);
}

}  // namespace mapvine
