#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/MapvineDoc.h"

namespace mapvine {

enum class ExportFormat { Svg, Pdf, GraphMl, Dot, Json };

struct ExportOptions {
  // Hidden nodes, and the links that end at them, are written too.
  bool includeHidden = false;
  // PDF: the picture at screen size across A4 pages rather than one page
  // the picture's size.
  bool pdfAcrossPages = false;
};

// A format for the file dialog and the command line.
struct ExportFormatRow {
  ExportFormat format;
  const char* extension;    // ".svg"
  const char* description;  // "SVG image"
};
const std::vector<ExportFormatRow>& ExportFormats();

// The format a file name asks for by its extension, in any case; none for
// an extension no format has.
std::optional<ExportFormat> ExportFormatOf(std::string_view path);

// Writes the picture as shown (see ExportedPicture.h) to `path` in
// `format`. The file is written beside its final name and renamed over it
// when complete, so a failed export leaves no half-written file and any
// file of that name as it was. False when it could not be written, after
// the same message a failed save shows.
bool ExportPicture(const CMapvineDoc& doc, const std::string& path, ExportFormat format,
                   const ExportOptions& options);

}  // namespace mapvine
