#include "export/PictureImages.h"

#include "export/IndexedImage.h"

namespace mapvine {

PictureImages::PictureImages(const CMapvineDoc& doc, const ExportedPicture& picture) {
  // Nodes show the storage of the document's images: the storage tells
  // which of them look alike.
  std::unordered_map<const std::uint8_t*, int> iconOfStorage;
  iconOfNode_.reserve(picture.nodes.size());
  for (const CNode* node : picture.nodes) {
    if (!node->HasHeader()) {
      iconOfNode_.push_back(-1);
      continue;
    }
    const auto [found, added] =
        iconOfStorage.try_emplace(node->HeaderBlock(), static_cast<int>(icons_.size()));
    if (added) icons_.push_back(ToArgbImage(*node, node->transparentIndex));
    iconOfNode_.push_back(icons_[static_cast<std::size_t>(found->second)].isNull() ? -1 : found->second);
  }

  // A picture no window has shown yet has its layout pending: lay it out
  // here as the window would, without drawing the canvas.
  const CDIB* source = doc.composedBackground ? &doc.composedBackground->Source() : doc.backgroundSource.get();
  if (source == nullptr || !source->HasHeader()) return;
  arrangement_ = doc.composedBackground ? doc.composedBackground->Arrangement() : doc.picture.backgroundMode;
  const ComposedBackground layout(*source, picture.width, picture.height, arrangement_);
  const Rect centred = layout.CentredPlacement();
  centred_ = QRect(centred.left, centred.top, centred.Width(), centred.Height());
  background_ = ToRgbImage(*source);
  uncovered_ = ColorTableOf(*source)[0];
}

}  // namespace mapvine
