#pragma once

namespace mapvine {

// The commands that cannot run alongside a refresh: they replace or remove
// what the refresh is feeding (a new or opened picture, a deletion, an undo
// that takes a node away), or they would start a second refresh. The window
// disables them while one runs and says why.
bool BlockedWhileRefreshing(int id);

// Why, in the tooltip and the status bar.
inline constexpr const char* kBlockedWhileRefreshingText = "Not while a refresh runs: Stop it first (Esc)";
inline constexpr const char* kNodeBusyText = "The node has not answered its last query yet";

}  // namespace mapvine
