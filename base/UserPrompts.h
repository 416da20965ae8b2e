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

// While one lives, message boxes are dropped; questions still reach the
// prompts installed before it. For a caller that tells the user of a
// failure in its own words, instead of the parts it calls on each adding
// theirs.
class MessagesMuted final : public UserPrompts {
 public:
  MessagesMuted() : outer_(Prompts()), previous_(InstallPrompts(this)) {}
  ~MessagesMuted() override { InstallPrompts(previous_); }
  MessagesMuted(const MessagesMuted&) = delete;
  MessagesMuted& operator=(const MessagesMuted&) = delete;

  void ShowMessage(std::string_view) override {}
  bool AskYesNo(std::string_view question) override { return outer_.AskYesNo(question); }
  std::optional<std::string> AskOpenFileName(std::string_view filter) override {
    return outer_.AskOpenFileName(filter);
  }
  std::optional<std::string> AskSaveFileName(std::string_view filter) override {
    return outer_.AskSaveFileName(filter);
  }

 private:
  UserPrompts& outer_;
  UserPrompts* previous_;
};

}  // namespace mapvine
