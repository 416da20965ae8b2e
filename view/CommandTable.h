#pragma once

#include <span>

#include "view/CommandIds.h"

namespace mapvine {

// Everything the program says about one command, in one row. The main
// menu, the context menus, the toolbar, the keys, the help, the undo
// history and the refresh's blocking all read it here; the menus' layouts
// say only where each command appears.
struct CommandInfo {
  int id;
  // The item's text with its "&" mnemonic; null for a command that only the
  // program itself runs.
  const char* text;
  // The context menus' text, where it differs from `text`; on a link the
  // context menu says `linkText` where there is one.
  const char* contextText;
  const char* linkText;
  // Its keys in QKeySequence's portable text form, separated by "; "; the
  // first is the one shown beside the menu item.
  const char* keys;
  // The status-bar text while the item is highlighted, then optionally "\n"
  // and the toolbar tip.
  const char* prompt;
  // The toolbar button's image, a Qt resource; null without a button.
  const char* toolbarImage;
  // The name of the edit the command makes, as Undo and Redo say it; null
  // for a command that changes no picture (or that only a refresh changes).
  const char* undoName;
  // The edit records the picture's background and images too.
  bool changesBackground;
  // It cannot run alongside a refresh: it replaces or removes what the
  // refresh is feeding (a new or opened picture, a deletion, an undo that
  // takes a node away), or it would start a second refresh.
  bool blockedWhileRefreshing;

  // The text a context menu shows, on a link when `onLink`.
  const char* ContextText(bool onLink) const;
};

// Every command with a row, in menu order.
std::span<const CommandInfo> Commands();
// The row of a command; null for an id without one.
const CommandInfo* FindCommand(int id);

}  // namespace mapvine
