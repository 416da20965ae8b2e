#pragma once

#include <QString>
#include <string_view>

class QMainWindow;

namespace mapvine {

// What the window remembers between sessions, beside the recent files: its
// size and place, the toolbar and dock layout, and the folder each kind of
// file was last chosen in. Kept in the user's settings (organisation
// "Mapvine", application "Mapvine").

// Puts the window where it was left. A place saved on a larger or missing
// screen is pulled onto the screens present, and shrunk to fit them.
void RestoreWindowLayout(QMainWindow& window);
void SaveWindowLayout(const QMainWindow& window);

// File dialogs are told apart by the files they ask for (their core filter
// text): opening and saving pictures share a folder, and the bitmaps for
// backgrounds and icons share another. Empty until a file of that kind was chosen.
QString LastFolderFor(std::string_view filter);
void RememberFolderOf(std::string_view filter, const QString& chosenFile);

}  // namespace mapvine
