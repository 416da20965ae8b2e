#include "dialogs/DialogNumbers.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <string>

#include "base/UserPrompts.h"

namespace mapvine {
namespace {

std::optional<int> Refuse(QLineEdit& box, const std::string& message) {
  Prompts().ShowMessage(message);
  box.setFocus();
  box.selectAll();
  return std::nullopt;
}

}  // namespace

std::optional<int> ReadBoundedInt(QLineEdit& box, int min, int max) {
  const QString text = box.text().trimmed();
  const std::string range = "Please enter an integer between " + std::to_string(min) + " and " +
                            std::to_string(max) + ".";
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (!ok) {
    // A number too long for any integer type is still a number: out of range.
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    return Refuse(box, digits.match(text).hasMatch() ? range : "Please enter an integer.");
  }
  if (value < min || value > max) return Refuse(box, range);
  return static_cast<int>(value);
}

}  // namespace mapvine
