// What the window remembers between sessions. The test program keeps its
// settings in a temporary folder (tests/app/main.cpp).
#include <QDir>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "app/RememberedSettings.h"

namespace mapvine {
namespace {

// The program as it starts, reading whatever the last one left.
struct Session {
  Session() : app(SnaLibrary{[](void*, std::uint32_t) {}, {}}) { EXPECT_TRUE(app.InitInstance(CommandLine{})); }
  CMainFrame& Frame() { return app.MainFrame(); }
  CMapvineApp app;
};

TEST(RememberedSettings, WindowComesBackAsItWasClosed) {
  QSettings("Mapvine", "Mapvine").clear();
  const QRect left(40, 30, 420, 310);
  {
    Session first;
    first.Frame().setGeometry(left);
    QToolBar* toolbar = first.Frame().findChild<QToolBar*>("toolbar");
    ASSERT_NE(toolbar, nullptr);
    first.Frame().addToolBar(Qt::LeftToolBarArea, toolbar);
    ASSERT_TRUE(first.Frame().close());
  }
  Session second;
  EXPECT_EQ(second.Frame().geometry(), left);
  EXPECT_EQ(second.Frame().toolBarArea(second.Frame().findChild<QToolBar*>("toolbar")), Qt::LeftToolBarArea);
}

TEST(RememberedSettings, WindowLeftOnALargerScreenFitsTheScreenPresent) {
  QSettings("Mapvine", "Mapvine").clear();
  {
    Session first;
    const QRect screen = first.Frame().screen()->availableGeometry();
    first.Frame().setGeometry(QRect(screen.right() + 200, screen.bottom() + 100, screen.width() * 2, screen.height() * 2));
    ASSERT_TRUE(first.Frame().close());
  }
  Session second;
  const QRect screen = second.Frame().screen()->availableGeometry();
  // Within a frame's width: the frame is the window manager's to place.
  const QRect restored = second.Frame().geometry();
  EXPECT_TRUE(screen.contains(restored.topLeft()));
  EXPECT_LE(restored.width(), screen.width());
  EXPECT_LE(restored.height(), screen.height());
}

TEST(RememberedSettings, EachKindOfFileKeepsItsFolder) {
  QSettings("Mapvine", "Mapvine").clear();
  QTemporaryDir pictures, bitmaps;
  const char* pictureFilter = " Saved Topology (*.top)|*.top||";
  const char* bitmapFilter = "Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||";
  EXPECT_EQ(LastFolderFor(pictureFilter), "");
  RememberFolderOf(pictureFilter, pictures.filePath("net.top"));
  RememberFolderOf(bitmapFilter, bitmaps.filePath("logo.bmp"));
  EXPECT_EQ(LastFolderFor(pictureFilter), QDir(pictures.path()).absolutePath());
  EXPECT_EQ(LastFolderFor(bitmapFilter), QDir(bitmaps.path()).absolutePath());
  // A folder that is gone leaves the dialog where it would start anyway.
  ASSERT_TRUE(bitmaps.remove());
  EXPECT_EQ(LastFolderFor(bitmapFilter), "");
}

}  // namespace
}  // namespace mapvine
