#pragma once

namespace mapvine {

// The commands that cannot run alongside a refresh (their rows in
// view/CommandTable.h say so). The window disables them while one runs and
// says why.
bool BlockedWhileRefreshing(int id);

// Why, in the tooltip and the status bar.
inline constexpr const char* kBlockedWhileRefreshingText = "Not while a refresh runs: Stop it first (Esc)";
inline constexpr const char* kNodeBusyText = "The node has not answered its last query yet";

}  // namespace mapvine
