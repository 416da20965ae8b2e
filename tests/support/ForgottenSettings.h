#pragma once

#include <QSettings>

namespace mapvine::testing {

// No settings: cleared before the application reads its recent files, so
// that nothing an earlier test saved shows in a later test's menus. Put it
// first among a fixture's bases, ahead of the application.
struct ForgottenSettings {
  ForgottenSettings() { QSettings("Mapvine", "Mapvine").clear(); }
};

}  // namespace mapvine::testing
