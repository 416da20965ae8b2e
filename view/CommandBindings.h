#pragma once

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace mapvine {

// How a command's menu item and toolbar button look right now.
struct CommandState {
  bool enabled = true;
  bool checked = false;
};

// What each command of view/CommandTable.h does and whether it can now:
// its handler and its state, bound once by the part of the program that
// owns the work (the view, the printer, the document's commands, the
// arrangement, the main frame, the application). The menus, the toolbar,
// the keys and the context menus all run and ask through here.
class CommandBindings {
 public:
  using Handler = std::function<void()>;
  using StateRule = std::function<CommandState()>;

  // Gives the command its handler and, unless it is always enabled and
  // never checked, the rule for its state. A command has one owner: an id
  // bound before, or one without a row in the table, is refused and kept in
  // Refused().
  void Bind(int id, Handler run, StateRule state = {});

  // The state of a bound command; nullopt for one nobody bound.
  std::optional<CommandState> StateOf(int id) const;
  // Runs a bound command unless its state disables it: a greyed item's keys
  // do nothing either. True when it ran.
  bool Run(int id) const;

  // The ids Bind refused, in order: a second owner or a stray id.
  const std::vector<int>& Refused() const { return refused_; }

 private:
  struct Binding {
    Handler run;
    StateRule state;
  };
  std::unordered_map<int, Binding> bindings_;
  std::vector<int> refused_;
};

// A part of the program that owns commands binds them, all in one place.
class CommandOwner {
 public:
  virtual ~CommandOwner() = default;
  virtual void BindCommands(CommandBindings& commands) = 0;
};

}  // namespace mapvine
