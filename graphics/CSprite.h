#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/CDIBSurface.h"
#include "graphics/Geometry.h"

namespace mapvine {

class CSprite;

// What a sprite reports when it moves, changes depth or changes image.
enum SpriteChange : int {
  kDepthChanged = 1,
  kPositionChanged = 2,
  kImageChanged = 4,
};

class SpriteObserver {
 public:
  virtual ~SpriteObserver() = default;
  // `what` is a set of SpriteChange bits; `second` may be null.
  virtual void Changed(CSprite& sprite, int what, const Rect& first, const Rect* second) = 0;
  // An area of the picture that must be redrawn (the bounds of what hangs
  // on a sprite, before and after a move).
  virtual void AddDirty(const Rect& area) = 0;
};

// An image at a place of the picture: a position, a depth, a transparent
// palette index and a label drawn under it, unless it is hidden. A sprite
// never owns image storage of its own making: it shows the storage of an
// image of the document (SetImage) or what it loaded itself.
class CSprite : public CDIB {
 public:
  // Height of the label band under (and, for redraws, over) the image.
  static constexpr int kLabelBand = 30;
  // The label starts this far right of the image's left edge.
  static constexpr int kLabelIndent = 10;
  // Labels are white.
  static constexpr PaletteEntry kLabelColor{255, 255, 255, 0};

  // Default label "NETA.NN0" followed by a program-wide serial number.
  CSprite();
  ~CSprite() override;

  int GetX() const { return x_; }
  int GetY() const { return y_; }
  int GetDepth() const { return depth_; }
  Rect GetRect() const override;
  Point GetCenter() const;
  // The top-left corner of the label's text, and the band under the image
  // the label is cut to.
  Point LabelOrigin() const;
  Rect LabelArea() const;

  // Pixel-exact hit test; the left column and the top row never hit.
  bool HitTest(int x, int y) const;
  // Draws the image (clipped to `clip` when given) and the label into
  // `target`. Without a clip the whole sprite must lie inside `target`.
  void Draw(CDIB& target, SurfaceTextDrawer* text, const Rect* clip) const;
  // The same into `window`, an image showing the part of the picture whose
  // top-left corner is `origin`; `clip` is in picture coordinates. The
  // pixels are those Draw sets in a whole-picture image there.
  void DrawInWindow(CDIB& window, Point origin, SurfaceTextDrawer* text, const Rect& clip) const;
  // Moves the sprite and reports the old and the new place; virtual, so
  // that what hangs on a sprite moves with it however the move is asked for.
  virtual void SetPosition(int x, int y);
  void SetDepth(int depth);
  void SetObserver(SpriteObserver* observer) { observer_ = observer; }
  SpriteObserver* Observer() const { return observer_; }

  // Shows `image`'s storage (shared, not copied).
  void SetImage(const CDIB& image);

  using CDIB::Load;
  bool LoadFromResource(std::string_view name) override;
  DibLoadResult Load(ByteReader& in) override;
  DibLoadResult LoadFile(const std::string& path);
  bool RemapToPalette(const CDIBPal& palette) override;
  void PickTransparentIndex();

  std::string label;
  bool hidden = false;
  std::uint8_t transparentIndex = 0;

 private:
  // Takes over the storage of a freshly loaded image; true.
  bool TakeLoaded(CDIB& loadedImage);

  SpriteObserver* observer_ = nullptr;  // not owned
  int x_ = 0;
  int y_ = 0;
  int depth_ = 50;
};

}  // namespace mapvine
