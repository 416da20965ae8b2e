#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <array>
#include <memory>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"
#include "model/MapvineDoc.h"
#include "render/OverviewRendering.h"
#include "render/PictureIndex.h"

namespace mapvine {

// The part of the picture a zoomed area shows: the picture pixels any of
// its pixels fall on.
Rect PictureAreaOf(const Rect& zoomedArea, double zoom);

// How a frame shows the picture: zoomed by `zoom`, scrolled to `scroll`
// (zoomed pixels), in the picture's palette `palette` and its colour table
// `table`; `extent` is the whole picture at its own size.
struct ShownPicture {
  const CDIBPal* palette;
  const std::array<QRgb, 256>& table;
  Rect extent;
  QPoint scroll;
  double zoom;
};

// Draws the document's picture without a window: any area of it at its own
// size into an 8-bit image, the whole of it for printing and --render, and
// any rectangle of a frame that shows it zoomed. What lies over the picture
// (change marks, the route, the selection) is drawn with it. At 100% and
// above the pixels are those of the whole picture drawn at once; below,
// OverviewRenderer draws with less detail.
class PictureRenderer {
 public:
  explicit PictureRenderer(const CMapvineDoc& doc) : doc_(doc), index_(doc) {}

  // Where the nodes and links lie; marked stale whenever they may have moved,
  // come or gone.
  PictureIndex& Index() { return index_; }
  // Inactive links are drawn dashed as well as red.
  void SetDashInactiveLinks(bool dash) { dashInactiveLinks_ = dash; }
  bool DashInactiveLinks() const { return dashInactiveLinks_; }

  // Draws `area` of the picture at 100% into `window`, an image in the
  // picture's palette showing the picture from `origin` on, without what
  // lies over it.
  void DrawArea(CDIB& window, Point origin, const Rect& area, SurfaceTextDrawer* text);
  // The whole picture, `extent`, at 100% in `palette`, in true colour with
  // what lies over it; null when its image cannot be allocated.
  QImage WholePicture(const CDIBPal* palette, const Rect& extent, SurfaceTextDrawer* text,
                      const ViewOverlays& overlays);
  // Draws rectangle `r` of `frame`, which shows the picture as `shown` says.
  void DrawShown(QImage& frame, QRect r, const ShownPicture& shown, SurfaceTextDrawer* text,
                 const ViewOverlays& overlays);

 private:
  void DrawShownAtOwnSize(QImage& frame, QRect r, const ShownPicture& shown,
                          SurfaceTextDrawer* text, const ViewOverlays& overlays);
  void DrawShownMagnified(QImage& frame, QRect r, const ShownPicture& shown,
                          SurfaceTextDrawer* text, const ViewOverlays& overlays);
  // Draws what lies over `area` of the picture into `frame`, which shows the
  // picture at 100% scrolled to `scroll`, inside `clip` (frame pixels).
  void DrawOverlaysAtOwnSize(QImage& frame, QRect clip, QPoint scroll, const Rect& area,
                             const FrameColors& colors, SurfaceTextDrawer* text,
                             const ViewOverlays& overlays);

  const CMapvineDoc& doc_;
  PictureIndex index_;
  OverviewRenderer overview_;
  bool dashInactiveLinks_ = false;
};

}  // namespace mapvine
