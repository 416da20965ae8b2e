#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/UserPrompts.h"

namespace mapvine::testing {

// Stands in for the message boxes and file dialogs while it lives: records
// what the user would have been shown (information and warnings apart) or
// asked, answers yes/no questions
// with `yes`, and the file dialogs from `fileNames` in order (a dialog with
// no answer left, or a nullopt answer, is cancelled).
class ScriptedPrompts final : public UserPrompts {
 public:
  ScriptedPrompts() : previous_(InstallPrompts(this)) {}
  ~ScriptedPrompts() override { InstallPrompts(previous_); }
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void ShowWarning(std::string_view text) override { warnings.emplace_back(text); }
  bool AskYesNo(std::string_view question) override {
    questions.emplace_back(question);
    return yes;
  }
  std::optional<std::string> AskOpenFileName(std::string_view filter) override {
    return NextFileName(filter);
  }
  std::optional<std::string> AskSaveFileName(std::string_view filter) override {
    return NextFileName(filter);
  }

  bool yes = false;
  std::deque<std::optional<std::string>> fileNames;
  std::vector<std::string> messages;
  std::vector<std::string> warnings;
  std::vector<std::string> questions;
  std::vector<std::string> filters;  // of every file dialog, in order

 private:
  std::optional<std::string> NextFileName(std::string_view filter) {
    filters.emplace_back(filter);
    if (fileNames.empty()) return std::nullopt;
    std::optional<std::string> name = std::move(fileNames.front());
    fileNames.pop_front();
    return name;
  }

  UserPrompts* previous_;
};

}  // namespace mapvine::testing
