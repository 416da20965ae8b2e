#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/ScriptedPrompts.h"
#include "dialogs/ModalDialog.h"

namespace mapvine::dialogtest {


// While it lives, every modal dialog is shown without a modal loop and
// handed to `act`, which works its controls. A dialog `act` leaves open is
// cancelled. `opened` counts the dialogs.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(QDialog&)> act) : act_(std::move(act)) {
    previous_ = InstallDialogDriver([this](QDialog& dialog) {
      ++opened;
      dialog.open();
      act_(dialog);
      if (dialog.isVisible()) dialog.reject();
      return dialog.result();
    });
  }
  ~DialogScript() { InstallDialogDriver(std::move(previous_)); }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  int opened = 0;

 private:
  std::function<void(QDialog&)> act_;
  DialogDriver previous_;
};

inline void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  ASSERT_NE(buttons->button(which), nullptr);
  buttons->button(which)->click();
}
inline void PressOk(QDialog& dialog) { Press(dialog, QDialogButtonBox::Ok); }
inline void PressCancel(QDialog& dialog) { Press(dialog, QDialogButtonBox::Cancel); }

// The control with this object name; a missing one ends the test program,
// since every later step would work on nothing.
template <typename Control = QLineEdit>
Control& Find(QDialog& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(name);
  if (control == nullptr) {
    ADD_FAILURE() << "no control " << name;
    std::abort();
  }
  return *control;
}

}  // namespace mapvine::dialogtest
