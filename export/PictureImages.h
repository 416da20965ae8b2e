#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "export/ExportedPicture.h"
#include "graphics/ComposedBackground.h"

namespace mapvine {

// The images an exported picture is drawn from, in true colour: each
// distinct icon once (nodes of a kind share one), with its transparent
// colour see-through, and the background's source with the way it is laid
// out on the canvas, so that a vector format can repeat, stretch or centre
// the one image instead of holding a canvas that on a large network runs to
// hundreds of megabytes.
class PictureImages {
 public:
  PictureImages(const CMapvineDoc& doc, const ExportedPicture& picture);

  const std::vector<QImage>& Icons() const { return icons_; }
  // The icon the picture's node number `node` shows, an index into Icons();
  // -1 for a node without an image.
  int IconOf(int node) const { return iconOfNode_[static_cast<std::size_t>(node)]; }

  // Null when the picture has no background image.
  const QImage& Background() const { return background_; }
  BackgroundArrangement Arrangement() const { return arrangement_; }
  // Centre: where the whole source lands on the canvas.
  QRect CentredPlacement() const { return centred_; }
  // The colour of the parts of the canvas no layout covers.
  QRgb Uncovered() const { return uncovered_; }

 private:
  std::vector<QImage> icons_;
  std::vector<int> iconOfNode_;
  QImage background_;
  BackgroundArrangement arrangement_ = BackgroundArrangement::Tile;
  QRect centred_;
  QRgb uncovered_ = qRgb(0, 0, 0);
};

}  // namespace mapvine
