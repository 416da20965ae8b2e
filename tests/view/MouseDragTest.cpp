#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "tests/view/InteractionSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

TEST(ViewDrag, StartsOnlyOnAShownOpaquePixel) {
  struct Case {
    const char* name;
    Point offset;  // from the node's corner
    bool hidden;
    bool drags;
  };
  for (const Case& c : {Case{"opaque body", {20, 20}, false, true},
                        Case{"see-through corner", {4, 4}, false, false},
                        Case{"left column", {0, 20}, false, false},
                        Case{"hidden node", {20, 20}, true, false}}) {
    SCOPED_TRACE(c.name);
    InteractiveWindow w;
    CNode& node = w.AddSquareNode("NN1", 100, 100);
    node.hidden = c.hidden ? 1 : 0;
    w.doc.SetModified(false);
    w.Press({100 + c.offset.x, 100 + c.offset.y});
    EXPECT_EQ(w.view.Drag().Active(), c.drags);
    EXPECT_EQ(node.GetDepth(), c.drags ? 51 : 50);
    w.MoveTo({250, 150});
    w.Release();
    EXPECT_EQ(node.GetX(), c.drags ? 230 : 100);
    EXPECT_EQ(node.GetY(), c.drags ? 130 : 100);
    EXPECT_EQ(node.GetDepth(), 50);
    EXPECT_FALSE(w.view.Drag().Active());
    EXPECT_EQ(w.doc.IsModified(), c.drags);
  }
}

// The menu takes the mouse and the release never comes: the right click
// drops the node where it is, and the next press starts a new drag.
TEST(ViewDrag, ARightClickEndsTheDragFirst) {
  InteractiveWindow w;
  CNode& node = w.AddSquareNode("NN1", 100, 100);
  CNode& other = w.AddSquareNode("NN2", 300, 100);
  w.Press(InteractiveWindow::BodyOf(node));
  w.MoveTo({200, 200});
  QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
  QTest::mousePress(w.view.viewport(), Qt::RightButton, {}, w.ToViewport({200, 200}));
  EXPECT_EQ(node.GetDepth(), 50);
  w.Drag(other, {420, 220});
  EXPECT_EQ((std::vector<Point>{{node.GetX(), node.GetY()}, {other.GetX(), other.GetY()}}),
            (std::vector<Point>{{180, 180}, {400, 200}}));
}

// At any zoom a drag, a right click and the keyboard's menu find the node
// where it shows.
TEST(ViewZoom, DragRightClickAndKeyboardMenuFollowTheZoom) {
  for (const double zoom : {2.0, 0.5}) {
    SCOPED_TRACE(zoom);
    InteractiveWindow w;
    CNode& node = w.AddSquareNode("NN1", 20, 20);
    CNode& other = w.AddSquareNode("NN2", 120, 20);
    w.view.Zooming().SetZoom(zoom);
    w.view.horizontalScrollBar()->setValue(0);
    w.view.verticalScrollBar()->setValue(0);
    w.Drag(node, {60, 70});  // held at (40, 40)
    EXPECT_EQ((Point{node.GetX(), node.GetY()}), (Point{40, 50}));

    QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
    QTest::mousePress(w.view.viewport(), Qt::RightButton, {}, w.ToViewport(InteractiveWindow::BodyOf(other)));
    EXPECT_EQ(w.view.Picks().menuNode, &other);

    for (int i = 0; i < 3 && w.view.Selection().SelectedNode() != &node; ++i) QTest::keyClick(&w.view, Qt::Key_Tab);
    ASSERT_EQ(w.view.Selection().SelectedNode(), &node);
    QPoint menuAt;
    QTimer::singleShot(0, [&menuAt] {
      QWidget* menu = QApplication::activePopupWidget();
      menuAt = menu->pos();
      menu->close();
    });
    QTest::keyClick(&w.view, Qt::Key_Menu);
    EXPECT_EQ(menuAt, w.view.viewport()->mapToGlobal(w.ToViewport(node.GetCenter())));
  }
}

TEST(ViewDrag, OverlappingIconsGiveTheOneDrawnUnderneath) {
  InteractiveWindow w;
  CNode& over = w.AddSquareNode("OVER", 110, 110);
  CNode& under = w.AddSquareNode("UNDER", 100, 100);
  over.SetDepth(60);
  under.SetDepth(40);
  w.view.PictureChanged();
  ASSERT_TRUE(w.ShowsIconAt(over, kBody));

  w.Press({125, 125});  // inside both
  EXPECT_EQ(w.view.Picks().dragNode, &under);
  w.MoveTo({325, 225});
  w.Release();
  EXPECT_EQ(under.GetX(), 300);
  EXPECT_EQ(over.GetX(), 110);
}

