#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <array>
#include <cstddef>
#include <map>
#include <tuple>

#include "model/MapvineDoc.h"
#include "view/PictureIndex.h"

namespace mapvine {

// How much of each node a picture shown below 100% draws. As the zoom falls
// the labels go first, then icons become marks, then each end node's LUs
// fold into their owner.
enum class Detail { IconsAndLabels, Icons, Marks, Folded };

// The detail for a zoom with `nodesInSight` nodes near the shown area: a
// crowded view folds earlier than its zoom alone would ask.
Detail DetailFor(double zoom, std::size_t nodesInSight);

// Draws the picture below 100% into true colour: the background sampled at
// the zoom, links as one-pixel lines in their green or red, and the nodes
// at the detail their zoom allows. It keeps the icons it has scaled for as
// long as the zoom stays.
class OverviewRenderer {
 public:
  // Draws the viewport rectangle `r` of `frame`, which shows the picture
  // zoomed by `zoom` (< 1) and scrolled to `scroll` (zoomed pixels).
  void Draw(const CMapvineDoc& doc, PictureIndex& index, const std::array<QRgb, 256>& table,
            QImage& frame, QRect r, QPoint scroll, double zoom);

 private:
  const QImage& ScaledIcon(const CSprite& node, const std::array<QRgb, 256>& table, QSize size);

  double cachedZoom_ = 0;
  std::map<std::tuple<const void*, int, int>, QImage> icons_;
};

}  // namespace mapvine
