#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <array>
#include <cstddef>
#include <map>
#include <span>
#include <tuple>
#include <vector>

#include "graphics/CDIBPal.h"
#include "model/MapvineDoc.h"
#include "model/Route.h"
#include "render/PictureIndex.h"

namespace mapvine {

struct ShownNode;

// How much of each node a picture shown below 100% draws. As the zoom falls
// the labels go first, then icons become marks, then each end node's LUs
// fold into their owner.
enum class Detail { IconsAndLabels, Icons, Marks, Folded };

// The detail for a zoom with `nodesInSight` nodes near the shown area: a
// crowded view folds earlier than its zoom alone would ask.
Detail DetailFor(double zoom, std::size_t nodesInSight);

// How far, in frame pixels, what the overview draws for a node reaches
// beyond the node's own place: a redraw of the node covers that much more.
inline constexpr int kOverviewMarkReach = 12;

// The picture's colours as a frame shows them: its colour table in true
// colour, and the palette whose nearest entry stands for any other colour,
// as the picture at 100% draws it.
struct FrameColors {
  const std::array<QRgb, 256>& table;
  const CDIBPal* palette;
  QRgb Nearest(PaletteEntry color) const;
};

// What the view shows over the picture besides the marks of what changed,
// which the nodes and links carry themselves.
struct ViewOverlays {
  const Route* route = nullptr;  // none shown when null or of kind None
  const CNode* routeStart = nullptr;
  const CNode* routeEnd = nullptr;
  const CNode* selected = nullptr;
};

// Draws the picture below 100% into true colour: the background sampled at
// the zoom, links as one-pixel lines in their green or red, the nodes at the
// detail their zoom allows, then what lies over the picture
// (FrameOverlays.h), sized to stay visible on a node shown as a mark. It
// keeps the icons it has scaled for as long as the zoom stays.
class OverviewRenderer {
 public:
  // Draws the viewport rectangle `r` of `frame`, which shows the picture
  // zoomed by `zoom` (< 1) and scrolled to `scroll` (zoomed pixels).
  void Draw(const CMapvineDoc& doc, PictureIndex& index, const FrameColors& colors,
            QImage& frame, QRect r, QPoint scroll, double zoom, const ViewOverlays& overlays);

 private:
  struct Scene;

  const QImage& ScaledIcon(const CNode& node, const std::array<QRgb, 256>& table, QSize size);
  void DrawNode(const ShownNode& shown, const Scene& scene);
  void DrawCount(const ShownNode& shown, const Scene& scene);

  double cachedZoom_ = 0;
  std::map<std::tuple<const void*, int, int>, QImage> icons_;
};

}  // namespace mapvine
