#include "export/PictureImages.h"

#include <utility>

#include "export/IndexedImage.h"

namespace mapvine {

int PictureImages::AddIcon(QImage icon) {
  icons_.push_back(std::move(icon));
  return static_cast<int>(icons_.size()) - 1;
}

void PictureImages::TakeBackground(const CMapvineDoc& doc, int width, int height) {
  // A picture no window has shown yet has its layout pending: lay it out
  // here as the window would, without drawing the canvas.
  const CDIB* source = doc.composedBackground ? &doc.composedBackground->Source() : doc.backgroundSource.get();
  if (source == nullptr || !source->HasHeader()) return;
  arrangement_ = doc.composedBackground ? doc.composedBackground->Arrangement() : doc.picture.backgroundMode;
  const ComposedBackground layout(*source, width, height, arrangement_);
  const Rect centred = layout.CentredPlacement();
  centred_ = QRect(centred.left, centred.top, centred.Width(), centred.Height());
  background_ = ToRgbImage(*source);
  uncovered_ = ColorTableOf(*source)[0];
}

}  // namespace mapvine
