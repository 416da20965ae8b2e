#pragma once

#include <QRect>
#include <QSizeF>

#include <vector>

namespace mapvine {

// Across pages a picture prints at the size a screen shows it.
inline constexpr double kScreenDotsPerInch = 96.0;

// The parts of a `picture`-sized picture that pages holding `pagePart`
// picture pixels each show, row by row from the top-left corner; the parts
// on the right and bottom edges are cut to the picture. None for an empty
// picture; a page holds at least one pixel.
std::vector<QRect> PartsAcrossPages(QSize picture, QSizeF pagePart);

}  // namespace mapvine
