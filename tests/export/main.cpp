// The exports lay out text with Qt's fonts, which need a GUI application
// (no window: the off-screen platform unless the caller chose another).
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "base/WorkerThread.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // A PDF writer a test let go of ends before Qt does.
  const mapvine::WorkersFinishFirst workersFinishFirst;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
