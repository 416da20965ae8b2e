#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string_view>

#include "graphics/COSBView.h"
#include "model/CNode.h"

namespace mapvine {

class CSpriteList;

// The observer every sprite of a list reports to: depth changes re-sort the
// list, every change becomes dirty rectangles of the view, and a sprite's
// own changes are changes of the picture there.
class SpriteListObserver final : public SpriteObserver {
 public:
  explicit SpriteListObserver(CSpriteList& list) : list_(list) {}
  void Changed(CSprite& sprite, int what, const Rect& first, const Rect* second) override;
  void AddDirty(const Rect& area) override;
  void SetView(COSBView* view) { view_ = view; }
  COSBView* View() const { return view_; }

 private:
  void PictureChanged(const Rect& area);

  COSBView* view_ = nullptr;  // not owned; none until a view attaches
  CSpriteList& list_;
};

// The nodes of the picture in ascending depth. Drawn from head to tail, so
// the deepest sprite ends on top; hit-tested from the head. Owns its sprites.
class CSpriteList {
 public:
  CSpriteList() : observer_(*this) {}
  CSpriteList(const CSpriteList&) = delete;
  CSpriteList& operator=(const CSpriteList&) = delete;

  // Inserts before the first sprite of equal or greater depth.
  CNode& Insert(std::unique_ptr<CNode> sprite);
  // Takes the sprite out (not destroyed); empty when absent.
  std::unique_ptr<CNode> Remove(const CSprite& sprite);
  void Reorder(const CSprite& sprite);
  // First shown sprite, from the head, whose HitTest passes.
  CNode* HitTest(int x, int y) const;
  CNode* FindByLabel(std::string_view label) const;
  void DeleteAll() {
    sprites_.clear();
    ++orderVersion_;
  }

  void SetView(COSBView* view) { observer_.SetView(view); }
  COSBView* View() const { return observer_.View(); }

  auto begin() const { return sprites_.begin(); }
  auto end() const { return sprites_.end(); }
  std::size_t size() const { return sprites_.size(); }
  bool empty() const { return sprites_.empty(); }
  // Changes whenever a sprite comes, goes or changes its place in the list:
  // a copy of the order taken at one version is still the list's order
  // while the version stays.
  std::uint64_t OrderVersion() const { return orderVersion_; }

 private:
  std::list<std::unique_ptr<CNode>>::iterator Locate(const CSprite& sprite);

  SpriteListObserver observer_;
  std::list<std::unique_ptr<CNode>> sprites_;
  std::uint64_t orderVersion_ = 0;
};

}  // namespace mapvine
