#pragma once

#include <QString>
#include <QStringList>

namespace mapvine {

// The four most recently opened or saved pictures, newest first, kept in the
// user's settings (organisation "Mapvine", application "Mapvine") so that
// the list survives the program.
class RecentFileList {
 public:
  static constexpr int kSize = 4;

  RecentFileList();  // reads the stored list

  const QStringList& Files() const { return files_; }
  // Moves `path` (made absolute) to the front, dropping the oldest entry.
  void Add(const QString& path);
  void Remove(const QString& path);

 private:
  void Store() const;

  QStringList files_;
};

// What the menu shows for each of `paths`: the file's name, or, where
// another entry has a file of the same name, as many of its last folders as
// tell the two apart (".../a/pic.top"; the whole path when nothing shorter
// does).
QStringList RecentFileMenuNames(const QStringList& paths);

}  // namespace mapvine
