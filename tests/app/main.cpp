// The front-end tests need a QApplication; they run on the off-screen
// platform and keep their settings in a folder of their own.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/WorkerThread.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The recent-file list lives in the user's settings, the change history
  // in their data folder: never touch the real ones.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", data.path().toUtf8());
  QApplication application(argc, argv);
  const mapvine::WorkersFinishFirst workersFinishFirst;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
