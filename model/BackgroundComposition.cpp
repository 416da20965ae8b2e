// The picture's canvas: its size, the background laid out on it (tiled,
// stretched or centred, drawn area by area as it is shown), and the working
// images and merged palette every node is drawn from.
#include <algorithm>
#include <utility>

#include "model/MapvineDoc.h"

namespace mapvine {
namespace {

// Small backgrounds get a canvas of at least this size when none is asked for.
constexpr int kMinimumNaturalWidth = 175;
constexpr int kMinimumNaturalHeight = 200;
// Nodes pulled back inside a smaller canvas keep this distance from its edges.
constexpr int kPullBackRight = 5;
constexpr int kPullBackBottom = 25;

std::unique_ptr<CDIB> CopyOfImage(const CDIB& image) {
  auto copy = std::make_unique<CDIB>();
  copy->CopyPixels(std::span(image.HeaderBlock(), CDIB::kHeaderBlockSize), image.Bits());
  return copy;
}

}  // namespace

bool CMapvineDoc::ComposeBackground(std::unique_ptr<CDIB> image, BackgroundArrangement mode,
                                    int width, int height) {
  picture.backgroundMode = mode;
  if (image && image->GetWidth() < kMinimumNaturalWidth && width == 0) {
    width = kMinimumNaturalWidth;
    height = image->GetHeight();
  }
  if (image && image->GetHeight() < kMinimumNaturalHeight && height == 0) {
    height = kMinimumNaturalHeight;
    width = std::max(image->GetWidth(), kMinimumNaturalWidth);
  }
  picture.pictureWidth = width;
  picture.pictureHeight = height;
  SetModified(true);

  const bool newImage = image != nullptr;
  if (!newImage && !backgroundSource) return false;  // nothing to lay out

  if (!newImage && deferComposition_) {
    // Growth during a refresh: record the size now; lay out the background,
    // and pull back any node the canvas no longer holds, once at the end.
    // Placement puts every new node inside the canvas and growth only
    // enlarges it, so nothing is left outside in between.
    PostponeCanvas();
    pullBackPending_ = true;
    return true;
  }
  compositionPending_ = false;

  if (newImage) {
    // Slot 0 keeps the image in its own colours: it is what a saved picture
    // stores, and what the merged palette is built from when it is opened.
    if (images.empty()) images.resize(1);
    if (palettes.empty()) palettes.resize(1);
    palettes[kBackgroundSlot] = std::make_unique<CDIBPal>();
    palettes[kBackgroundSlot]->CreateFromImage(*image);
    images[kBackgroundSlot] = std::move(image);
    RebuildImages();
  }
  if (headless_ && !view_) {
    PostponeCanvas();
    PullNodesInside();
    return true;
  }
  ComposeCanvas();
  return FinishComposition();
}

Point CMapvineDoc::CanvasSize() const {
  // Both sizes or none: without one the canvas is the background's own size.
  if (picture.pictureWidth != 0 && picture.pictureHeight != 0) {
    return {picture.pictureWidth, picture.pictureHeight};
  }
  return {backgroundSource->GetWidth(), backgroundSource->GetHeight()};
}

void CMapvineDoc::PostponeCanvas() {
  const Point size = CanvasSize();
  picture.composedWidth = size.x;
  picture.composedHeight = size.y;
  compositionPending_ = true;
}

void CMapvineDoc::ComposeCanvas() {
  const Point size = CanvasSize();
  // The source is in the merged palette, so the canvas is too, down to the
  // index 0 that the parts no layout covers keep.
  composedBackground =
      std::make_unique<ComposedBackground>(*backgroundSource, size.x, size.y, ArrangementToLayOut());
}

BackgroundArrangement CMapvineDoc::ArrangementToLayOut() const {
  if (picture.backgroundMode != kArrangementChosenInView || !view_) return picture.backgroundMode;
  return view_->ChosenArrangement();
}

bool CMapvineDoc::FinishComposition() {
  picture.composedWidth = composedBackground->GetWidth();
  picture.composedHeight = composedBackground->GetHeight();
  PullNodesInside();
  return view_ ? view_->SetBackground(*composedBackground) : true;
}

void CMapvineDoc::PullNodesInside() {
  const int canvasWidth = picture.composedWidth;
  const int canvasHeight = picture.composedHeight;
  for (const auto& node : nodes_) {
    const Rect r = node->GetRect();
    int x = node->GetX(), y = node->GetY();
    if (canvasHeight < r.bottom) y = canvasHeight + r.top - r.bottom - kPullBackBottom;
    if (canvasWidth < r.right) x = canvasWidth + r.left - r.right - kPullBackRight;
    if (x == node->GetX() && y == node->GetY()) continue;
    NodeChanging(*node);
    node->SetPosition(x, y);
  }
}

void CMapvineDoc::DeferComposition(bool defer) { deferComposition_ = defer; }

void CMapvineDoc::FinishDeferredComposition() {
  deferComposition_ = false;
  const bool pullBack = std::exchange(pullBackPending_, false);
  // Without a window nobody sees the pixels: they are laid out when a view
  // attaches. Laying them out pulls the nodes inside too, and one walk over
  // a large picture's nodes is enough.
  if (view_ && compositionPending_) return ComposePendingPicture();
  // Once per pass that changed the size, not per pass while the pixels
  // wait for a view.
  if (pullBack) PullNodesInside();
}

void CMapvineDoc::ComposePendingPicture() {
  if (!compositionPending_) return;
  compositionPending_ = false;
  ComposeCanvas();
  FinishComposition();
}

void CMapvineDoc::RebuildImages() {
  workingImages.clear();
  for (const auto& image : images) workingImages.push_back(CopyOfImage(*image));

  mergedPalette = std::make_unique<CDIBPal>();
  mergedPalette->CreateColorCube();
  if (!settings.internalTest) {
    std::vector<CDIBPal*> paletteList;
    std::vector<const CDIB*> imageList;
    for (std::size_t i = 0; i < palettes.size() && i < images.size(); ++i) {
      paletteList.push_back(palettes[i].get());
      imageList.push_back(images[i].get());
    }
    mergedPalette->MergePalettes(paletteList, imageList);
  }

  // Every node shows one of the working images, so mapping each working
  // image once maps every node's image, without repeating the work per node.
  for (auto& working : workingImages) working->RemapToPalette(*mergedPalette);
  // The canvas is laid out from the background in the merged palette, taken
  // afresh from slot 0 so that its colours are never mapped twice.
  if (!workingImages.empty()) backgroundSource = CopyOfImage(*workingImages[kBackgroundSlot]);
  const int slots = static_cast<int>(workingImages.size());
  for (const auto& node : nodes_) {
    if (node->imageIndex == 0) {
      const int slot = node->activeImage;
      node->inactiveImage = slot;
      if (slot > 0 && slot < slots) node->SetImage(*workingImages[slot], 0, 0);
    } else if (node->imageIndex > 0 && node->imageIndex < slots) {
      node->SetImage(*workingImages[node->imageIndex], 0, 0);
    }
  }
}

}  // namespace mapvine
