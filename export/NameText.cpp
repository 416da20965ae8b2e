#include "export/NameText.h"

#include <algorithm>

namespace mapvine {

QString NameToQt(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<std::string> NameFromQt(const QString& text) {
  const bool fits =
      std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
  if (!fits) return std::nullopt;
  return text.toLatin1().toStdString();
}

}  // namespace mapvine
