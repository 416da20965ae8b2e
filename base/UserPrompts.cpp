#include "base/UserPrompts.h"

#include <cstdio>

namespace mapvine {
namespace {

class StandardErrorPrompts final : public UserPrompts {
 public:
  void ShowMessage(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  void ShowWarning(std::string_view text) override { ShowMessage(text); }
  bool AskYesNo(std::string_view question) override {
    std::fprintf(stderr, "%.*s (answered No)\n", static_cast<int>(question.size()), question.data());
    return false;
  }
  std::optional<std::string> AskOpenFileName(std::string_view) override { return std::nullopt; }
  std::optional<std::string> AskSaveFileName(std::string_view) override { return std::nullopt; }
};

StandardErrorPrompts defaultPrompts;
UserPrompts* installed = &defaultPrompts;

}  // namespace

UserPrompts& Prompts() { return *installed; }

UserPrompts* InstallPrompts(UserPrompts* prompts) {
  UserPrompts* previous = installed;
  installed = prompts ? prompts : &defaultPrompts;
  return previous == &defaultPrompts ? nullptr : previous;
}

}  // namespace mapvine
