#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/Geometry.h"

namespace mapvine {

// How the background image is laid out on the picture's canvas: repeated
// from the top-left corner, scaled onto the whole canvas, or once in its
// middle. The saved file stores these numbers.
enum class BackgroundArrangement { Tile = 0, Stretch = 1, Centre = 2 };

// The picture's background: a source image laid out on a canvas of any
// size, without holding the canvas. A large network's canvas runs to
// hundreds of megabytes, of which a window shows a few at a time, so each
// area is laid out as it is drawn. Every pixel is the one the whole canvas
// laid out at once would hold; parts that no layout covers keep index 0, as
// a new image does. The canvas's colours are the source's colour table.
class ComposedBackground {
 public:
  // Shares `source`'s pixels, which are not to change while this background
  // shows them.
  ComposedBackground(const CDIB& source, int width, int height, BackgroundArrangement arrangement);

  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  Rect GetRect() const { return {0, 0, width_, height_}; }
  BackgroundArrangement Arrangement() const { return arrangement_; }
  const CDIB& Source() const { return source_; }
  // Centre: where the whole source lands on the canvas (it may reach past
  // the canvas's edges when larger); the canvas shows the part inside.
  Rect CentredPlacement() const {
    return {centred_.left - centredFrom_.x, centred_.top - centredFrom_.y,
            centred_.left - centredFrom_.x + sourceWidth_, centred_.top - centredFrom_.y + sourceHeight_};
  }

  // Brings the source, and so every canvas pixel, to `palette`.
  bool RemapToPalette(const CDIBPal& palette);

  // Draws `area` of the canvas into `window`, an 8-bit image that shows the
  // canvas from `origin` on; what lies outside the canvas or the window is
  // left alone.
  void DrawArea(CDIB& window, Point origin, const Rect& area) const;
  // The canvas pixel at (x, y); 0 outside the canvas.
  std::uint8_t PixelAt(int x, int y) const;

  // Canvas columns mapped to the source once, to be read row after row
  // (a zoomed view samples the same columns on every row it shows).
  struct ColumnMap {
    std::vector<int> sourceColumns;  // -1 where no layout covers the column
    // The same as stretches of neighbouring source columns (or of
    // uncovered ones), when they are long enough to copy whole.
    struct Run {
      int count;
      int sourceColumn;  // of the first; -1 uncovered
    };
    std::vector<Run> runs;
  };
  // `columns` must lie inside the canvas.
  ColumnMap MapColumns(std::span<const int> columns) const;
  // Canvas row `y` (inside the canvas) at the mapped columns, into `out`,
  // which holds one byte per column.
  void ReadRow(int y, const ColumnMap& columns, std::uint8_t* out) const;

 private:
  // The source column or row a canvas column or row shows; -1 where no
  // layout covers it.
  int SourceColumn(int x) const;
  int SourceRow(int y) const;
  int SourceAlong(int at, int canvas, int source, int centredStart, int centredEnd,
                  int centredFrom) const;

  CDIB source_;
  int width_;
  int height_;
  BackgroundArrangement arrangement_;
  // The source's size, 0 by 0 for a source that cannot be read as 8-bit
  // pixels, which then covers nothing.
  int sourceWidth_ = 0;
  int sourceHeight_ = 0;
  // Centre: the rectangle of the canvas the source covers, and the source
  // point shown at its top-left corner.
  Rect centred_;
  Point centredFrom_;
};

}  // namespace mapvine
