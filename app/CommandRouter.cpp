#include "app/CommandRouter.h"

namespace mapvine {

bool CommandRouter::Route(int id) const {
  for (CommandTarget* target : targets_) {
    // A target that cannot run the command now would only say so through a
    // disabled state; do not run it behind the greyed item's back.
    if (!target) continue;
    const auto state = target->CommandStateOf(id);
    if (state && !state->enabled) return false;
    if (target->OnCommand(id)) return true;
  }
  return false;
}

CommandState CommandRouter::StateOf(int id) const {
  for (const CommandTarget* target : targets_) {
    if (!target) continue;
    if (const auto state = target->CommandStateOf(id)) return *state;
  }
  return CommandState{false, false};
}

}  // namespace mapvine
