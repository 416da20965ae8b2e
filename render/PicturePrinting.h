#pragma once

#include <QImage>
#include <QPagedPaintDevice>

namespace mapvine {

// How a picture larger than a page prints: scaled down onto one page, or
// at its size on screen across as many pages as it takes.
enum class PrintLayout { FitToPage, AcrossPages };

// Prints `picture` on `device` (a printer, or a PDF writer) as `layout`
// says, keeping its proportions; `dotsPerInch` is the device's resolution.
// False when the device would not start or a page could not be added.
bool PrintPicture(QPagedPaintDevice& device, double dotsPerInch, const QImage& picture,
                  PrintLayout layout);

}  // namespace mapvine
