// The picture's canvas: the background image laid out (tiled, stretched or
// centred) on a canvas of the requested size, and the working images and
// merged palette every node is drawn from.
#include <algorithm>

#include "model/MapvineDoc.h"

namespace mapvine {
namespace {

// Small backgrounds get a canvas of at least this size when none is asked for.
constexpr int kMinimumNaturalWidth = 175;
constexpr int kMinimumNaturalHeight = 200;
// Nodes pulled back inside a smaller canvas keep this distance from its edges.
constexpr int kPullBackRight = 5;
constexpr int kPullBackBottom = 25;

enum BackgroundStyle { kTile = 0, kStretch = 1, kCentre = 2 };

void TileOnto(const CDIB& source, CDIB& canvas) {
  const int sw = source.GetWidth(), sh = source.GetHeight();
  const int cw = canvas.GetWidth(), ch = canvas.GetHeight();
  if (sw <= 0 || sh <= 0) return;
  for (int x = 0; x < cw; x += sw) {
    for (int y = 0; y < ch; y += sh) {
      source.CopyPixelsTo(canvas, x, y, std::min(sw, cw - x), std::min(sh, ch - y), 0, 0, kOpaque);
    }
  }
}

// One opaque copy of the source's middle onto the canvas's middle; every
// half is taken by integer division.
void CentreOnto(const CDIB& source, CDIB& canvas) {
  const int sw = source.GetWidth(), sh = source.GetHeight();
  const int w = canvas.GetWidth(), h = canvas.GetHeight();
  const int copyW = std::min(sw, w), copyH = std::min(sh, h);
  const int sx = sw >= w ? sw / 2 - w / 2 : 0;
  const int sy = sh >= h ? sh / 2 - h / 2 : 0;
  const int dx = sw >= w ? 0 : w / 2 - sw / 2;
  const int dy = sh >= h ? 0 : h / 2 - sh / 2;
  source.CopyPixelsTo(canvas, dx, dy, copyW, copyH, sx, sy, kOpaque);
}

void LayOut(const CDIB& source, CDIB& canvas, int style) {
  switch (style) {
    case kStretch:
      source.StretchPixelsTo(canvas, 0, 0, canvas.GetWidth(), canvas.GetHeight(), 0, 0,
                             source.GetWidth(), source.GetHeight(), kOpaque);
      break;
    case kCentre:
      CentreOnto(source, canvas);
      break;
    default:
      TileOnto(source, canvas);
      break;
  }
}

std::unique_ptr<CDIB> CopyOfImage(const CDIB& image) {
  auto copy = std::make_unique<CDIB>();
  copy->CopyPixels(std::span(image.HeaderBlock(), CDIB::kHeaderBlockSize), image.Bits());
  return copy;
}

}  // namespace

bool CMapvineDoc::ComposeBackground(std::unique_ptr<CDIB> image, int mode, int width, int height) {
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
  modified_ = true;

  const bool sized = width != 0 && height != 0;
  const bool newImage = image != nullptr;
  if (!newImage && (!sized || !backgroundSource)) return false;  // nothing to lay out

  if (!newImage && deferComposition_) {
    // Growth during a refresh: record the size now; lay out pixels, and pull
    // back any node the canvas no longer holds, once at the end. Placement
    // puts every new node inside the canvas and growth only enlarges it, so
    // nothing is left outside in between.
    picture.composedWidth = width;
    picture.composedHeight = height;
    compositionPending_ = true;
    return true;
  }
  compositionPending_ = false;

  if (sized) {
    if (newImage) backgroundSource = std::move(image);
    ComposeCanvas();
  } else {
    composedBackground = std::move(image);
    auto source = std::make_unique<CDIB>();
    CDIBPal sourcePalette;
    sourcePalette.CreateFromImage(*composedBackground);
    source->Create(composedBackground->GetWidth(), composedBackground->GetHeight(), &sourcePalette);
    composedBackground->CopyPixelsTo(*source, 0, 0, source->GetWidth(), source->GetHeight(), 0, 0,
                                     kOpaque);
    backgroundSource = std::move(source);
  }
  return FinishComposition(newImage);
}

void CMapvineDoc::ComposeCanvas() {
  const int width = picture.pictureWidth;
  const int height = picture.pictureHeight;
  CDIBPal canvasPalette;
  canvasPalette.CreateFromImage(*backgroundSource);
  // The canvas is created anew in the same object, which keeps its memory
  // when the size stays.
  if (!composedBackground) composedBackground = std::make_unique<CDIB>();
  composedBackground->Create(width, height, &canvasPalette);
  const int style = picture.backgroundMode != 0 ? picture.backgroundMode
                                                : (view_ ? view_->BackgroundArrangement() : 0);
  LayOut(*backgroundSource, *composedBackground, style);
}

bool CMapvineDoc::FinishComposition(bool newImage) {
  picture.composedWidth = composedBackground->GetWidth();
  picture.composedHeight = composedBackground->GetHeight();

  if (images.empty()) images.resize(1);
  if (palettes.empty()) palettes.resize(1);
  images[kBackgroundSlot] = CopyOfImage(*backgroundSource);
  palettes[kBackgroundSlot] = std::make_unique<CDIBPal>();
  palettes[kBackgroundSlot]->CreateFromImage(*images[kBackgroundSlot]);

  if (newImage) {
    RebuildImages();
    backgroundSource->RemapToPalette(*mergedPalette);
    composedBackground->RemapToPalette(*mergedPalette);
  }
  PullNodesInside();
  picture.rebuilding = 0;
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
    if (x != node->GetX() || y != node->GetY()) node->SetPosition(x, y);
  }
}

void CMapvineDoc::DeferComposition(bool defer) { deferComposition_ = defer; }

void CMapvineDoc::FinishDeferredComposition() {
  deferComposition_ = false;
  if (!compositionPending_) return;
  PullNodesInside();
  // Without a window nobody sees the pixels: they are laid out when a view
  // attaches.
  if (view_) ComposePendingPicture();
}

void CMapvineDoc::ComposePendingPicture() {
  if (!compositionPending_) return;
  compositionPending_ = false;
  ComposeCanvas();
  FinishComposition(false);
}

void CMapvineDoc::RebuildImages() {
  picture.rebuilding = 1;
  workingImages.clear();
  for (const auto& image : images) workingImages.push_back(CopyOfImage(*image));

  mergedPalette = std::make_unique<CDIBPal>();
  mergedPalette->CreateColorCube();
  if (settings.internalTest != 1) {
    std::vector<CDIBPal*> paletteList;
    std::vector<const CDIB*> imageList;
    for (std::size_t i = 0; i < palettes.size() && i < images.size(); ++i) {
      paletteList.push_back(palettes[i].get());
      imageList.push_back(images[i].get());
    }
    mergedPalette->MergePalettes(paletteList, imageList);
  }
  mergedPalette->MatchSystemPalette();

  // Every node shows one of the working images, so mapping each working
  // image once maps every node's image, without repeating the work per node.
  for (auto& working : workingImages) working->RemapToPalette(*mergedPalette);
  const int slots = static_cast<int>(workingImages.size());
  for (const auto& node : nodes_) {
    if (node->imageIndex == 0) {
      const int slot = node->activeImage;
      node->activeImage = slot;
      node->inactiveImage = slot;
      if (slot > 0 && slot < slots) node->SetImage(*workingImages[slot], 0, 0);
    } else if (node->imageIndex > 0 && node->imageIndex < slots) {
      node->SetImage(*workingImages[node->imageIndex], 0, 0);
    }
  }
  picture.rebuilding = 0;
}

}  // namespace mapvine
