// What the window remembers between sessions, kept in the test program's
// temporary settings folder (tests/app/main.cpp).
#include <QDir>
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

// The window of a program that starts with what the last one left.
struct Session {
  Session() : app(SnaLibrary{[](void*, std::uint32_t) {}, {}}) { EXPECT_TRUE(app.InitInstance(CommandLine{})); }
  CMainFrame& Frame() { return app.MainFrame(); }
  Qt::ToolBarArea ToolBarArea() { return Frame().toolBarArea(Frame().findChild<QToolBar*>("toolbar")); }
  CMapvineApp app;
};

void CloseAt(const QRect& geometry, Qt::ToolBarArea area) {
  Session session;
  session.Frame().setGeometry(geometry);
  session.Frame().addToolBar(area, session.Frame().findChild<QToolBar*>("toolbar"));
  ASSERT_TRUE(session.Frame().close());
}

TEST(RememberedSettings, WindowComesBackAsClosedAndWithinTheScreen) {
  QSettings("Mapvine", "Mapvine").clear();
  const QRect left(40, 30, 420, 310);
  CloseAt(left, Qt::LeftToolBarArea);
  EXPECT_EQ(Session().Frame().geometry(), left);
  EXPECT_EQ(Session().ToolBarArea(), Qt::LeftToolBarArea);

  // Left beyond and larger than the screen present, as on a larger one.
  const QRect screen = Session().Frame().screen()->availableGeometry();
  CloseAt(QRect(screen.bottomRight() + QPoint(200, 100), screen.size() * 2), Qt::TopToolBarArea);
  const QRect restored = Session().Frame().geometry();
  // Within a frame's width: the frame is the window manager's to place.
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
  ASSERT_TRUE(bitmaps.remove());  // a folder that is gone is not offered
  EXPECT_EQ(LastFolderFor(bitmapFilter), "");
}

}  // namespace
}  // namespace mapvine
