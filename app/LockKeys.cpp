#include "app/LockKeys.h"

#include <QGuiApplication>

// After Qt: the X headers define macros (None, Bool, Status) that Qt's own
// headers use as names.
#include <X11/XKBlib.h>

namespace mapvine {
namespace {

// Whether the keyboard light of this name (an XKB indicator) is lit; a
// light the keyboard does not have is not.
bool Lit(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  Bool on = False;
  if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
  return on == True;
}

}  // namespace

std::optional<LockKeyState> ReadLockKeys() {
  // Qt has no call for the lock keys; on X11 the keyboard's lights say.
  const auto* application = qGuiApp;
  const auto* x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (display == nullptr) return std::nullopt;
  return LockKeyState{Lit(display, "Caps Lock"), Lit(display, "Num Lock"), Lit(display, "Scroll Lock")};
}

}  // namespace mapvine
