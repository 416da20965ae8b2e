#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringView>

#include <algorithm>

namespace mapvine {
namespace {

constexpr const char* kGroup = "Recent File List";

QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

// The last `count` parts of `path` with the slash before them; the whole
// path when it has no more.
QStringView TailOf(const QString& path, int count) {
  qsizetype start = path.size();
  for (int i = 0; i < count && start > 0; ++i) {
    start = std::max<qsizetype>(0, path.lastIndexOf('/', start - 1));
  }
  return QStringView(path).mid(start);
}

}  // namespace

QStringList RecentFileMenuNames(const QStringList& paths) {
  QStringList names;
  for (const QString& path : paths) {
    int count = 1;
    auto sharesTail = [&] {
      return std::any_of(paths.begin(), paths.end(), [&](const QString& other) {
        return &other != &path && TailOf(other, count) == TailOf(path, count);
      });
    };
    if (!sharesTail()) {
      names.append(QFileInfo(path).fileName());
      continue;
    }
    while (TailOf(path, count).size() < path.size() && sharesTail()) ++count;
    const QStringView tail = TailOf(path, count);
    names.append(tail.size() == path.size() ? path : QStringLiteral("...") + tail.toString());
  }
  return names;
}

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
