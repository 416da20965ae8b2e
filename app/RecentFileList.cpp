#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace mapvine {
namespace {

constexpr const char* kGroup = "Recent File List";

QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

RecentFileList::RecentFileList() {
  QSettings settings("Mapvine", "Mapvine");
  settings.beginGroup(kGroup);
  for (int i = 0; i < kSize; ++i) {
    const QString file = settings.value(KeyOf(i)).toString();
    if (!file.isEmpty() && !files_.contains(file)) files_.append(file);
  }
}

void RecentFileList::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  files_.removeAll(absolute);
  files_.prepend(absolute);
  while (files_.size() > kSize) files_.removeLast();
  Store();
}

void RecentFileList::Remove(const QString& path) {
  if (files_.removeAll(path) > 0) Store();
}

void RecentFileList::Store() const {
  QSettings settings("Mapvine", "Mapvine");
  settings.beginGroup(kGroup);
  for (int i = 0; i < kSize; ++i) {
    if (i < files_.size()) {
      settings.setValue(KeyOf(i), files_[i]);
    } else {
      settings.remove(KeyOf(i));
    }
  }
}

}  // namespace mapvine
