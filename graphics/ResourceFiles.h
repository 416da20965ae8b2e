#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mapvine {

// Bitmaps that ship with the program live in a resources folder. It is
// looked for, in this order, in $MAPVINE_RESOURCES, <exe dir>/../share/mapvine
// (an installed program), <exe dir>/resources (a program run where it was
// unpacked) and the source tree's resources/ folder (a development build).
// Answers the path of the first existing file called `name`; names with a
// folder part are not looked up.
std::optional<std::string> FindResourceFile(std::string_view name);

// The bitmaps a document starts with ("NN.BMP", "backblue.bmp", ...): a file
// of that name in the current directory wins, so a user can restyle the
// picture by dropping bitmaps beside it; otherwise the shipped one.
std::optional<std::string> FindBitmapFile(std::string_view name);

}  // namespace mapvine
