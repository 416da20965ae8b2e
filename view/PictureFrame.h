#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>

#include <array>
#include <functional>
#include <memory>

#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "render/PictureRenderer.h"
#include "render/QtTextDrawer.h"
#include "view/ViewZoom.h"

namespace mapvine {

// What the window shows of the picture, kept between paints. A paint draws
// only the exposed part that no longer shows the picture, at the current
// zoom, and converts it into true colour; a scroll moves what stays in sight
// and leaves only the strip it uncovers to draw. It also draws the whole
// picture at 100% for printing, --render and comparisons.
class PictureFrame {
 public:
  // `picture` holds the picture's extent and palette, `window` shows it at
  // `zoom`; `overlays` says what lies over the picture now.
  PictureFrame(COSBView& picture, const CMapvineDoc& doc, QAbstractScrollArea& window,
               const ViewZoom& zoom, std::function<ViewOverlays()> overlays);

  // The renderer, with the index of where nodes and links lie.
  PictureRenderer& Renderer() { return renderer_; }

  // Marks a rectangle of the window to be drawn anew from the picture at
  // the next paint.
  void MarkStale(const QRect& r);
  // The window scrolled by (dx, dy).
  void Scroll(int dx, int dy);
  // Paints the `exposed` region of the window's viewport.
  void Paint(const QRegion& exposed);
  // False while the window shows what it held, or only part of the picture,
  // as the index of a large picture is built and the first frame after it
  // drawn, over several turns; paints that finish it are on their way.
  bool ShowsWhole() const { return !catchingUp_; }

  // The whole picture at 100% in its palette, without what lies over it;
  // null without a picture or when its image cannot be allocated.
  std::unique_ptr<CDIBSurface> PalettedPicture();
  // Draws `area` of the picture at 100% into `window`, an image in the
  // picture's palette showing the picture from `origin` on, without what
  // lies over it.
  void DrawPalettedArea(CDIB& window, Point origin, const Rect& area);
  // The whole picture at 100% in true colour with what lies over it, for
  // printing, --render and comparisons; null without a buffer.
  QImage PictureImage();

 private:
  // Draws the exposed viewport rectangle `r` into image_.
  void DrawExposed(QRect r);
  // After the index of a large picture was built over several turns, its
  // first frame is drawn band by band, a few bands a turn, from `start`;
  // true once the last band is drawn.
  bool DrawInBands(const QRegion& toDraw, PictureIndex::Clock::time_point start);
  // Paints what is still stale at the next turn.
  void PaintAgainSoon();

  COSBView& picture_;
  QAbstractScrollArea& window_;
  const ViewZoom& zoom_;
  std::function<ViewOverlays()> overlays_;
  PictureRenderer renderer_;
  QtTextDrawer textDrawer_;
  QImage image_;  // in true colour
  // The parts of the image that no longer show the picture.
  QRegion stale_;
  // The picture's colour table in true colour, as the paints use it.
  std::array<QRgb, 256> colors_{};
  // The index was not ready at a paint: the next frame is drawn in bands.
  bool catchingUp_ = false;
  int nextBand_ = 0;  // the band of the viewport drawn next
  bool paintPosted_ = false;
};

}  // namespace mapvine
