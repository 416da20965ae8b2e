#pragma once

#include <QString>
#include <functional>

namespace mapvine {

// The file the document was opened from or last saved to, which gives the
// window its title and the recent-file list its entries.
class DocumentFile {
 public:
  // Empty for a picture never saved.
  const QString& Path() const { return path_; }
  // The name the window shows: the file's name, or "Untitled".
  QString DisplayName() const;

  // A new path (empty for a new picture); tells `pathChanged`.
  void SetPath(const QString& path);

  std::function<void()> pathChanged;

 private:
  QString path_;
};

// The filter of the open and save dialogs, in the "Description|patterns||" form.
inline constexpr const char* kTopologyFileFilter = " Saved Topology (*.top)|*.top||";
inline constexpr const char* kTopologyExtension = ".top";

}  // namespace mapvine
