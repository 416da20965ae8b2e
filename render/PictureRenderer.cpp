#include "render/PictureRenderer.h"

#include <algorithm>
#include <cmath>

#include "export/IndexedImage.h"
#include "model/LuFold.h"
#include "render/FrameOverlays.h"
#include "render/PictureRendering.h"
#include "render/ShownItems.h"

namespace mapvine {

namespace {

Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

int FloorDiv(double value, double zoom) { return static_cast<int>(std::floor(value / zoom)); }
int CeilDiv(double value, double zoom) { return static_cast<int>(std::ceil(value / zoom)); }

// Draws `node` over `frame` (showing the picture at 100% scrolled to
// `scroll`, inside `clip`) exactly as the picture in its palette draws it,
// leaving the pixels its drawing does not reach as they are. It is drawn
// twice, over two different indexes: a pixel is the node's where both agree.
void DrawNodeOverFrame(const CMapvineDoc& doc, const CNode& node, SurfaceTextDrawer* text,
                       const FrameColors& colors, QImage& frame, QRect clip, QPoint scroll) {
  const Rect band = node.GetRect()
                        .Inflated(0, CNode::kLabelBand)
                        .Intersect(ToRect(clip).Offset(scroll.x(), scroll.y()));
  if (band.IsEmpty()) return;
  CDIB drawn[2];
  for (std::uint8_t under = 0; under < 2; ++under) {
    if (!drawn[under].Create(band.Width(), band.Height(), colors.palette)) return;
    for (int y = 0; y < band.Height(); ++y) {
      std::fill_n(drawn[under].PixelPtr(0, y), band.Width(), under);
    }
    DrawNodeInWindow(doc, node, text, drawn[under], {band.left, band.top}, band);
  }
  for (int y = 0; y < band.Height(); ++y) {
    const std::uint8_t* first = drawn[0].PixelPtr(0, y);
    const std::uint8_t* second = drawn[1].PixelPtr(0, y);
    auto* to = reinterpret_cast<QRgb*>(frame.scanLine(band.top + y - scroll.y())) +
               (band.left - scroll.x());
    for (int x = 0; x < band.Width(); ++x) {
      if (first[x] == second[x]) to[x] = colors.table[first[x]];
    }
  }
}

}  // namespace

Rect PictureAreaOf(const Rect& zoomedArea, double zoom) {
  return {FloorDiv(zoomedArea.left, zoom), FloorDiv(zoomedArea.top, zoom),
          CeilDiv(zoomedArea.right, zoom), CeilDiv(zoomedArea.bottom, zoom)};
}

void PictureRenderer::DrawArea(CDIB& window, Point origin, const Rect& area,
                               SurfaceTextDrawer* text) {
  RenderPictureArea(doc_, index_, text, window, origin, area, dashInactiveLinks_);
}

QImage PictureRenderer::WholePicture(const CDIBPal* palette, const Rect& extent,
                                     SurfaceTextDrawer* text, const ViewOverlays& overlays) {
  CDIBSurface picture;
  if (!picture.Create(extent.Width(), extent.Height(), palette)) return {};
  DrawArea(picture, {0, 0}, extent, text);
  QImage image = ToRgbImage(picture);
  if (image.isNull()) return {};
  const std::array<QRgb, 256> table = ColorTableOf(picture);
  DrawOverlaysAtOwnSize(image, image.rect(), {0, 0}, extent, {table, palette}, text, overlays);
  return image;
}

void PictureRenderer::DrawOverlaysAtOwnSize(QImage& frame, QRect clip, QPoint scroll,
                                            const Rect& area, const FrameColors& colors,
                                            SurfaceTextDrawer* text,
                                            const ViewOverlays& overlays) {
  const overview::Pixels px(frame, clip);
  const overview::Placement at{1.0, scroll};
  ItemLooks& looks = index_.Looks();
  std::vector<ShownNode> shown;
  for (const int node : index_.ShownNodesNear(area)) {
    if (!looks.FoldedAway(node)) shown.push_back(Show(looks, node, at, Detail::IconsAndLabels));
  }
  const Rect picture{0, 0, doc_.picture.composedWidth, doc_.picture.composedHeight};
  const OverlayFrame over{px, at, Detail::IconsAndLabels, colors, picture, looks,
                          [&](const ShownNode& node) {
                            DrawNodeOverFrame(doc_, *node.look->node, text, colors, frame, clip, scroll);
                          }};
  DrawOverlays(over, index_.ShownLinksNear(area), shown, overlays);
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
  DrawArea(window, {area.left, area.top}, area, text);
  const QPoint at(area.left - scroll.x(), area.top - scroll.y());
  ConvertIndexedArea(window, shown.table, window.GetRect(), frame, at);
  DrawOverlaysAtOwnSize(frame, QRect(at, QSize(area.Width(), area.Height())).intersected(frame.rect()),
                        scroll, area, {shown.table, shown.palette}, text, overlays);
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
  DrawArea(window, {area.left, area.top}, area, text);
  QImage own(area.Width(), area.Height(), QImage::Format_RGB32);
  if (own.isNull()) return;
  ConvertIndexedArea(window, shown.table, window.GetRect(), own, {0, 0});
  DrawOverlaysAtOwnSize(own, own.rect(), {area.left, area.top}, area,
                        {shown.table, shown.palette}, text, overlays);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int py = std::clamp(FloorDiv(y + scroll.y(), zoom) - area.top, 0, area.Height() - 1);
    const auto* from = reinterpret_cast<const QRgb*>(own.constScanLine(py));
    auto* to = reinterpret_cast<QRgb*>(frame.scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      to[x] = from[std::clamp(FloorDiv(x + scroll.x(), zoom) - area.left, 0, area.Width() - 1)];
    }
  }
}

}  // namespace mapvine
