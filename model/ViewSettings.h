#pragma once

#include "model/MapvineDoc.h"

namespace mapvine {

// The accepted auto-refresh periods, in seconds.
inline constexpr int kMinRefreshSeconds = 1;
inline constexpr int kMaxRefreshSeconds = 32000;

// What the auto-refresh timer needs once new settings are in force.
enum class RefreshTimerAction {
  None,        // a changed period takes effect when the next refresh re-arms it
  Stop,        // auto refresh is off
  RefreshNow,  // auto refresh was just switched on: the refresh arms the timer
};

// Writes the nine values the settings dialog edits (the pop-up flags,
// growing, tiling, the status query and auto refresh with its period) from
// `edited` into the document's settings; the others stay. The caller has
// checked the period's range. Nothing on the picture changes, but the
// settings travel in the saved file, so a change marks the document
// modified.
RefreshTimerAction ApplyViewSettings(CMapvineDoc& doc, const DocumentSettings& edited);

}  // namespace mapvine
