#include "view/ContextMenus.h"

#include <span>
#include <vector>

#include "view/CommandIds.h"
#include "view/CommandTable.h"

namespace mapvine {

namespace {

// One line of a menu's layout. An item with id 0 opens a popup titled
// `popup`: the items of the next level that follow it belong to that popup.
// Every other item's text is its command's (view/CommandTable.h).
struct MenuItem {
  int level;
  int id;
  const char* popup = nullptr;
};

constexpr MenuItem kNodeMenu[] = {
    {0, command::kDetails},
    {0, command::kLink},
    {0, command::kHide},
    {0, command::kMoveCloser},
    {0, command::kMoveFarther},
    {0, command::kDelete},
    {0, 0, "Icon"},
    {1, command::kIconHost},
    {1, command::kIconWorkstation},
    {1, command::kIconServerWorkstation},
    {1, 0, "Custom"},
    {2, command::kIconActive},
    {2, command::kIconInactive},
    {2, command::kIconSameForBoth},
    {0, command::kShowNeighbors},
    {0, command::kHideNeighbors},
    {0, command::kRouteFromHere},
    {0, command::kRouteToHere},
    {0, command::kPinNode},
    {0, command::kFoldLus},
    {0, command::kShowNeighbourhood},
};

constexpr MenuItem kLinkMenu[] = {
    {0, command::kDetails},
    {0, command::kDelete},
};

constexpr MenuItem kBackgroundMenu[] = {
    {0, command::kNewBackgroundImage},
    {0, command::kResizeBackground},
    {0, 0, "Background Image"},
    {1, command::kBackgroundTile},
    {1, command::kBackgroundStretch},
    {1, command::kBackgroundCenter},
};

// A menu of `items`, each as `commands` says it is now (enabled while
// unbound); choosing one sends its command to be routed.
std::unique_ptr<QMenu> BuildMenu(ViewSignals& viewSignals, const CommandBindings* commands, const char* title,
                                 std::span<const MenuItem> items, bool onLink = false) {
  auto menu = std::make_unique<QMenu>(QString::fromUtf8(title));
  std::vector<QMenu*> levels{menu.get()};
  for (const MenuItem& item : items) {
    levels.resize(static_cast<std::size_t>(item.level) + 1);
    QMenu& parent = *levels.back();
    if (item.id == 0) {
      levels.push_back(parent.addMenu(QString::fromUtf8(item.popup)));
      continue;
    }
    QAction* action = parent.addAction(QString::fromUtf8(FindCommand(item.id)->ContextText(onLink)));
    action->setData(item.id);
    const CommandState state = commands != nullptr ? commands->StateOf(item.id).value_or(CommandState{}) : CommandState{};
    action->setEnabled(state.enabled);
    // The background arrangement in force carries a check mark.
    action->setCheckable(state.checked);
    action->setChecked(state.checked);
    QObject::connect(action, &QAction::triggered, &viewSignals,
                     [&viewSignals, id = item.id] { emit viewSignals.CommandChosen(id); });
  }
  return menu;
}

}  // namespace

std::unique_ptr<QMenu> ContextMenus::BuildNodeMenu(CNode& node) {
  picks_.menuOnNode = true;
  picks_.menuNode = &node;
  return BuildMenu(signals_, commands_, "Node", kNodeMenu);
}

std::unique_ptr<QMenu> ContextMenus::Build(Point at) {
  // A node first, then a link (which forgets the node), then the background.
  picks_.menuOnNode = false;
  if (CNode* node = index_.NodeAt(at)) return BuildNodeMenu(*node);
  picks_.menuNode = nullptr;
  picks_.menuLink = index_.LinkAt(at);
  if (picks_.menuLink != nullptr) return BuildMenu(signals_, commands_, "Link", kLinkMenu, true);
  return BuildMenu(signals_, commands_, "Background", kBackgroundMenu);
}

}  // namespace mapvine
