// Where new nodes go: a square grid walked row by row; a full picture wraps
// or grows by one grid step, and once grown the walk also fills the new
// right-hand column, bottom to top.
#include <algorithm>

#include "graphics/CDIBLayout.h"
#include "model/MapvineDoc.h"

namespace mapvine {
namespace {

// A picture side beyond this could not be saved (nor shown as one image),
// so growth stops there; the largest network a node can describe still
// finds a free grid place on a canvas of that size.
constexpr int kLargestSide = static_cast<int>(dib::kMaxSide);

}  // namespace

bool CMapvineDoc::Grow() {
  const int width = std::min(picture.composedWidth + placement.gridSpacing, kLargestSide);
  const int height = std::min(picture.composedHeight + placement.gridSpacing, kLargestSide);
  if (width == picture.composedWidth && height == picture.composedHeight) return false;
  if (placement.resizeWindowOnGrow && view_) {
    view_->RequestPictureResize(width, height);
  } else {
    ComposeBackground(nullptr, picture.backgroundMode, width, height);
  }
  return true;
}

Point CMapvineDoc::AdvancePlacement() {
  PlacementState& p = placement;
  const int step = p.gridSpacing;
  if (p.firstPlacement) {
    p.firstPlacement = false;
    return {p.cursorX, p.cursorY};
  }
  if (!p.columnMode) {
    p.cursorX += step;
  } else {
    p.cursorY -= step;
    if (p.cursorY >= 0) return {p.cursorX, p.cursorY};
    Grow();
    p.cursorX = 0;
    p.columnMode = false;
    p.cursorY = p.savedCursorY + step;
    return {p.cursorX, p.cursorY};
  }

  if (picture.composedWidth <= p.cursorX + step) {
    if (!p.pictureGrown) {
      p.cursorX = 0;
      p.cursorY += step;
    } else {
      p.savedCursorY = p.cursorY;
      p.cursorX -= step;
      p.columnMode = true;
      p.cursorY -= step;
      if (p.cursorY < 0) {
        Grow();
        p.cursorY = 0;
        p.columnMode = false;
        p.cursorX = p.savedCursorX + step;
      }
    }
  }

  if (picture.composedHeight > p.cursorY + step) return {p.cursorX, p.cursorY};
  // The window shows the larger picture the next time it paints; a picture
  // that cannot grow any more wraps as one that may not.
  if (!settings.autoGrow || !Grow()) {
    p.cursorY = 0;
    return {p.cursorX, p.cursorY};
  }
  p.pictureGrown = true;
  return {p.cursorX, p.cursorY};
}

void CMapvineDoc::TileNodes() {
  const PlacementState placementBefore = placement;
  bool moved = false;
  placement.cursorX = 0;
  placement.cursorY = 0;
  placement.columnMode = false;
  placement.pictureGrown = false;
  placement.firstPlacement = true;

  // The picture is shown once, after every node has moved.
  BatchStarts();
  auto placeAll = [&](bool hidden) {
    for (const auto& node : nodes_) {
      if (node->hidden != hidden) continue;
      const Point place = AdvancePlacement();
      if (place == Point{node->GetX(), node->GetY()}) continue;
      moved = true;
      NodeChanging(*node);
      node->SetPosition(place.x, place.y);
    }
  };
  placeAll(false);
  placeAll(true);
  // Positions and the placement cursor are saved with the picture.
  if (moved || placement != placementBefore) SetModified(true);
  BatchEnds();
}

}  // namespace mapvine
