// What a change of the document costs the view. Each fact the window shows
// about the picture is brought up to date where its cause is: the picture
// index when nodes or lines may have moved, the counts when nodes came,
// went, hid or showed, the route when its ends or the topology changed, the
// window's size when the picture's did (the last three also in
// MapvineView.cpp, for what the picture itself reports).
#include "view/DocumentLink.h"

#include <algorithm>
#include <cmath>

#include "graphics/LinePieces.h"
#include "render/LuFolding.h"
#include "render/PaletteMapping.h"

namespace mapvine {

namespace {

// A piece of a changed line spans about this many window pixels.
constexpr double kLinePieceWindowPixels = 64.0;

}  // namespace

void DocumentLink::NodeChanged(CNode& node) {
  MapToPalette(node, picture_.Palette());
  node.PickTransparentIndex();
  // A status change moves nothing: the index reads the node and its lines
  // again, and they and, far out, the owner it may show folded into are
  // drawn anew, and nothing else. What else lies where they run is as it
  // was: the long lines of a network node reach across much of a large
  // picture.
  const CNode* const changed[] = {&node};
  frame_.Renderer().Index().NodesChanged(changed);
  picture_.OverlayChanged(node.GetRect().Inflated(0, CNode::kLabelBand));
  const int pieceLength = static_cast<int>(std::ceil(kLinePieceWindowPixels / std::min(zoom_.Zoom(), 1.0)));
  for (const CLink* link : node.links) {
    ForEachPieceOfLine({link->x1, link->y1}, {link->x2, link->y2}, pieceLength, 1,
                       [this](const Rect& piece) { picture_.OverlayChanged(piece); });
  }
  if (const CNode* owner = FoldOwner(node)) picture_.OverlayChanged(owner->GetRect().Inflated(0, CNode::kLabelBand));
  counts_.NodeChanged(node);
  route_.TopologyChanged();
  if (!picture_.InBatch()) route_.Settle();
}

void DocumentLink::NodesShownChanged(std::span<const CNode* const> nodes) {
  // Their images stay what they were; what shows where changes, here and
  // at the owners LUs fold into, wherever the window looks.
  frame_.Renderer().Index().NodesShownChanged(nodes);
  picture_.OverlayChanged();
  counts_.MarkStale();
  route_.TopologyChanged();
  if (!picture_.InBatch()) route_.Settle();
}

bool DocumentLink::SetBackground(ComposedBackground& background) {
  if (!picture_.CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(),
                             doc_.mergedPalette.get())) {
    // Whatever the window showed is gone with the buffer.
    zoom_.SetPictureSize(QSize());
    frame_.Renderer().Index().MarkStale();
    frame_.MarkStale(window_.viewport()->rect());
    return false;
  }
  // A new or opened document comes with a new background, and the node a
  // pending manual link started from belongs to the old one.
  picks_.linkMode = false;
  picks_.linkSource = nullptr;
  route_.ForgetAll();
  picks_.selected = nullptr;
  frame_.Renderer().Index().MarkStale();
  MapToPalette(background, picture_.Palette());
  // The buffer takes the merged palette the node images are rebuilt in; an
  // image that was set outside a rebuild is brought to it here.
  MapNodesToPalette(doc_, picture_.Palette());
  window_.updateGeometry();
  if (!picture_.InBatch()) zoom_.FitWindowToPicture();
  picture_.PictureChanged();
  return true;
}

void DocumentLink::RequestPictureResize(int width, int height) {
  doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
}

// Nothing is shown while nodes arrive or move or the images are rebuilt;
// the end of the outermost batch shows what changed meanwhile.
void DocumentLink::BatchStarted() {
  if (batchDepth_++ == 0) documentBatch_.emplace(picture_);
}

void DocumentLink::BatchEnded() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  documentBatch_.reset();
}

void DocumentLink::NodeRemoving(const CNode& node) {
  counts_.NodeRemoving(node);
  picks_.Forget(node);
  route_.Forget(node);
  blink_.Forget(&node);
}

void DocumentLink::LinkRemoving(const CLink& link) {
  picks_.Forget(link);
  route_.Forget(link);
}

void DocumentLink::AllRemoving() {
  counts_.MarkStale();
  picks_ = ViewPicks{};
  route_.ForgetAll();
  blink_.Forget(nullptr);
}

}  // namespace mapvine
