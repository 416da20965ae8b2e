#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <array>
#include <random>
#include <string>

#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// The whole picture drawn at once at the view's zoom: at 100% as printing
// draws it, magnified pixel for pixel above, and below as a window large
// enough to show all of it draws it (zoomed out, nodes become marks).
QImage WholePictureAtZoom(CMapvineView& view) {
  const QImage whole = view.Frame().PictureImage();
  const double zoom = view.Zooming().Zoom();
  if (zoom == 1.0) return whole;
  if (zoom > 1.0) {
    return whole.scaled(static_cast<int>(whole.width() * zoom), static_cast<int>(whole.height() * zoom),
                        Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  const QSize size = view.size();
  const QPoint scroll(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
  view.resize(whole.size() * zoom + QSize(100, 100));
  view.horizontalScrollBar()->setValue(0);
  view.verticalScrollBar()->setValue(0);
  view.viewport()->repaint();
  const QImage all = view.viewport()->grab().toImage().copy(
      0, 0, static_cast<int>(whole.width() * zoom), static_cast<int>(whole.height() * zoom));
  view.resize(size);
  view.horizontalScrollBar()->setValue(scroll.x());
  view.verticalScrollBar()->setValue(scroll.y());
  return all;
}

// Pixels of the window that differ from the whole picture drawn at once.
int MismatchesWithWholePicture(CMapvineView& view) {
  const QImage whole = WholePictureAtZoom(view);
  view.viewport()->repaint();
  const QImage shown = view.viewport()->grab().toImage();
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

// At 100%, 200% and 50% the window shows exactly the pixels of the whole
// picture at that zoom, however it got there: scrolled, nodes dragged,
// nodes and links coming, going inactive or hidden as refreshes make them,
// all but a few hidden, marked as changed or stale.
TEST(ViewShownArea, RandomViewsMatchTheWholePicture) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    const double zoom = std::array{1.0, 2.0, 0.5}[seed % 3];
    SCOPED_TRACE("seed " + std::to_string(seed) + ", zoom " + std::to_string(zoom));
    std::mt19937 random(seed);
    auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    ShownDocument s;
    s.view.resize(300, 220);
    s.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.view));
    s.view.Document().RequestPictureResize(1400, 1000);
    std::vector<CNode*> nodes;
    for (int i = 0; i < 60; ++i) {
      nodes.push_back(&s.AddNode("N" + std::to_string(i), upTo(1340), upTo(930)));
    }
    for (int i = 0; i < 80; ++i) s.doc.NewLink(*nodes[upTo(60)], *nodes[upTo(60)]);
    for (CNode* node : nodes) {
      node->changeMark = static_cast<ChangeMark>(upTo(5));
      node->stale = upTo(4) == 0;
    }
    for (const auto& link : s.doc.Links()) {
      link->changeMark = static_cast<ChangeMark>(upTo(5));
      link->stale = upTo(4) == 0;
    }
    s.view.Zooming().SetZoom(zoom);

    for (int step = 0; step < 12; ++step) {
      CNode& node = *nodes[upTo(60)];
      switch (upTo(5)) {
        case 0:  // a drag step
          node.SetPosition(upTo(1340), upTo(930));
          break;
        case 1:  // a refresh finds it gone quiet, or hides it
          node.status = StatusFor(!IsActive(node.status));
          s.doc.ApplyStatusImage(node);
          node.hidden = upTo(3) == 0 ? 1 : 0;
          s.view.PictureChanged();
          break;
        case 2:  // a refresh finds a new link
          s.doc.NewLink(node, *nodes[upTo(60)]);
          break;
        case 3:  // a neighbourhood: a frame then starts from the few shown
          for (CNode* each : nodes) each->hidden = each != &node && upTo(30) != 0;
          s.view.PictureChanged();
          break;
        default:
          break;
      }
      s.view.horizontalScrollBar()->setValue(upTo(static_cast<int>(1400 * zoom)));
      s.view.verticalScrollBar()->setValue(upTo(static_cast<int>(1000 * zoom)));
      ASSERT_EQ(MismatchesWithWholePicture(s.view), 0) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace mapvine
