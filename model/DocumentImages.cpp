// The commands that change the picture's images: a new background bitmap and
// a node's icon, from the standard families or from the user's own bitmaps.
#include <string_view>

#include "base/UserPrompts.h"
#include "model/MapvineDoc.h"

namespace mapvine {
namespace {

constexpr std::string_view kResizeQuestion = "Resize window to fit smaller background?";

// A node's links are drawn from its centre: when a new icon of another size
// moves the centre, the ends follow.
void MoveLinkEnds(CNode& node, Point centreBefore) {
  const Point centreAfter = node.GetCenter();
  const int dx = centreAfter.x - centreBefore.x;
  const int dy = centreAfter.y - centreBefore.y;
  if (dx == 0 && dy == 0) return;
  for (CLink* link : node.links) link->MoveEndOf(node, dx, dy);
}

// Null when the user cancelled or the file is not a bitmap we can show; the
// user is told which file was refused and why.
std::unique_ptr<CDIB> LoadUserBitmap(const std::string& path) {
  auto image = std::make_unique<CDIB>();
  const DibLoadResult result = image->Load(path);
  if (result) return image;
  if (!result.Cancelled()) Prompts().ShowWarning(result.reason);
  return nullptr;
}

}  // namespace

bool CMapvineDoc::NewBackgroundImage(const std::string& path) {
  return NewBackgroundImage(LoadUserBitmap(path));
}

bool CMapvineDoc::NewBackgroundImage(std::unique_ptr<CDIB> image) {
  if (!image) return false;

  placement.pictureGrown = false;
  placement.columnMode = false;

  // Asked before the batch: the window paints behind the question.
  const bool smaller = image->GetHeight() < picture.composedHeight ||
                       image->GetWidth() < picture.composedWidth;
  const bool resize = !smaller || Prompts().AskYesNo(kResizeQuestion);
  // Nothing shows until the images, the canvas and the view's palette all
  // match again; the batch's end redraws the whole picture.
  const DocumentBatch batch(*this);
  // Kept, the canvas has the smaller image laid out on it in the current style.
  const bool composed =
      resize ? ComposeBackground(std::move(image), kArrangementChosenInView, 0, 0)
             : ComposeBackground(std::move(image), picture.backgroundMode, picture.composedWidth,
                                 picture.composedHeight);
  nodes_.SetView(view_ ? &view_->OffscreenView() : nullptr);
  return composed;
}

void CMapvineDoc::SetStandardIcon(CNode& node, int activeSlot, int inactiveSlot) {
  const int slots = static_cast<int>(workingImages.size());
  if (activeSlot <= 0 || activeSlot >= slots || inactiveSlot <= 0 || inactiveSlot >= slots) return;

  NodeChanging(node);
  const Point centreBefore = node.GetCenter();
  ShowImage(node, IsActive(node.status) ? activeSlot : inactiveSlot);
  node.activeImage = activeSlot;
  node.inactiveImage = inactiveSlot;
  SetModified(true);
  MoveLinkEnds(node, centreBefore);
  if (view_) view_->NodeChanged(node);
}

int CMapvineDoc::AddUserImage(const std::string& path) {
  return AddUserImage(LoadUserBitmap(path));
}

int CMapvineDoc::AddUserImage(std::unique_ptr<CDIB> image) {
  // A picture that grows while the user works on icons keeps its window size.
  placement.resizeWindowOnGrow = false;
  if (!image) return -1;

  // Slot 0 is the background: it is replaced whenever the background changes,
  // and slot 0 means "no image" to a node, so an icon never shares it even
  // when the user picks the background's own bitmap.
  int slot = -1;
  for (int i = 1; i < static_cast<int>(images.size()); ++i) {
    if (images[i]->IsSameImage(*image)) {
      slot = i;
      break;
    }
  }
  if (slot < 0) {
    slot = static_cast<int>(images.size());
    auto palette = std::make_unique<CDIBPal>();
    palette->CreateFromImage(*image);
    images.push_back(std::move(image));
    palettes.push_back(std::move(palette));
    // Every node takes its image from the new working-image table, all
    // mapped to the palette merged with the new colours.
    RebuildImages();
    ComposeBackground(nullptr, picture.backgroundMode, picture.pictureWidth,
                      picture.pictureHeight);
    PictureChanged();
  }
  SetModified(true);
  return slot;
}

void CMapvineDoc::SetCustomIcon(CNode& node, CustomIconRole role, const std::string& path) {
  SetCustomIcon(node, role, LoadUserBitmap(path));
}

void CMapvineDoc::SetCustomIcon(CNode& node, CustomIconRole role, std::unique_ptr<CDIB> image) {
  const Point centreBefore = node.GetCenter();
  const int slot = AddUserImage(std::move(image));
  if (slot < 0) return;

  NodeChanging(node);
  switch (role) {
    case CustomIconRole::Active:
      if (IsActive(node.status)) ShowImage(node, slot);
      node.activeImage = slot;
      break;
    case CustomIconRole::Inactive:
      if (!IsActive(node.status)) ShowImage(node, slot);
      node.inactiveImage = slot;
      break;
    case CustomIconRole::Both:
      ShowImage(node, slot);
      node.activeImage = slot;
      node.inactiveImage = slot;
      break;
  }
  MoveLinkEnds(node, centreBefore);
  if (view_) view_->NodeChanged(node);
}

}  // namespace mapvine
