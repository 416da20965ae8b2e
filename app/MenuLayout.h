#pragma once

#include <span>

namespace mapvine {

// One entry of the main menu. `menu` is the top-level menu's text, `submenu`
// the pop-up inside it or null. `text` carries the "&" mnemonic and, after a
// tab, the accelerator shown beside it. `prompt` is the status-bar text while
// the item is highlighted, then optionally "\n" and the toolbar tip. An entry
// with id 0 is a separator.
struct MenuEntry {
  const char* menu;
  const char* submenu;
  const char* text;
  int id;
  const char* prompt;
};

// A key of the accelerator table, in QKeySequence's portable text form.
struct AcceleratorKey {
  const char* keys;
  int id;
};

std::span<const MenuEntry> MainMenuItems();
std::span<const AcceleratorKey> Accelerators();
// The toolbar buttons, left to right; 0 is a separator.
std::span<const int> ToolbarCommands();

}  // namespace mapvine
