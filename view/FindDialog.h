#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace mapvine {

// "Locate Resource": asks for the name of the node to find. The text box
// ("box1056") has the focus whenever the dialog is shown.
class FindDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit FindDialog(QWidget* parent = nullptr);
  // The text as typed, in the names' own encoding; nullopt when it holds a
  // character no name can hold.
  std::optional<std::string> Text() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* name_;
};

}  // namespace mapvine
