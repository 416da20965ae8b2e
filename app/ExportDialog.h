#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>

#include "export/PictureExport.h"

namespace mapvine {

// What File > Export... is to write.
struct ExportChoice {
  std::string path;
  ExportFormat format = ExportFormat::Svg;
  ExportOptions options;
};

// The file types the dialog lists, in Qt's filter form: one per format,
// and PDF twice, on one page or across A4 pages.
QStringList ExportFilters();

// What a name given with `filter` chosen asks for: an extension of a known
// format picks that format (a PDF keeping the filter's page choice);
// without one the filter's extension is added. None for an empty name.
std::optional<ExportChoice> ExportChoiceFor(const QString& filter, const QString& path);

// The save dialog for an export; none when cancelled.
std::optional<ExportChoice> AskExportChoice(QWidget* parent);

}  // namespace mapvine
