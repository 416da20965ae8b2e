#pragma once

#include <optional>

namespace mapvine {

// How a command's menu item and toolbar button look right now.
struct CommandState {
  bool enabled = true;
  bool checked = false;
};

// Something commands are offered to. Each command id goes first to the
// view, then to the document, then to the main frame, then to the
// application; the first target that handles it wins.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // True when this target handled the command.
  virtual bool OnCommand(int id) = 0;
  // The item's state when this target handles the command; nullopt passes
  // the question on to the next target.
  virtual std::optional<CommandState> CommandStateOf(int id) const = 0;
};

}  // namespace mapvine
