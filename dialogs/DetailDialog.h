#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QFormLayout;
class QLineEdit;

namespace mapvine {

// The common frame of the detail dialogs: a column of labelled,
// single-line, editable boxes above OK and Cancel. Each box is named
// "box<id>" after its number. OK first checks the boxes (numbers must be
// numbers, limited boxes must not be too long) and keeps the dialog open
// with a short message when one fails; only then are the values taken.
class CDetailDialog : public QDialog {
 public:
  // The box with number `id`, or null.
  QLineEdit* Box(int id) const;
  static QString BoxName(int id) { return QStringLiteral("box%1").arg(id); }

  void accept() override;

 protected:
  CDetailDialog(const char* caption, QWidget* parent);

  // Each box is bound to one of the dialog's values: it shows the value
  // when the dialog opens, and OK writes the box back into it.
  void AddTextBox(int id, const char* label, std::string& value);
  // Shows the value in decimal and takes only whole numbers.
  void AddNumberBox(int id, const char* label, int& value);
  // The user may not make the text longer than `maxLength`; a longer text
  // shown at opening stays until the user shortens it, and OK refuses it.
  void AddLimitedBox(int id, const char* label, std::string& value, int maxLength);

 private:
  enum class Kind { Text, Number, Limited };
  struct Entry {
    int id;
    QLineEdit* box;
    Kind kind;
    int maxLength;
    std::string* text;  // the bound value of a text box, or null
    int* number;        // the bound value of a number box, or null
  };

  QLineEdit& AddBox(const Entry& entry, const char* label, const QString& shown);
  // Checks every box as OK needs it; at the first that fails, tells the
  // user and answers false.
  bool BoxesPass();

  QFormLayout* form_;
  std::vector<Entry> entries_;
};

}  // namespace mapvine
