#pragma once

#include <QImage>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "render/PictureRenderer.h"
#include "render/QtTextDrawer.h"

namespace mapvine {

// The document's picture without a window, for a run that only writes it
// (--render): attached to the document for as long as it lives, it keeps the
// picture's buffer and palette as a window would, and draws the whole
// picture when asked. Nothing is shown, so changes cost nothing until then.
class HeadlessPicture final : public COSBView, public DocumentView {
 public:
  explicit HeadlessPicture(CMapvineDoc& doc);
  ~HeadlessPicture() override;

  // The whole picture at 100% in true colour; null without a picture.
  QImage PictureImage();

  // DocumentView
  COSBView& OffscreenView() override { return *this; }
  void NodeChanged(CNode& node) override;
  void NodesShownChanged(std::span<const CNode* const> nodes) override {
    renderer_.Index().NodesShownChanged(nodes);
  }
  bool SetBackground(ComposedBackground& background) override;
  void RequestPictureResize(int width, int height) override;
  BackgroundArrangement ChosenArrangement() const override { return kArrangementChosenInView; }
  void BatchStarted() override {}
  void BatchEnded() override {}
  // Nothing is refreshed again once the picture is written.

 protected:
  // COSBView: there is no window to show anything in; a change only makes
  // the next picture find the nodes and links anew.
  void ExposeArea(const Rect&) override {}
  Rect VisibleArea() const override { return {}; }
  void SetScrollSizes(int, int) override {}
  void PictureAreaChanged(const Rect& area) override;
  void WholePictureChanged() override;

 private:
  CMapvineDoc& doc_;
  QtTextDrawer textDrawer_;
  PictureRenderer renderer_;
};

}  // namespace mapvine
