#include "render/HeadlessPicture.h"

#include "render/PaletteMapping.h"

namespace mapvine {

HeadlessPicture::HeadlessPicture(CMapvineDoc& doc) : doc_(doc), renderer_(doc) {
  SetTextDrawer(&textDrawer_);
  doc_.AttachView(this);
}

HeadlessPicture::~HeadlessPicture() {
  if (doc_.View() == this) doc_.AttachView(nullptr);
}

QImage HeadlessPicture::PictureImage() {
  if (!HasBuffer()) return {};
  return renderer_.WholePicture(Palette(), BufferRect(), GetBufferDC(), ViewOverlays{});
}

void HeadlessPicture::NodeChanged(CNode& node) {
  MapToPalette(node, Palette());
  node.PickTransparentIndex();
  renderer_.Index().MarkStale();
}

bool HeadlessPicture::SetBackground(ComposedBackground& background) {
  renderer_.Index().MarkStale();
  if (!CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(),
                    doc_.mergedPalette.get())) {
    return false;
  }
  MapToPalette(background, Palette());
  MapNodesToPalette(doc_, Palette());
  return true;
}

void HeadlessPicture::PictureAreaChanged(const Rect& area) { renderer_.Index().AreaChanged(area); }

void HeadlessPicture::WholePictureChanged() { renderer_.Index().MarkStale(); }

void HeadlessPicture::RequestPictureResize(int width, int height) {
  doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
}

}  // namespace mapvine
