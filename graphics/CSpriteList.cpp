#include "graphics/CSpriteList.h"

#include <algorithm>
#include <cassert>

namespace mapvine {

void SpriteListObserver::Changed(CSprite& sprite, int what, const Rect& first, const Rect* second) {
  if (what & kDepthChanged) {
    list_.Reorder(sprite);
    AddDirty(first);
  }
  if (what & kPositionChanged) {
    AddDirty(first);
    if (second != nullptr) AddDirty(*second);
  }
  if (what & kImageChanged) AddDirty(first);
}

void SpriteListObserver::AddDirty(const Rect& area) {
  if (view_ != nullptr) view_->AddDirty(area);
}

CSprite& CSpriteList::Insert(std::unique_ptr<CSprite> sprite) {
  assert(sprite != nullptr);
  sprite->SetObserver(&observer_);
  ++orderVersion_;
  const int depth = sprite->GetDepth();
  // In front of every sprite of the same depth.
  auto place = std::find_if(sprites_.begin(), sprites_.end(),
                            [depth](const auto& s) { return s->GetDepth() >= depth; });
  return **sprites_.insert(place, std::move(sprite));
}

std::unique_ptr<CSprite> CSpriteList::Remove(const CSprite& sprite) {
  auto it = Locate(sprite);
  if (it == sprites_.end()) return nullptr;
  std::unique_ptr<CSprite> taken = std::move(*it);
  sprites_.erase(it);
  ++orderVersion_;
  // Out of the list it has nobody to report to (the list may go first).
  taken->SetObserver(nullptr);
  return taken;
}

void CSpriteList::Reorder(const CSprite& sprite) {
  if (std::unique_ptr<CSprite> taken = Remove(sprite)) Insert(std::move(taken));
}

CSprite* CSpriteList::HitTest(int x, int y) const {
  for (const auto& s : sprites_) {
    if (!s->hidden && s->HitTest(x, y)) return s.get();
  }
  return nullptr;
}

CSprite* CSpriteList::FindByLabel(std::string_view label) const {
  for (const auto& s : sprites_) {
    if (s->label == label) return s.get();
  }
  return nullptr;
}

std::list<std::unique_ptr<CSprite>>::iterator CSpriteList::Locate(const CSprite& sprite) {
  return std::find_if(sprites_.begin(), sprites_.end(),
                      [&sprite](const auto& s) { return s.get() == &sprite; });
}

}  // namespace mapvine
