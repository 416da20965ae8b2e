#include "app/RememberedSettings.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace mapvine {
namespace {

constexpr const char* kGeometryKey = "Window/geometry";
constexpr const char* kStateKey = "Window/state";

QSettings UserSettings() { return QSettings("Mapvine", "Mapvine"); }

// Qt's restore moves a window back from beyond the screens, but keeps a
// size that only a larger screen could show: shrink it to the screen it is
// on (or the primary one) and move it wholly inside. Before the window is
// shown its frame is not known; the window manager keeps that on screen.
void KeepOnScreen(QMainWindow& window) {
  if (window.isMaximized() || window.isFullScreen()) return;
  const QRect frame = window.frameGeometry();
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || screen->availableGeometry().contains(frame)) return;
  const QRect room = screen->availableGeometry();
  const QSize decoration = frame.size() - window.size();
  window.resize(window.size().boundedTo(room.size() - decoration));
  const QSize outer = window.size() + decoration;
  window.move(std::clamp(frame.left(), room.left(), room.right() + 1 - outer.width()),
              std::clamp(frame.top(), room.top(), room.bottom() + 1 - outer.height()));
}

// A filter may hold any character, and QSettings gives "/" and "\" a meaning
// of their own in keys, so the key is a digest of the filter.
QString FolderKey(std::string_view filter) {
  const QByteArray digest = QCryptographicHash::hash(QByteArray(filter.data(), static_cast<qsizetype>(filter.size())),
                                                     QCryptographicHash::Sha1);
  return QStringLiteral("File Dialogs/") + QString::fromLatin1(digest.toHex().left(16));
}

}  // namespace

void RestoreWindowLayout(QMainWindow& window) {
  const QSettings settings = UserSettings();
  if (window.restoreGeometry(settings.value(kGeometryKey).toByteArray())) KeepOnScreen(window);
  window.restoreState(settings.value(kStateKey).toByteArray());
}

void SaveWindowLayout(const QMainWindow& window) {
  QSettings settings = UserSettings();
  settings.setValue(kGeometryKey, window.saveGeometry());
  settings.setValue(kStateKey, window.saveState());
}

QString LastFolderFor(std::string_view filter) {
  const QString folder = UserSettings().value(FolderKey(filter)).toString();
  // A folder removed since leaves the dialog where Qt would start it.
  return QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolderOf(std::string_view filter, const QString& chosenFile) {
  UserSettings().setValue(FolderKey(filter), QFileInfo(chosenFile).absolutePath());
}

}  // namespace mapvine
