#pragma once

#include <initializer_list>
#include <vector>

#include "view/CommandTarget.h"

namespace mapvine {

// Offers each command to its targets in order (view, document, main frame,
// application); the first that handles it wins. A command nobody answers is
// unavailable: its items are greyed and its keys do nothing.
class CommandRouter {
 public:
  CommandRouter() = default;
  CommandRouter(std::initializer_list<CommandTarget*> targets) : targets_(targets) {}

  // True when some target handled the command.
  bool Route(int id) const;
  // The state the first answering target gives; disabled when none answers.
  CommandState StateOf(int id) const;

 private:
  std::vector<CommandTarget*> targets_;  // not owned; null entries are passed over
};

}  // namespace mapvine
