#pragma once

#include <QPointF>
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

// The grid those parts make: `part`-sized parts over a `picture`-sized
// picture, numbered row by row from 0.
struct PartGrid {
  QSize picture;
  QSize part;

  int Columns() const;
  int Rows() const;
  int Count() const { return Columns() * Rows(); }
};

// The numbers of the parts of `grid` that the line from `from` to `to`
// passes through, each part grown by `reach` on every side, in increasing
// order. A long slanting line crosses a thin diagonal of parts, far fewer
// than its bounding rectangle covers.
std::vector<int> PartsAlong(const PartGrid& grid, QPointF from, QPointF to, double reach);

}  // namespace mapvine
