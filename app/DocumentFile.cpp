#include "app/DocumentFile.h"

#include <QFileInfo>

namespace mapvine {

QString DocumentFile::DisplayName() const {
  return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
}

void DocumentFile::SetPath(const QString& path) {
  path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
  if (pathChanged) pathChanged();
}

}  // namespace mapvine
