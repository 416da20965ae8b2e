#include "graphics/CSprite.h"

#include <algorithm>
#include <atomic>

namespace mapvine {

namespace {

// Serial number of the next default label, shared by every sprite made.
std::atomic<int> nextLabelSerial{0};

// Every new sprite shows the same blank 16 x 16 default image until it is
// given its own: a refresh creates thousands of sprites, and each would
// otherwise make and drop an image of its own at once.
std::shared_ptr<DibStorage> DefaultSpriteStorage() {
  static const std::shared_ptr<DibStorage> storage = [] {
    CDIB blank;
    std::shared_ptr<DibStorage> made = std::make_shared<DibStorage>();
    std::copy_n(blank.HeaderBlock(), CDIB::kHeaderBlockSize, made->header.begin());
    made->bits.assign(blank.Bits().begin(), blank.Bits().end());
    return made;
  }();
  return storage;
}

}  // namespace

CSprite::CSprite()
    : CDIB(DefaultSpriteStorage()), label("NETA.NN0" + std::to_string(nextLabelSerial++)) {}

CSprite::~CSprite() = default;

Rect CSprite::GetRect() const {
  if (!HasHeader()) return {x_, y_, x_, y_};
  return {x_, y_, x_ + GetWidth(), y_ + GetHeight()};
}

Point CSprite::GetCenter() const {
  const Rect r = GetRect();
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Point CSprite::LabelOrigin() const {
  const Rect r = GetRect();
  return {r.left + kLabelIndent, r.bottom};
}

Rect CSprite::LabelArea() const {
  const Rect r = GetRect();
  return {r.left, r.bottom, r.right, r.bottom + kLabelBand};
}

bool CSprite::HitTest(int x, int y) const {
  if (!HasHeader()) return false;
  // Strict on the left and top edges: that column and row never hit.
  if (x <= x_ || x >= x_ + GetWidth() || y <= y_ || y >= y_ + GetHeight()) return false;
  const std::uint8_t* pixel = PixelPtr(x - x_, y - y_);
  return pixel != nullptr && *pixel != transparentIndex;
}

void CSprite::Draw(CDIB& target, SurfaceTextDrawer* text, const Rect* clip) const {
  DrawInWindow(target, {0, 0}, text, clip != nullptr ? *clip : target.GetRect());
}

void CSprite::DrawInWindow(CDIB& window, Point origin, SurfaceTextDrawer* text,
                           const Rect& clip) const {
  if (hidden || !HasHeader()) return;
  const Rect r = GetRect();
  const Rect band = r.Inflated(0, kLabelBand);
  if (!band.Intersects(clip)) return;

  // Always cut to the window too: a sprite placed (or loaded) partly outside
  // the picture must not make the copy run past the image.
  const Rect shown = window.GetRect().Offset(origin.x, origin.y);
  const Rect part = r.Intersect(shown).Intersect(clip);
  if (!part.IsEmpty()) {
    CopyPixelsTo(window, part.left - origin.x, part.top - origin.y, part.Width(), part.Height(),
                 part.left - x_, part.top - y_, PaletteIndex(transparentIndex));
  }

  // The label is cut only to its own band under the image (and the picture),
  // not to the clip.
  if (text == nullptr) return;
  const Rect labelArea = LabelArea().Intersect(shown);
  if (labelArea.IsEmpty()) return;
  const Point labelAt = LabelOrigin();
  text->DrawText(window, label, {labelAt.x - origin.x, labelAt.y - origin.y},
                 labelArea.Offset(-origin.x, -origin.y), kLabelColor);
}

void CSprite::SetPosition(int x, int y) {
  const Rect oldBand = GetRect().Inflated(0, kLabelBand);
  x_ = x;
  y_ = y;
  const Rect newBand = GetRect().Inflated(0, kLabelBand);

  if (observer_ != nullptr) observer_->Changed(*this, kPositionChanged, oldBand, &newBand);
}

void CSprite::SetDepth(int depth) {
  if (depth == depth_) return;
  depth_ = depth;
  if (observer_ != nullptr) observer_->Changed(*this, kDepthChanged, GetRect(), nullptr);
}

void CSprite::SetImage(const CDIB& image) {
  ShareStorageOf(image);
  PickTransparentIndex();
}

// The loads below read into an image of their own and only then take its
// storage, so that a sprite sharing a document image never overwrites it,
// and a failed load leaves the sprite as it was.
bool CSprite::TakeLoaded(CDIB& loadedImage) {
  ShareStorageOf(loadedImage);
  loaded_ = true;
  PickTransparentIndex();
  return true;
}

bool CSprite::LoadFromResource(std::string_view name) {
  CDIB image;
  return image.LoadFromResource(name) && TakeLoaded(image);
}

DibLoadResult CSprite::Load(ByteReader& in) {
  CDIB image;
  DibLoadResult result = image.Load(in);
  if (result) TakeLoaded(image);
  return result;
}

DibLoadResult CSprite::LoadFile(const std::string& path) {
  CDIB image;
  DibLoadResult result = image.Load(path);
  if (result) TakeLoaded(image);
  return result;
}

bool CSprite::RemapToPalette(const CDIBPal& palette) {
  const bool remapped = CDIB::RemapToPalette(palette);
  PickTransparentIndex();
  return remapped;
}

void CSprite::PickTransparentIndex() {
  if (!HasHeader()) return;
  if (const std::uint8_t* topLeft = PixelPtr(0, 0)) transparentIndex = *topLeft;
}

}  // namespace mapvine
