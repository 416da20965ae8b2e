#pragma once

#include <optional>

namespace mapvine {

// Which of the keyboard's lock keys are on.
struct LockKeyState {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The lock keys as the window system's keyboard lights show them; none
// where the window system does not tell (no X display, as in a headless
// run).
std::optional<LockKeyState> ReadLockKeys();

}  // namespace mapvine
