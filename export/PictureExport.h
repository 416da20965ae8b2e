#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/WorkerThread.h"
#include "export/ExportedPicture.h"
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

enum class ExportOutcome { Written, Failed, Stopped };

// Writes `picture`, the copy CollectPicture took of the picture as shown,
// to `path` in `format`, on any thread. The file is written beside its
// final name and renamed over it when complete, so an export that failed
// or was stopped through `progress` leaves no half-written file and any
// file of that name as it was.
ExportOutcome WritePicture(const ExportedPicture& picture, const std::string& path, ExportFormat format,
                           const ExportOptions& options, WorkProgress& progress);

// What a failed export shows: the message a failed save shows.
void ReportExportFailure();

// Copies the picture and writes it at once on the caller's thread, for a
// run without a window. False when it could not be written, after
// ReportExportFailure.
bool ExportPicture(const CMapvineDoc& doc, const std::string& path, ExportFormat format,
                   const ExportOptions& options);

}  // namespace mapvine
