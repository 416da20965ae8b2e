#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <algorithm>
#include <cstddef>

#include "model/CNode.h"

namespace mapvine::overview {

// The pixels a line from `a` to `b` covers, both ends included, whichever
// way it runs. (QRect::normalized moves the corners of a reversed box in
// by one, leaving the line's ends out.)
inline QRect LineBox(QPoint a, QPoint b) {
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// Writes pixels of a true-colour frame inside one rectangle only. Rows are
// addressed directly: a fitted frame of a large network writes a million
// pixels.
class Pixels {
 public:
  Pixels(QImage& frame, QRect clip);

  QImage& frame;
  QRect clip;

  QRgb* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  void Put(int x, int y, QRgb color) const {
    if (x >= left_ && x <= right_ && y >= top_ && y <= bottom_) Row(y)[x] = color;
  }
  void Fill(int x, int y, int w, int h, QRgb color) const;
  // Every other pixel of the rectangle, in a checkerboard: those where
  // x + y + `parity` is even. A parity fixed to the picture keeps the
  // pattern in place across partial redraws and scrolls.
  void FillEveryOther(const QRect& r, int parity, QRgb color) const;
  // A one-pixel line, both ends included.
  void Line(QPoint from, QPoint to, QRgb color) const;
  // A line two pixels wide in dashes of `color`, `dash` steps long from
  // `from` on; between them the line is one pixel of `between`.
  void DashedLine(QPoint from, QPoint to, QRgb color, QRgb between, int dash) const;
  // `width` one-pixel lines side by side across the line's direction.
  void Band(QPoint from, QPoint to, QRgb color, int width) const;
  // A frame `thickness` pixels wide along the inside of `box`: whole,
  // dashed along its sides, or only its four corners, each reaching
  // `reach` pixels along its sides.
  void Frame(const QRect& box, int thickness, QRgb color) const;
  void DashedFrame(const QRect& box, int thickness, int dash, QRgb color) const;
  void Corners(const QRect& box, int thickness, int reach, QRgb color) const;

 private:
  // Calls `visit`(x, y, step) for each point of the line from `from` to
  // `to`, both included, unless the line misses the clip.
  template <typename Visit>
  void Walk(QPoint from, QPoint to, Visit visit) const;
  bool Inside(QPoint p) const { return p.x() >= left_ && p.x() <= right_ && p.y() >= top_ && p.y() <= bottom_; }
  // The pixels inside the clip of steps `first` to `last` of the walk
  // from `from` to `to` (0 is `from`), those Walk visits; false, drawing
  // nothing, when the line is too long for the way it is stepped.
  bool Stepped(QPoint from, QPoint to, long long first, long long last, QRgb color) const;

  QRgb* bits_;
  int stride_;
  int left_, top_, right_, bottom_;
};

// Where picture points land in a frame that shows the picture zoomed by
// `zoom` and scrolled to `scroll` (zoomed pixels).
struct Placement {
  double zoom;
  QPoint scroll;
  QPoint At(double x, double y) const;
  QPoint CentreOf(const CNode& node) const;
  // The checkerboard parity that stays fixed to the picture.
  int Parity() const { return scroll.x() + scroll.y(); }
};

}  // namespace mapvine::overview
