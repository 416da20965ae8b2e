#pragma once

#include <optional>

class QLineEdit;

namespace mapvine {

// The number typed in `box` when it is an integer within min..max.
// Otherwise the user is told what is wanted, the box takes the focus with
// its text selected, and the answer is empty: the dialog stays open.
std::optional<int> ReadBoundedInt(QLineEdit& box, int min, int max);

}  // namespace mapvine
