#pragma once

#include <QMenu>

#include <memory>

#include "render/PictureIndex.h"
#include "view/CommandBindings.h"
#include "view/ViewPicks.h"
#include "view/ViewSignals.h"

namespace mapvine {

// The three context menus of the picture: on a node, on a link and on the
// background. What the right click hit is remembered in the picks for the
// commands the menu leads to; choosing an item sends CommandChosen.
class ContextMenus {
 public:
  ContextMenus(ViewPicks& picks, PictureIndex& index, ViewSignals& viewSignals)
      : picks_(picks), index_(index), signals_(viewSignals) {}

  // Where the items' states are asked; every item is enabled before.
  void AskStatesOf(const CommandBindings& commands) { commands_ = &commands; }

  // The context menu for a right click at `picturePoint`; records what the
  // click hit (menuNode, menuLink, menuOnNode).
  std::unique_ptr<QMenu> Build(Point picturePoint);
  // The node menu for `node`, as a right click on it opens.
  std::unique_ptr<QMenu> BuildNodeMenu(CNode& node);

 private:
  ViewPicks& picks_;
  PictureIndex& index_;
  ViewSignals& signals_;
  const CommandBindings* commands_ = nullptr;
};

}  // namespace mapvine
