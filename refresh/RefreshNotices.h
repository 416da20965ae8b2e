#pragma once

#include <string>

#include "model/MapvineDoc.h"
#include "refresh/RefreshPass.h"

namespace mapvine {

// Who asked for a refresh: the person (F5, the menu, the settings dialog)
// or the auto-refresh timer.
enum class RefreshTrigger { User, Timer };

// Why a refresh failed, naming the verb and its return codes in words;
// empty when the node answered every query.
std::string RefreshFailureReason(const RefreshOutcome& outcome);

// Tells the person how the node answered, so that a node that is down never
// passes for an empty network. A failure goes to the status line after the
// redraw; a refresh the person asked for also shows it in a message box,
// while the timer raises the box only when a failure begins (or changes),
// not on every tick. The first refresh that works after a failure says so;
// any other that works says what it changed ("2 new, 1 gone").
class RefreshNotices {
 public:
  // `failureReason` is empty when the refresh worked.
  void Report(CMapvineDoc& doc, const std::string& failureReason, RefreshTrigger trigger);

 private:
  std::string standing_;  // the failure last reported, until a refresh works
};

}  // namespace mapvine
