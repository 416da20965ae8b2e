#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <vector>

#include "graphics/ComposedBackground.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// The images an exported picture is drawn from, in true colour: each
// distinct icon once (nodes of a kind share one), with its transparent
// colour see-through, and the background's source with the way it is laid
// out on the canvas, so that a vector format can repeat, stretch or centre
// the one image instead of holding a canvas that on a large network runs to
// hundreds of megabytes. Images are shared, not copied, when handed to
// another thread.
class PictureImages {
 public:
  // Takes the document's background as it lies on a `width` x `height`
  // canvas.
  void TakeBackground(const CMapvineDoc& doc, int width, int height);
  // Keeps `icon`; its number in Icons().
  int AddIcon(QImage icon);

  const std::vector<QImage>& Icons() const { return icons_; }

  // Null when the picture has no background image.
  const QImage& Background() const { return background_; }
  BackgroundArrangement Arrangement() const { return arrangement_; }
  // Centre: where the whole source lands on the canvas.
  QRect CentredPlacement() const { return centred_; }
  // The colour of the parts of the canvas no layout covers.
  QRgb Uncovered() const { return uncovered_; }

 private:
  std::vector<QImage> icons_;
  QImage background_;
  BackgroundArrangement arrangement_ = BackgroundArrangement::Tile;
  QRect centred_;
  QRgb uncovered_ = qRgb(0, 0, 0);
};

}  // namespace mapvine