// The moved icon shows at its new place and the old place shows the
// background again: the drag redraws both.
TEST(ViewDrag, MoveRedrawsTheOldAndNewPlaces) {
  InteractiveWindow w;
  CNode& node = w.AddSquareNode("NN1", 40, 40);
  const Rect old = node.GetRect().Inflated(0, CNode::kLabelBand);
  ASSERT_FALSE(w.ShowsBackgroundAt(old));
  w.Press(InteractiveWindow::BodyOf(node));
  w.MoveTo({300, 120});
  EXPECT_TRUE(w.view.Dirty().empty());
  EXPECT_TRUE(w.ShowsIconAt(node, kBody));
  EXPECT_TRUE(w.ShowsBackgroundAt(old));
  w.Release();
}

TEST(ViewDrag, IconAndLabelBandStayInsideThePicture) {
  struct Case {
    const char* name;
    Point cursor;
    Point expected;  // corner; -1 stands for the far bound
  };
  for (const Case& c : {Case{"past the right edge", {5000, 120}, {-1, 100}},
                        Case{"past the bottom edge", {120, 5000}, {100, -1}},
                        Case{"past the top-left corner", {-300, -300}, {0, 0}},
                        Case{"exactly at the right bound", {508, 120}, {-1, 100}}}) {
    SCOPED_TRACE(c.name);
    InteractiveWindow w;
    // The whole picture shows: nothing scrolls.
    ASSERT_EQ(w.view.verticalScrollBar()->maximum(), 0);
    ASSERT_EQ(w.doc.picture.composedWidth, 520);
    CNode& node = w.AddSquareNode("NN1", 100, 100);
    w.Drag(node, c.cursor);
    const int farX = 488;  // 520 - 32
    const int farY = w.doc.picture.composedHeight - 32 - CNode::kLabelBand;
    EXPECT_EQ(node.GetX(), c.expected.x < 0 ? farX : c.expected.x);
    EXPECT_EQ(node.GetY(), c.expected.y < 0 ? farY : c.expected.y);
  }
}

TEST(ViewDrag, HoldingANodeBeyondAnEdgeScrollsToTheEndOfTheRange) {
  struct Case {
    const char* name;
    bool down;
  };
  for (const Case& c : {Case{"below the window", true}, Case{"above the window", false}}) {
    SCOPED_TRACE(c.name);
    InteractiveWindow w;
    w.view.window()->resize(300, 150);
    InteractiveWindow::DeliverEvents();
    QScrollBar& bar = *w.view.verticalScrollBar();
    ASSERT_GT(bar.maximum(), 3 * bar.singleStep());
    if (!c.down) bar.setValue(bar.maximum());
    const int end = c.down ? bar.maximum() : bar.minimum();

    CNode& node = w.AddSquareNode("NN1", 100, bar.value() + 20);
    w.Press(InteractiveWindow::BodyOf(node));
    const int outside = c.down ? w.view.viewport()->height() + 40 : -40;
    // One move: a timer keeps scrolling while the cursor stays put, a
    // step of at least a line per tick, and the window goes on meanwhile.
    w.HoldCursorAt({120, outside});
    while (bar.value() != end) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    w.HoldCursorAt({120, outside});  // the node follows to the end
    EXPECT_EQ(w.view.horizontalScrollBar()->value(), 0);
    const int farY = w.doc.picture.composedHeight - 32 - CNode::kLabelBand;
    EXPECT_EQ(node.GetY(), c.down ? farY : 0);
    w.Release();
    EXPECT_FALSE(w.view.Drag().Active());
  }
}

// Above 100 displayed nodes a drag shows a crosshair, queues and draws
// nothing while it moves, and redraws the whole picture once at the end.
TEST(ViewDrag, FastModeAboveAHundredNodes) {
  for (const int count : {100, 101}) {
    SCOPED_TRACE(count);
    const bool fast = count > 100;
    InteractiveWindow w;
    // The others crowd the right half; the moved node has the left to itself.
    for (int i = 1; i < count; ++i) {
      w.AddNode("N" + std::to_string(i), 280 + (i % 16) * 10, (i / 16) * 10);
    }
    CNode& node = w.AddSquareNode("MOVED", 0, 150);
    ASSERT_EQ(w.view.Counts().Displayed(), count);
    // So many nodes make a picture larger than the test screen, which
    // opens fitted; the drag is followed at its own size.
    w.view.Zooming().SetZoom(1.0);

    w.Press(InteractiveWindow::BodyOf(node));
    const QImage pressed = w.Shown();
    for (int step = 1; step <= 5; ++step) {
      w.MoveTo({20 + 15 * step, 170 + 10 * step});
      EXPECT_EQ(w.view.viewport()->cursor().shape(), fast ? Qt::CrossCursor : Qt::ArrowCursor);
    }
    w.Release();
    EXPECT_NE(w.Shown(), pressed);
    EXPECT_EQ(w.view.viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(node.GetX(), 75);
    EXPECT_EQ(node.GetY(), 200);
    EXPECT_TRUE(w.ShowsIconAt(node, kBody));
  }
}

}  // namespace
}  // namespace mapvine
