#pragma once

#include "base/UserPrompts.h"

namespace mapvine::fuzzing {

// Refusal messages are expected while fuzzing; keep them off the terminal,
// and answer every question No / cancelled.
class SilentPrompts final : public UserPrompts {
 public:
  void ShowMessage(std::string_view) override {}
  void ShowWarning(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
  std::optional<std::string> AskOpenFileName(std::string_view) override { return std::nullopt; }
  std::optional<std::string> AskSaveFileName(std::string_view) override { return std::nullopt; }
};

}  // namespace mapvine::fuzzing
