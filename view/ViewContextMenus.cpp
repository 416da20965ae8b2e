// The three context menus of the picture: on a node, on a link and on the
// background. What the right click hit is remembered for the commands the
// menu leads to.
#include <span>
#include <vector>

#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine {

namespace {

// One line of a menu table. An item with id 0 opens a popup: the items of
// the next level that follow it belong to that popup.
struct MenuItem {
  int level;
  int id;
  const char* text;
};

constexpr MenuItem kNodeMenu[] = {
    {0, command::kDetails, "Node Details..."},
    {0, command::kLink, "Link"},
    {0, command::kHide, "Hide"},
    {0, command::kMoveCloser, "Move Closer"},
    {0, command::kMoveFarther, "Move Farther"},
    {0, command::kDelete, "Delete"},
    {0, 0, "Icon"},
    {1, command::kIconHost, "Host"},
    {1, command::kIconWorkstation, "Workstation"},
    {1, command::kIconServerWorkstation, "Server Workstation"},
    {1, 0, "Custom"},
    {2, command::kIconActive, "Active Icon..."},
    {2, command::kIconInactive, "Inactive Icon"},
    {2, command::kIconSameForBoth, "Same for Act/Inact..."},
    {0, command::kShowNeighbors, "Show Neighbors"},
    {0, command::kHideNeighbors, "Hide Neighbors"},
    {0, command::kRouteFromHere, "Route From Here"},
    {0, command::kRouteToHere, "Route To Here"},
    {0, command::kPinNode, "Pin"},
    {0, command::kFoldLus, "Fold LUs"},
    {0, command::kShowNeighbourhood, "Show Neighbourhood…"},
};

constexpr MenuItem kLinkMenu[] = {
    {0, command::kDetails, "Link Details..."},
    {0, command::kDelete, "Delete"},
};

constexpr MenuItem kBackgroundMenu[] = {
    {0, command::kNewBackgroundImage, "&Open Background Image"},
    {0, command::kResizeBackground, "&Resize Background..."},
    {0, 0, "Background Image"},
    {1, command::kBackgroundTile, "&Tile"},
    {1, command::kBackgroundStretch, "&Stretch to Fit"},
    {1, command::kBackgroundCenter, "&Center Image"},
};

// A menu of `items`; choosing one asks `view` to route its command.
std::unique_ptr<QMenu> BuildMenu(CMapvineView& view, const char* title,
                                 std::span<const MenuItem> items) {
  auto menu = std::make_unique<QMenu>(QString::fromUtf8(title));
  std::vector<QMenu*> levels{menu.get()};
  for (const MenuItem& item : items) {
    levels.resize(static_cast<std::size_t>(item.level) + 1);
    QMenu& parent = *levels.back();
    if (item.id == 0) {
      levels.push_back(parent.addMenu(QString::fromUtf8(item.text)));
      continue;
    }
    QAction* action = parent.addAction(QString::fromUtf8(item.text));
    action->setData(item.id);
    const CommandState state = view.CommandStateOf(item.id).value_or(CommandState{});
    action->setEnabled(state.enabled);
    // The background arrangement in force carries a check mark.
    action->setCheckable(state.checked);
    action->setChecked(state.checked);
    QObject::connect(action, &QAction::triggered, &view,
                     [&view, id = item.id] { emit view.CommandChosen(id); });
  }
  return menu;
}

}  // namespace

std::unique_ptr<QMenu> CMapvineView::BuildNodeMenu(CNode& node) {
  menuOnNode_ = true;
  menuNode_ = &node;
  return BuildMenu(*this, "Node", kNodeMenu);
}

std::unique_ptr<QMenu> CMapvineView::BuildContextMenu(Point at) {
  // A node first, then a link (which forgets the node), then the background.
  menuOnNode_ = false;
  if (CNode* node = renderer_.Index().NodeAt(at)) return BuildNodeMenu(*node);
  menuNode_ = nullptr;
  menuLink_ = renderer_.Index().LinkAt(at);
  if (menuLink_ != nullptr) return BuildMenu(*this, "Link", kLinkMenu);
  return BuildMenu(*this, "Background", kBackgroundMenu);
}

void CMapvineView::ShowContextMenuAt(QPoint viewportPos) {
  // The menu takes the mouse, so the release that ends a drag under way
  // would never arrive: the drag ends here, the node dropped where it is.
  LeftButtonUp();
  const std::unique_ptr<QMenu> menu = BuildContextMenu(ToPicture(viewportPos));
  menu->exec(viewport()->mapToGlobal(viewportPos));
}

}  // namespace mapvine
