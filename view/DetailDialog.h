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

  void AddTextBox(int id, const char* label, const std::string& text);
  // Shows `value` in decimal and takes only whole numbers.
  void AddNumberBox(int id, const char* label, int value);
  // The user may not make the text longer than `maxLength`; a longer text
  // shown at opening stays until the user shortens it, and OK refuses it.
  void AddLimitedBox(int id, const char* label, const std::string& text, int maxLength);

  std::string TextOf(int id) const;
  int NumberOf(int id) const;

  // Copies the boxes into the dialog's values; called on OK after the checks.
  virtual void StoreValues() = 0;

 private:
  enum class Kind { Text, Number, Limited };
  struct Entry {
    int id;
    QLineEdit* box;
    Kind kind;
    int maxLength;
  };

  QLineEdit& AddBox(int id, const char* label, const QString& text, Kind kind, int maxLength);
  // Checks every box as OK needs it; at the first that fails, tells the
  // user and answers false.
  bool BoxesPass();

  QFormLayout* form_;
  std::vector<Entry> entries_;
};

}  // namespace mapvine
