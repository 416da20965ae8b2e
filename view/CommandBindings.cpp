#include "view/CommandBindings.h"

#include <utility>

#include "view/CommandTable.h"

namespace mapvine {

void CommandBindings::Bind(int id, Handler run, StateRule state) {
  if (FindCommand(id) == nullptr || bindings_.contains(id)) {
    refused_.push_back(id);
    return;
  }
  bindings_.emplace(id, Binding{std::move(run), std::move(state)});
}

std::optional<CommandState> CommandBindings::StateOf(int id) const {
  const auto found = bindings_.find(id);
  if (found == bindings_.end()) return std::nullopt;
  return found->second.state ? found->second.state() : CommandState{};
}

bool CommandBindings::Run(int id) const {
  const auto found = bindings_.find(id);
  if (found == bindings_.end()) return false;
  const Binding& binding = found->second;
  if (binding.state && !binding.state().enabled) return false;
  binding.run();
  return true;
}

}  // namespace mapvine
