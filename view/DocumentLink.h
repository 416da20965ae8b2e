#pragma once

#include <QAbstractScrollArea>

#include <optional>
#include <span>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"
#include "view/ChosenRoute.h"
#include "view/NodeBlink.h"
#include "view/NodeCounts.h"
#include "view/PictureCommands.h"
#include "view/PictureFrame.h"
#include "view/ViewPicks.h"
#include "view/ViewZoom.h"

namespace mapvine {

// What the document asks of the window that shows it, answered by the
// view's parts: a changed node is drawn anew and counted again, a new
// background becomes the picture, a batch holds the drawing back. What the
// picks, the route or a blink point at is let go of here, and only here,
// when it leaves the document.
class DocumentLink final : public DocumentView {
 public:
  DocumentLink(CMapvineDoc& doc, COSBView& picture, QAbstractScrollArea& window, ViewZoom& zoom,
               PictureFrame& frame, NodeCounts& counts, ViewPicks& picks, ChosenRoute& route, NodeBlink& blink,
               const PictureCommands& pictureCommands)
      : doc_(doc),
        picture_(picture),
        window_(window),
        zoom_(zoom),
        frame_(frame),
        counts_(counts),
        picks_(picks),
        route_(route),
        blink_(blink),
        pictureCommands_(pictureCommands) {}

  COSBView& OffscreenView() override { return picture_; }
  void NodeChanged(CNode& node) override;
  void NodesShownChanged(std::span<const CNode* const> nodes) override;
  bool SetBackground(ComposedBackground& background) override;
  void RequestPictureResize(int width, int height) override;
  BackgroundArrangement ChosenArrangement() const override { return pictureCommands_.arrangement; }
  void BatchStarted() override;
  void BatchEnded() override;
  void NodeRemoving(const CNode& node) override;
  void LinkRemoving(const CLink& link) override;
  void AllRemoving() override;

 private:
  CMapvineDoc& doc_;
  COSBView& picture_;
  QAbstractScrollArea& window_;
  ViewZoom& zoom_;
  PictureFrame& frame_;
  NodeCounts& counts_;
  ViewPicks& picks_;
  ChosenRoute& route_;
  NodeBlink& blink_;
  const PictureCommands& pictureCommands_;
  // The document's batches under way, held as one of the picture's.
  int batchDepth_ = 0;
  std::optional<COSBView::Batch> documentBatch_;
};

}  // namespace mapvine
