// What a change of the picture costs the view, and drawing the picture whole
// when someone wants all of it (printing, --render). Each fact the window
// shows about the picture is brought up to date where its cause is: the
// picture index when nodes or lines may have moved, the counts when nodes
// came, went, hid or showed, the route when its ends or the topology
// changed, the window's size when the picture's did.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/LuFolding.h"
#include "render/PaletteMapping.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

// A piece of a changed line spans about this many window pixels.
constexpr double kLinePieceWindowPixels = 64.0;

// The areas a line covers, piece by piece along it: its box may span much
// of a large picture while the line itself covers little of it. Each piece
// has the margin the whole line's box has.
template <typename Area>
void ForEachPieceOf(const CLink& link, int pieceLength, Area area) {
  const int length = std::max(std::abs(link.x2 - link.x1), std::abs(link.y2 - link.y1));
  const int pieces = std::max(1, (length + pieceLength - 1) / pieceLength);
  for (int i = 0; i < pieces; ++i) {
    const auto at = [&](int step) {
      return Point{link.x1 + static_cast<int>(static_cast<long long>(link.x2 - link.x1) * step / pieces),
                   link.y1 + static_cast<int>(static_cast<long long>(link.y2 - link.y1) * step / pieces)};
    };
    const Point from = at(i);
    const Point to = at(i + 1);
    area(Rect{from.x, from.y, to.x, to.y}.Normalized().Inflated(1, 1));
  }
}

}  // namespace

void CMapvineView::NodeChanged(CNode& node) {
  MapToPalette(node, Palette());
  node.PickTransparentIndex();
  // A status change moves nothing: the node, its lines and, far out, the
  // owner it may show folded into are drawn anew, and nothing else.
  PictureChanged(node.GetRect().Inflated(0, CNode::kLabelBand));
  const int pieceLength = static_cast<int>(std::ceil(kLinePieceWindowPixels / std::min(zoom_.Zoom(), 1.0)));
  for (const CLink* link : node.links) {
    ForEachPieceOf(*link, pieceLength, [this](const Rect& piece) { PictureChanged(piece); });
  }
  if (const CNode* owner = FoldOwner(node)) PictureChanged(owner->GetRect().Inflated(0, CNode::kLabelBand));
  counts_.MarkStale();
  route_.TopologyChanged();
  if (!InBatch()) SettleStatus();
}

void CMapvineView::PictureAreaChanged(const Rect& area) {
  // The pixels themselves are drawn when shown; the next paint reads what
  // lies there anew.
  renderer_.Index().AreaChanged(area);
}

void CMapvineView::WholePictureChanged() {
  // A refresh grows the picture while nothing is shown; the window follows
  // when the picture is shown again.
  zoom_.FitWindowToNewPictureSize();
  renderer_.Index().MarkStale();
  counts_.MarkStale();
  route_.TopologyChanged();
  SettleStatus();
}

void CMapvineView::BatchFinished() { SettleStatus(); }

void CMapvineView::SettleStatus() {
  // Without a picture (a background that failed) the window says nothing;
  // the next good one brings the counts.
  if (!HasBuffer()) return;
  const bool recounted = counts_.Settle(doc_);
  const bool refound = route_.FindIfStale();
  if (refound) OverlayChanged();
  if (recounted || refound) ShowStatus();
}

void CMapvineView::ShowStatus() {
  doc_.ShowNodeCount(counts_.Displayed(), counts_.Total());
  if (const auto status = route_.Status()) doc_.ShowStatusText(*status);
}

ViewOverlays CMapvineView::Overlays() const {
  ViewOverlays overlays;
  route_.AddTo(overlays);
  overlays.selected = SelectedNode();
  return overlays;
}

void CMapvineView::DrawPalettedArea(CDIB& window, Point origin, const Rect& area) {
  renderer_.DrawArea(window, origin, area, GetBufferDC());
}

std::unique_ptr<CDIBSurface> CMapvineView::PalettedPicture() {
  if (!HasBuffer()) return nullptr;
  auto picture = std::make_unique<CDIBSurface>();
  if (!picture->Create(BufferRect().Width(), BufferRect().Height(), Palette())) return nullptr;
  DrawPalettedArea(*picture, {0, 0}, BufferRect());
  return picture;
}

QImage CMapvineView::PictureImage() {
  if (!HasBuffer()) return {};
  return renderer_.WholePicture(Palette(), BufferRect(), GetBufferDC(), Overlays());
}

}  // namespace mapvine
