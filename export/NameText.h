#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace mapvine {

// The picture's names and texts are single-byte strings: names decoded from
// EBCDIC, names typed into the dialogs and names read from saved files all
// hold one Latin-1 character per byte. Every dialog and the label drawing
// convert through here, so that a name shown by one is found by another.
QString NameToQt(std::string_view name);
// nullopt when the text holds a character beyond Latin-1, which no name can.
std::optional<std::string> NameFromQt(const QString& text);

}  // namespace mapvine
