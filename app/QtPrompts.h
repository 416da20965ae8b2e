#pragma once

#include <QString>
#include <string_view>

#include "base/UserPrompts.h"

class QWidget;

namespace mapvine {

// Turns the "Description|patterns|Description|patterns||" filter form the
// core uses into Qt's "Description (patterns);;..." form. Patterns separated
// by ";" become blank-separated and "*.*" becomes "*"; brackets that end a
// description are replaced by the patterns, so each name shows once.
QString QtFileFilter(std::string_view filter);

// Message boxes and file dialogs over the main window, installed for as long
// as the window exists.
class QtPrompts final : public UserPrompts {
 public:
  QtPrompts(QWidget* parent, QString title);
  ~QtPrompts() override;
  QtPrompts(const QtPrompts&) = delete;
  QtPrompts& operator=(const QtPrompts&) = delete;

  void ShowMessage(std::string_view text) override;
  void ShowWarning(std::string_view text) override;
  bool AskYesNo(std::string_view question) override;
  std::optional<std::string> AskOpenFileName(std::string_view filter) override;
  std::optional<std::string> AskSaveFileName(std::string_view filter) override;

 private:
  QWidget* parent_;
  QString title_;
  UserPrompts* previous_;
};

}  // namespace mapvine
