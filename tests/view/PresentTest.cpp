#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <set>

#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// Lets the window system deliver the pending paints.
void DeliverPaints() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

struct ShownWindow : ShownDocument {
  ShownWindow() {
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.PictureChanged();
    DeliverPaints();
  }
};

// What the window shows.
QImage Shown(CMapvineView& view) { return view.viewport()->grab().toImage(); }

// Pixels of `region` that `a` and `b` show differently.
int Differing(const QImage& a, const QImage& b, const QRect& region) {
  int count = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

TEST(ViewPresent, SmallDirtyAreaRedrawsOnlyItsPixelsAndABatchEndsWithAllOfThem) {
  ShownWindow w;
  w.AddNode("NN1", 20, 20);
  DeliverPaints();
  const QImage before = Shown(w.view);
  // The background changes everywhere behind the view's back: the window
  // shows the change only where the view draws anew.
  const ComposedBackground& shownBackground = *w.doc.composedBackground;
  CDIB inverted;
  const CDIB& source = shownBackground.Source();
  ASSERT_TRUE(inverted.CopyPixels(std::span(source.HeaderBlock(), CDIB::kHeaderBlockSize), source.Bits()));
  for (std::uint8_t& index : inverted.Bits()) index = ~index;
  w.doc.composedBackground = std::make_unique<ComposedBackground>(
      inverted, shownBackground.GetWidth(), shownBackground.GetHeight(), shownBackground.Arrangement());

  w.view.PictureChanged({30, 30, 40, 40});
  DeliverPaints();
  const QImage small = Shown(w.view);
  const int inside = Differing(before, small, QRect(30, 30, 10, 10));
  EXPECT_GT(inside, 0);
  EXPECT_EQ(Differing(before, small, small.rect()), inside);

  // A batch that changed nothing shows nothing anew; one that changed the
  // picture all over shows all of it.
  w.doc.BatchStarts();
  w.doc.BatchEnds();
  DeliverPaints();
  EXPECT_EQ(Shown(w.view), small);
  w.doc.BatchStarts();
  w.doc.PictureChanged();
  w.doc.BatchEnds();
  DeliverPaints();
  const QImage whole = w.view.Frame().PictureImage();
  const QImage shown = Shown(w.view);
  EXPECT_EQ(Differing(shown, whole, shown.rect().intersected(whole.rect())), 0);
}

TEST(ViewPresent, WindowFitsASmallPictureExactly) {
  ShownWindow w;
  // The second picture grows while nothing is drawn, as in a refresh: the
  // window follows the drawing that ends it, and the scroll bars the larger
  // picture brought meanwhile go.
  for (const QSize picture : {QSize(300, 200), QSize(400, 250)}) {
    std::optional<COSBView::Batch> batch;
    if (picture.width() == 400) batch.emplace(w.view);
    w.view.Document().RequestPictureResize(picture.width(), picture.height());
    DeliverPaints();
    batch.reset();
    w.view.PictureChanged();
    DeliverPaints();
    EXPECT_EQ(w.view.viewport()->size(), picture);
    EXPECT_EQ(w.view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(w.view.verticalScrollBar()->maximum(), 0);
  }
}

TEST(ViewPresent, PictureLargerThanTheScreenOpensFittedAndScrollsAtItsOwnSize) {
  ShownWindow w;
  const QSize room = w.view.screen()->availableGeometry().size();
  const QSize picture = room * 2;
  w.AddNode("NN1", 0, 0);
  w.AddNode("NN2", 150, 100);
  w.view.Document().RequestPictureResize(picture.width(), picture.height());
  DeliverPaints();

  EXPECT_LE(w.view.window()->width(), room.width());
  EXPECT_LE(w.view.window()->height(), room.height());
  const QScrollBar& h = *w.view.horizontalScrollBar();
  const QScrollBar& v = *w.view.verticalScrollBar();
  // It opens whole, fitted to the window.
  EXPECT_TRUE(w.view.Zooming().Fitted());
  EXPECT_LT(w.view.Zooming().Zoom(), 1.0);
  EXPECT_EQ(h.maximum(), 0);
  EXPECT_EQ(v.maximum(), 0);

  w.view.Zooming().SetZoom(1.0);
  const QSize page = w.view.viewport()->size();
  EXPECT_EQ(h.maximum(), picture.width() - page.width());
  EXPECT_EQ(v.maximum(), picture.height() - page.height());
  EXPECT_EQ(h.pageStep(), page.width());
  EXPECT_EQ(h.singleStep(), page.width() / 10);
  EXPECT_EQ(v.singleStep(), page.height() / 10);

  // Scrolled by (100, 70), the viewport shows the picture from there on.
  w.view.horizontalScrollBar()->setValue(100);
  w.view.verticalScrollBar()->setValue(70);
  DeliverPaints();
  const QImage whole = w.view.Frame().PictureImage();
  const QImage shown = w.view.viewport()->grab().toImage();
  int mismatches = 0;
  std::set<QRgb> colors;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 200; ++x) {
      mismatches += shown.pixel(x, y) != whole.pixel(x + 100, y + 70);
      colors.insert(shown.pixel(x, y));
    }
  }
  EXPECT_EQ(mismatches, 0);
  // The second node lies in that part, so an offset would not go unseen.
  EXPECT_GT(colors.size(), 3u);
}

}  // namespace
}  // namespace mapvine
