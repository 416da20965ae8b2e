#pragma once

#include <span>

namespace mapvine {

// One place of the main menu. `menu` is the top-level menu's text, `submenu`
// the pop-up inside it or null; `id` the command whose row of
// view/CommandTable.h gives the item its text, keys and prompt. An entry
// with id 0 is a separator.
struct MenuEntry {
  const char* menu;
  const char* submenu;
  int id;
};

std::span<const MenuEntry> MainMenuItems();
// The toolbar buttons, left to right; 0 is a separator.
std::span<const int> ToolbarCommands();

}  // namespace mapvine
