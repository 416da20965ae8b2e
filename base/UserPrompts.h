#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mapvine {

// The modal questions the core may put to the user: message boxes and file
// dialogs. The Qt front end installs real dialogs; tests install scripted
// answers. Until something is installed, messages go to standard error and
// every question is answered "No" / cancelled, so nothing ever waits for a
// click in a program without a window.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // A message box with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // The same with a warning icon: something the user asked for did not
  // happen (a file or image refused, a node that did not answer).
  virtual void ShowWarning(std::string_view text) = 0;
  // A message box with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(std::string_view question) = 0;
  // File dialogs. `filter` uses the "Description|patterns|...||" form.
  // nullopt when the user cancels.
  virtual std::optional<std::string> AskOpenFileName(std::string_view filter) = 0;
  virtual std::optional<std::string> AskSaveFileName(std::string_view filter) = 0;
};

// The prompts in force. Never null.
UserPrompts& Prompts();

// Installs `prompts` (not owned; must outlive its installation), or the
// standard-error default when null. Returns what was installed before.
UserPrompts* InstallPrompts(UserPrompts* prompts);

}  // namespace mapvine
