#include "history/HistoryLocation.h"

#include <QDir>
#include <QStandardPaths>

namespace mapvine {

QString HistoryLocation::Describe() const {
  if (!IsShared()) return sqliteFile;
  return postgres.toString(QUrl::RemovePassword | QUrl::RemoveQuery);
}

HistoryLocation DefaultHistoryLocation() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return {QDir(folder).filePath("history.sqlite"), {}};
}

std::optional<HistoryLocation> ParseHistoryLocation(const QString& text, QString& error) {
  if (!text.startsWith("postgresql://") && !text.startsWith("postgres://")) {
    if (text.isEmpty()) {
      error = "--history-db needs a file name or a postgresql:// address";
      return std::nullopt;
    }
    return HistoryLocation{text, {}};
  }
  const QUrl url(text, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty() || url.path().size() < 2) {
    error = "a PostgreSQL history needs postgresql://[user[:password]@]host[:port]/database, not " +
            url.toString(QUrl::RemovePassword);
    return std::nullopt;
  }
  return HistoryLocation{{}, url};
}

}  // namespace mapvine
