#pragma once

#include <optional>
#include <vector>

#include "graphics/COSBView.h"
#include "model/DocumentView.h"
#include "model/MapvineDoc.h"

namespace mapvine::testing {

// A window-less view: it keeps the off-screen buffer like the real view,
// presents nothing, and records what the document asked of it and told it.
class FakeDocumentView final : public COSBView, public DocumentView, public DocumentListener {
 public:
  explicit FakeDocumentView(CMapvineDoc& doc) : doc_(doc) {}

  COSBView& OffscreenView() override { return *this; }
  void NodeChanged(CNode& node) override {
    ++nodeChanges;
    changedNodes.push_back(&node);
  }
  bool SetBackground(ComposedBackground& background) override {
    ++backgrounds;
    // As the real view, a new background changes the picture all over.
    if (!CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(), nullptr)) return false;
    PictureChanged();
    return true;
  }
  void RequestPictureResize(int width, int height) override {
    resizeRequests.push_back({width, height});
    doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
  }
  BackgroundArrangement ChosenArrangement() const override { return arrangement; }
  // Holds back drawing during a batch as the real view does, and notes how
  // many nodes the picture held at each announcement.
  void BatchStarted() override {
    if (batchDepth++ == 0) batch.emplace(*this);
    nodesAtBatchAnnouncements.push_back(doc_.Nodes().size());
  }
  void BatchEnded() override {
    if (--batchDepth == 0) batch.reset();
    nodesAtBatchAnnouncements.push_back(doc_.Nodes().size());
  }
  void PictureLoaded() override { ++picturesLoaded; }
  void RefreshFinished() override { ++refreshesFinished; }

  BackgroundArrangement arrangement = BackgroundArrangement::Tile;
  int batchDepth = 0;
  std::optional<Batch> batch;
  int nodeChanges = 0;
  std::vector<const CNode*> changedNodes;  // in the order told, repeats kept
  int backgrounds = 0;
  int fullRedraws = 0;
  std::vector<Rect> redrawnAreas;
  std::vector<Point> resizeRequests;
  std::vector<std::size_t> nodesAtBatchAnnouncements;
  int picturesLoaded = 0;
  int refreshesFinished = 0;

 protected:
  void ExposeArea(const Rect&) override {}
  void PictureAreaChanged(const Rect& area) override { redrawnAreas.push_back(area); }
  void WholePictureChanged() override { ++fullRedraws; }
  Rect VisibleArea() const override {
    return BufferRect();
  }
  void SetScrollSizes(int, int) override {}

 private:
  CMapvineDoc& doc_;
};

// A document attached to a fake view, set up as a new picture.
struct DocumentWithView {
  CMapvineDoc doc;
  FakeDocumentView view{doc};
  DocumentWithView() {
    doc.AttachView(&view);
    doc.SetListener(&view);
    doc.NewDocument();
  }
};

}  // namespace mapvine::testing
