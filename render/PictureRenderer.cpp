#include "render/PictureRenderer.h"

#include <algorithm>
#include <cmath>

#include "export/IndexedImage.h"
#include "render/ChangeOverlay.h"
#include "render/OwnSizeOverlays.h"
#include "render/PictureRendering.h"

namespace mapvine {

namespace {

Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

int FloorDiv(double value, double zoom) { return static_cast<int>(std::floor(value / zoom)); }
int CeilDiv(double value, double zoom) { return static_cast<int>(std::ceil(value / zoom)); }

}  // namespace

Rect PictureAreaOf(const Rect& zoomedArea, double zoom) {
  return {FloorDiv(zoomedArea.left, zoom), FloorDiv(zoomedArea.top, zoom),
          CeilDiv(zoomedArea.right, zoom), CeilDiv(zoomedArea.bottom, zoom)};
}

void PictureRenderer::DrawArea(CDIB& window, Point origin, const Rect& area,
                               SurfaceTextDrawer* text, const ViewOverlays& overlays) {
  RenderPictureArea(doc_, index_, text, window, origin, area, dashInactiveLinks_);
  DrawChanges(doc_, index_, text, window, origin, area);
  const Rect picture{0, 0, doc_.picture.composedWidth, doc_.picture.composedHeight};
  DrawRouteAtOwnSize(window, origin, picture, text, area, overlays);
  DrawSelectionAtOwnSize(window, origin, area, overlays);
}

std::unique_ptr<CDIBSurface> PictureRenderer::WholePicture(const CDIBPal* palette,
                                                           const Rect& extent,
                                                           SurfaceTextDrawer* text,
                                                           const ViewOverlays& overlays) {
  auto picture = std::make_unique<CDIBSurface>();
  if (!picture->Create(extent.Width(), extent.Height(), palette)) return nullptr;
  DrawArea(*picture, {0, 0}, extent, text, overlays);
  return picture;
}

void PictureRenderer::DrawShown(QImage& frame, QRect r, const ShownPicture& shown,
                                SurfaceTextDrawer* text, const ViewOverlays& overlays) {
  if (shown.zoom == 1.0) {
    DrawShownAtOwnSize(frame, r, shown, text, overlays);
  } else if (shown.zoom > 1.0) {
    DrawShownMagnified(frame, r, shown, text, overlays);
  } else {
    overview_.Draw(doc_, index_, {shown.table, shown.palette}, frame, r, shown.scroll, shown.zoom,
                   overlays);
  }
}

void PictureRenderer::DrawShownAtOwnSize(QImage& frame, QRect r, const ShownPicture& shown,
                                         SurfaceTextDrawer* text, const ViewOverlays& overlays) {
  const QPoint scroll = shown.scroll;
  const Rect area = ToRect(r).Offset(scroll.x(), scroll.y()).Intersect(shown.extent);
  if (area.IsEmpty()) return;
  CDIBSurface window;
  if (!window.Create(area.Width(), area.Height(), shown.palette)) return;
  DrawArea(window, {area.left, area.top}, area, text, overlays);
  ConvertIndexedArea(window, shown.table, window.GetRect(), frame,
                     QPoint(area.left - scroll.x(), area.top - scroll.y()));
}

void PictureRenderer::DrawShownMagnified(QImage& frame, QRect r, const ShownPicture& shown,
                                         SurfaceTextDrawer* text, const ViewOverlays& overlays) {
  // The picture's own pixels, drawn at 100% and each shown as a square.
  const QPoint scroll = shown.scroll;
  const double zoom = shown.zoom;
  const Rect area =
      PictureAreaOf(ToRect(r).Offset(scroll.x(), scroll.y()), zoom).Intersect(shown.extent);
  if (area.IsEmpty()) return;
  CDIBSurface window;
  if (!window.Create(area.Width(), area.Height(), shown.palette)) return;
  DrawArea(window, {area.left, area.top}, area, text, overlays);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int py = std::clamp(FloorDiv(y + scroll.y(), zoom) - area.top, 0, area.Height() - 1);
    const std::uint8_t* from = window.PixelPtr(0, py);
    auto* to = reinterpret_cast<QRgb*>(frame.scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      const int px = std::clamp(FloorDiv(x + scroll.x(), zoom) - area.left, 0, area.Width() - 1);
      to[x] = shown.table[from[px]];
    }
  }
}

}  // namespace mapvine
