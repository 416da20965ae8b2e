#include "model/CSpriteList.h"

#include <algorithm>
#include <cassert>

namespace mapvine {

void SpriteListObserver::Changed(CSprite& sprite, int what, const Rect& first, const Rect* second) {
  if (what & kDepthChanged) {
    list_.Reorder(sprite);
    PictureChanged(first);
  }
  if (what & kPositionChanged) {
    PictureChanged(first);
    if (second != nullptr) PictureChanged(*second);
  }
  if (what & kImageChanged) PictureChanged(first);
}

void SpriteListObserver::PictureChanged(const Rect& area) {
  if (view_ != nullptr) view_->PictureChanged(area);
}

void SpriteListObserver::AddDirty(const Rect& area) {
  // The lines of a moved node: the window draws them anew there, and
  // whoever keeps where lines lie finds them through the node, which
  // reported its own move. Told as a change of the picture, everything
  // else the area holds would be read again for nothing.
  if (view_ != nullptr) view_->OverlayChanged(area);
}

namespace {

using SpriteIterator = std::list<std::unique_ptr<CNode>>::iterator;

// Walks from both ends of [first, last) at once and answers the position
// where `fromFront` first holds going forward, or just after the element
// where `fromBack` first holds going backward, whichever is met first, or
// where the two walks meet when neither holds anywhere. Most changes of depth in a large picture land
// near one end of the list (lifted over all equals, or put back in front of
// them), which a walk from that end reaches at once.
template <typename FromFront, typename FromBack>
SpriteIterator MeetFromBothEnds(SpriteIterator first, SpriteIterator last, FromFront fromFront,
                                FromBack fromBack) {
  SpriteIterator front = first;
  SpriteIterator back = last;
  while (front != back) {
    if (fromFront(**front)) return front;
    ++front;
    if (front == back) break;
    --back;
    if (fromBack(**back)) return std::next(back);
  }
  return back;
}

}  // namespace

CNode& CSpriteList::Insert(std::unique_ptr<CNode> sprite) {
  assert(sprite != nullptr);
  sprite->SetObserver(&observer_);
  ++orderVersion_;
  const int depth = sprite->GetDepth();
  // In front of every sprite of the same depth: before the first deeper or
  // equal one, which is just after the last shallower one.
  const auto place = MeetFromBothEnds(
      sprites_.begin(), sprites_.end(), [depth](const CNode& s) { return s.GetDepth() >= depth; },
      [depth](const CNode& s) { return s.GetDepth() < depth; });
  return **sprites_.insert(place, std::move(sprite));
}

std::unique_ptr<CNode> CSpriteList::Remove(const CSprite& sprite) {
  auto it = Locate(sprite);
  if (it == sprites_.end()) return nullptr;
  std::unique_ptr<CNode> taken = std::move(*it);
  sprites_.erase(it);
  ++orderVersion_;
  // Out of the list it has nobody to report to (the list may go first).
  taken->SetObserver(nullptr);
  return taken;
}

void CSpriteList::Reorder(const CSprite& sprite) {
  if (std::unique_ptr<CNode> taken = Remove(sprite)) Insert(std::move(taken));
}

CNode* CSpriteList::HitTest(int x, int y) const {
  for (const auto& s : sprites_) {
    if (!s->hidden && s->HitTest(x, y)) return s.get();
  }
  return nullptr;
}

CNode* CSpriteList::FindByLabel(std::string_view label) const {
  for (const auto& s : sprites_) {
    if (s->label == label) return s.get();
  }
  return nullptr;
}

std::list<std::unique_ptr<CNode>>::iterator CSpriteList::Locate(const CSprite& sprite) {
  const auto found = MeetFromBothEnds(
      sprites_.begin(), sprites_.end(), [&sprite](const CNode& s) { return &s == &sprite; },
      [&sprite](const CNode& s) { return &s == &sprite; });
  if (found != sprites_.end() && found->get() == &sprite) return found;
  // Met from the back, the answer is the position after it.
  if (found != sprites_.begin() && std::prev(found)->get() == &sprite) return std::prev(found);
  return sprites_.end();
}

}  // namespace mapvine
