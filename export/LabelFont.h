#pragma once

#include <QFont>

namespace mapvine {

// The face node labels are drawn in: a small, clear sans-serif, 11 pixels
// (8 points at 96 dots per inch), fixed in pixels so that the picture looks
// the same whatever the screen's resolution, and without antialiasing, as
// an 8-bit picture has no colours between the ones it holds.
QFont LabelFont();

// How far below the top of its line a label's baseline lies, in pixels.
int LabelAscent();

}  // namespace mapvine
