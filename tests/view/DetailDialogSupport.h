#pragma once

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/UserPrompts.h"
#include "view/DetailDialog.h"

namespace mapvine::viewtest {

// Records the messages the dialogs show instead of opening message boxes.
class RecordingPrompts final : public UserPrompts {
 public:
  RecordingPrompts() : previous_(InstallPrompts(this)) {}
  ~RecordingPrompts() override { InstallPrompts(previous_); }

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view) override { return false; }
  std::optional<std::string> AskOpenFileName(std::string_view) override { return std::nullopt; }
  std::optional<std::string> AskSaveFileName(std::string_view) override { return std::nullopt; }

  std::vector<std::string> messages;

 private:
  UserPrompts* previous_;
};

inline QString BoxText(const CDetailDialog& dialog, int id) {
  const QLineEdit* box = dialog.Box(id);
  return box != nullptr ? box->text() : QStringLiteral("<no box>");
}

inline QString LabelOf(const CDetailDialog& dialog, int id) {
  const auto* form = dialog.findChild<QFormLayout*>();
  const QLineEdit* box = dialog.Box(id);
  if (form == nullptr || box == nullptr) return {};
  const auto* label = qobject_cast<QLabel*>(form->labelForField(const_cast<QLineEdit*>(box)));
  return label != nullptr ? label->text() : QString();
}

// Presses a button of the dialog as the user would.
inline void Click(CDetailDialog& dialog, QDialogButtonBox::StandardButton which) {
  dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

}  // namespace mapvine::viewtest
