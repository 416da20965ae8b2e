#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <random>
#include <string>

#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// Pixels of the window that differ from the whole picture drawn at once.
int MismatchesWithWholePicture(CMapvineView& view) {
  view.viewport()->repaint();
  const QImage shown = view.viewport()->grab().toImage();
  const QImage whole = view.PictureImage();
  const int sx = view.horizontalScrollBar()->value();
  const int sy = view.verticalScrollBar()->value();
  int mismatches = 0;
  for (int y = 0; y < shown.height() && y + sy < whole.height(); ++y) {
    for (int x = 0; x < shown.width() && x + sx < whole.width(); ++x) {
      mismatches += shown.pixel(x, y) != whole.pixel(x + sx, y + sy);
    }
  }
  return mismatches;
}

// At 100% the window shows exactly the pixels of the whole picture, however
// it got there: scrolled, nodes dragged, nodes and links coming, going
// inactive or hidden as refreshes make them, marked as changed or stale.
TEST(ViewShownArea, RandomViewsMatchTheWholePicture) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    ShownDocument s;
    s.view.resize(300, 220);
    s.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.view));
    s.view.RequestPictureResize(1400, 1000);
    std::vector<CSprite*> nodes;
    for (int i = 0; i < 60; ++i) {
      nodes.push_back(&s.AddNode("N" + std::to_string(i), upTo(1340), upTo(930)));
    }
    for (int i = 0; i < 80; ++i) s.doc.NewLink(*nodes[upTo(60)], *nodes[upTo(60)]);
    for (CSprite* node : nodes) {
      node->changeMark = static_cast<ChangeMark>(upTo(5));
      node->stale = upTo(4) == 0;
    }
    for (const auto& link : s.doc.Links()) {
      link->changeMark = static_cast<ChangeMark>(upTo(5));
      link->stale = upTo(4) == 0;
    }
    s.view.SetZoom(1.0);

    for (int step = 0; step < 12; ++step) {
      CSprite& node = *nodes[upTo(60)];
      switch (upTo(4)) {
        case 0:  // a drag step
          node.SetPosition(upTo(1340), upTo(930));
          s.view.FlushDirty();
          break;
        case 1:  // a refresh finds it gone quiet, or hides it
          node.status = StatusFor(!IsActive(node.status));
          s.doc.ApplyStatusImage(node);
          node.hidden = upTo(3) == 0 ? 1 : 0;
          s.view.RedrawAll();
          break;
        case 2:  // a refresh finds a new link
          s.doc.NewLink(node, *nodes[upTo(60)]);
          break;
        default:
          break;
      }
      s.view.horizontalScrollBar()->setValue(upTo(1400));
      s.view.verticalScrollBar()->setValue(upTo(1000));
      ASSERT_EQ(MismatchesWithWholePicture(s.view), 0) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace mapvine
