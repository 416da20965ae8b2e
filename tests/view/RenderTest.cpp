#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QTest>

#include <string>

#include "graphics/CDIBLayout.h"
#include "render/QtTextDrawer.h"
#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

TEST(ViewRender, EmptyDocumentShowsTheBackgroundOnly) {
  ShownDocument s;
  s.view.PictureChanged();
  const CDIBSurface& shown = s.Buffer();
  EXPECT_EQ(DifferingPixels(shown, *s.doc.composedBackground, shown.GetRect()), 0);
  EXPECT_EQ(s.status.Last(), "Displaying 0 of 0 nodes");
  EXPECT_EQ(s.view.Counts().Displayed(), 0);
  EXPECT_EQ(s.view.Counts().Total(), 0);
}

TEST(ViewRender, HiddenNodesAreCountedButNotDrawn) {
  ShownDocument s;
  s.AddNode("NN1", 0, 0);
  CNode& hidden = s.AddNode("NN2", 200, 100);
  s.AddNode("NN3", 400, 0);
  hidden.hidden = 1;
  s.view.PictureChanged();
  EXPECT_EQ(s.status.Last(), "Displaying 2 of 3 nodes");
  EXPECT_EQ(s.view.Counts().Displayed(), 2);
  EXPECT_EQ(s.view.Counts().Total(), 3);
  // Neither the icon nor the label of the hidden node is there.
  const Rect band = hidden.GetRect().Inflated(0, CNode::kLabelBand);
  EXPECT_EQ(DifferingPixels(s.Buffer(), *s.doc.composedBackground, band), 0);
  EXPECT_GT(DifferingPixels(s.Buffer(), *s.doc.composedBackground, s.doc.FindNode("NN1")->GetRect()),
            0);
}

// A partial redraw across a link draws the line inside the area only: the
// nodes inside the link's bounds but outside the area keep what the picture
// shows. A link with a hidden end is not drawn at all.
TEST(ViewRender, PartialRedrawDrawsLinksOnlyInsideItsArea) {
  for (const bool endHidden : {false, true}) {
    SCOPED_TRACE(endHidden ? "end hidden" : "both ends shown");
    ShownDocument s;
    CNode& a = s.AddNode("NNA", 0, 0);
    CNode& b = s.AddNode("NNB", 180, 180);
    CNode& inside = s.AddNode("NNC", 110, 100);  // within the link's bounds
    s.doc.NewLink(a, b);
    b.hidden = endHidden ? 1 : 0;
    s.view.PictureChanged();

    const std::uint8_t marker = s.IndexOf(kMagenta);
    const Rect insideIcon = inside.GetRect();
    Fill(s.Buffer(), insideIcon, marker);
    // Crosses the line (centre to centre: y = x - 24) just right of the
    // first node, and touches no node's band.
    const Rect clip{84, 56, 92, 68};
    ASSERT_FALSE(clip.Intersects(inside.GetRect().Inflated(0, CNode::kLabelBand)));
    ASSERT_FALSE(clip.Intersects(a.GetRect()));
    s.RedrawOver(clip);

    const CLink& link = **s.doc.Links().begin();
    const std::uint8_t lineIndex = s.IndexOf(IsActive(link.status) ? kGreen : kRed);
    if (endHidden) {
      EXPECT_EQ(PixelsOfIndex((*s.picture), clip, lineIndex), 0);
      EXPECT_EQ(PixelsOfIndex((*s.picture), insideIcon, marker),
                insideIcon.Width() * insideIcon.Height());
      EXPECT_EQ(s.status.Last(), "Displaying 2 of 3 nodes");
    } else {
      EXPECT_GT(PixelsOfIndex((*s.picture), clip, lineIndex), 0);
      EXPECT_EQ(PixelsOfIndex((*s.picture), insideIcon, marker),
                insideIcon.Width() * insideIcon.Height());
    }
  }
}

// A long diagonal link has bounds far larger than its line: a redraw
// inside the bounds but away from the line leaves the link alone, and the
// nodes in its bounds are not redrawn for it.
TEST(ViewRender, LinkWhoseLineMissesTheAreaIsNotDrawn) {
  ShownDocument s;
  CNode& a = s.AddNode("NNA", 0, 0);
  CNode& b = s.AddNode("NNB", 400, 200);
  CNode& inside = s.AddNode("NNC", 100, 130);  // in the bounds, clear of the line
  s.doc.NewLink(a, b);
  s.view.PictureChanged();

  const std::uint8_t marker = s.IndexOf(kMagenta);
  Fill(s.Buffer(), inside.GetRect(), marker);
  const Rect clip{60, 180, 70, 190};  // the line passes near y = 30 here
  const CLink& link = **s.doc.Links().begin();
  ASSERT_TRUE(clip.Intersects(link.bounds));
  ASSERT_FALSE(clip.Intersects(inside.GetRect().Inflated(0, CNode::kLabelBand)));
  s.RedrawOver(clip);
  EXPECT_EQ(PixelsOfIndex((*s.picture), inside.GetRect(), marker),
            inside.GetRect().Width() * inside.GetRect().Height());

  // A redraw on the line itself draws it there, and still leaves the nodes
  // outside the area alone.
  const Rect onLine{238, 110, 246, 118};
  s.RedrawOver(onLine);
  EXPECT_GT(PixelsOfIndex((*s.picture), onLine, s.IndexOf(IsActive(link.status) ? kGreen : kRed)), 0);
  EXPECT_EQ(PixelsOfIndex((*s.picture), inside.GetRect(), marker),
            inside.GetRect().Width() * inside.GetRect().Height());
}

TEST(ViewRender, LabelIsDrawnWhiteUnderTheIconAndCutAtItsRightEdge) {
  ShownDocument s;
  CNode& node = s.AddNode("NN1WITHAVERYLONGLABELTEXT", 100, 60);
  // Only the label band is redrawn: the label is drawn, the icon is not.
  const Rect icon = node.GetRect();
  const Rect labelBand{icon.left, icon.bottom, icon.right, icon.bottom + CNode::kLabelBand};
  s.view.PictureChanged();
  const std::uint8_t marker = s.IndexOf(kMagenta);
  Fill(s.Buffer(), icon, marker);
  const Rect clip{0, icon.bottom + 5, (*s.picture).GetWidth(), icon.bottom + 6};
  s.RedrawOver(clip);
  EXPECT_EQ(PixelsOfIndex((*s.picture), icon, marker), icon.Width() * icon.Height());

  const Rect wide{icon.left - 20, icon.bottom, icon.right + 60, icon.bottom + CNode::kLabelBand};
  const std::uint8_t white = s.IndexOf(kWhite);
  int textPixels = 0;
  for (int y = wide.top; y < wide.bottom; ++y) {
    for (int x = wide.left; x < wide.right; ++x) {
      const std::uint8_t pixel = *(*s.picture).PixelPtr(x, y);
      if (pixel == s.doc.composedBackground->PixelAt(x, y)) continue;
      EXPECT_EQ(pixel, white) << x << "," << y;
      // The text starts 10 pixels in and stops at the icon's right edge.
      EXPECT_TRUE(labelBand.Contains({x, y}) && x >= icon.left + 10) << x << "," << y;
      ++textPixels;
    }
  }
  EXPECT_GT(textPixels, 40);
}

TEST(ViewRender, LongLabelsAreRasterisedOnlyAsFarAsTheyShow) {
  std::string label;
  while (label.size() < 512) label += "NETA.WAVY-fij" + std::to_string(label.size());
  auto narrow = MakeImage(400, 20, {kBlack, kWhite}, [](int, int) { return 0; });
  auto wide = MakeImage(400, 20, {kBlack, kWhite}, [](int, int) { return 0; });
  QtTextDrawer drawer;
  drawer.DrawText(*narrow, label, {0, 0}, Rect{0, 0, 70, 20}, kWhite);
  EXPECT_LE(drawer.CachedMaskBytes(), std::size_t{70} * drawer.LineHeight());
  // Shown wider later (a wider icon), the label shows more, and the start
  // both show is the same.
  drawer.DrawText(*wide, label, {0, 0}, Rect{0, 0, 400, 20}, kWhite);
  EXPECT_EQ(DifferingPixels(*narrow, *wide, Rect{0, 0, 70, 20}), 0);
  EXPECT_GT(PixelsOfIndex(*wide, Rect{300, 0, 400, 20}, 1), 40);
}

TEST(ViewRender, NodesSharingAnIconAreMappedOnceAndKeepTheirTransparentIndex) {
  ShownDocument s;
  // An icon in a palette of its own: index 3 (yellow) frames a red square.
  const auto icon = MakeImage(20, 20, {kBlack, kBlue, kRed, {255, 255, 0, 0}},
                              [](int x, int y) { return x < 5 || y < 5 ? 3 : 2; });
  auto first = std::make_unique<CNode>();
  auto second = std::make_unique<CNode>();
  first->SetImage(*icon, 0, 0);
  second->SetImage(*icon, 0, 0);
  CNode& a = s.doc.InsertNode(std::move(first));
  CNode& b = s.doc.InsertNode(std::move(second));
  a.SetPosition(10, 10);
  b.SetPosition(200, 10);

  s.view.Document().NodeChanged(a);
  s.view.Document().NodeChanged(b);
  const auto viewPalette = s.view.Palette()->Entries();
  EXPECT_EQ(icon->ColorCount(), static_cast<int>(viewPalette.size()));
  EXPECT_EQ(ColorAt(*icon, 10, 10), ToRgb(kRed));
  // The second node's storage was remapped through the first one.
  EXPECT_EQ(b.transparentIndex, *b.PixelPtr(0, 0));
  // So its yellow frame is see-through: the background shows there.
  EXPECT_EQ(*s.Buffer().PixelPtr(201, 11), s.doc.composedBackground->PixelAt(201, 11));
  EXPECT_EQ(ColorAt(s.Buffer(), 210, 20), ToRgb(kRed));
  EXPECT_EQ(s.status.Last(), "Displaying 2 of 2 nodes");
}

// The window draws its pixels when it paints: while painting is set it is
// asked for no paint at all.
TEST(ViewRender, NothingIsPaintedOrCountedWhilePainting) {
  struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      paints += event->type() == QEvent::Paint;
      return false;
    }
    int paints = 0;
  } counter;
  ShownDocument s;
  s.view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.view));
  CNode& node = s.AddNode("NN1", 0, 0);
  s.view.PictureChanged();
  QCoreApplication::processEvents();
  s.status.texts.clear();
  s.view.viewport()->installEventFilter(&counter);

  std::optional<COSBView::Batch> batch(std::in_place, s.view);
  node.SetPosition(90, 90);  // placement during a refresh leaves dirty areas
  s.view.Document().NodeChanged(node);
  s.view.PictureChanged();
  s.view.PictureChanged(node.GetRect());
  EXPECT_TRUE(s.status.texts.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);

  EXPECT_TRUE(s.view.WholeChangePending());

  batch.reset();
  QCoreApplication::processEvents();
  EXPECT_GT(counter.paints, 0);

  // Batches nest: the window paints again when the outermost ends.
  s.doc.BatchStarts();
  s.doc.BatchStarts();
  s.doc.BatchEnds();
  EXPECT_TRUE(s.view.InBatch());
  s.doc.BatchEnds();
  EXPECT_FALSE(s.view.InBatch());
  EXPECT_EQ(s.status.Last(), "Displaying 1 of 1 nodes");
  // The whole picture made them moot: the next flush has nothing to redo.
  EXPECT_TRUE(s.view.Dirty().empty());
}

// A status change moves nothing: the end of its batch paints the changed
// node and its line and nothing else, and the count follows a node that hid.
TEST(ViewRender, AStatusBatchPaintsOnlyTheChangedNodeAndItsLine) {
  struct PaintedRegion : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
      return false;
    }
    QRegion painted;
  };
  for (const bool showUnreachable : {true, false}) {
    ShownDocument s;
    s.doc.settings.showUnreachable = showUnreachable;
    s.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.view));
    CNode& a = s.AddNode("NN1", 10, 10);
    CNode& b = s.AddNode("NN2", 100, 10);
    const CNode& far = s.AddNode("NN3", 300, 200);
    s.doc.NewLink(a, b);
    QCoreApplication::processEvents();
    const QRect farShown = s.view.Zooming().ToViewport(far.GetRect());
    ASSERT_TRUE(s.view.viewport()->rect().contains(farShown));
    PaintedRegion region;
    s.view.viewport()->installEventFilter(&region);
    {
      const DocumentBatch batch(s.doc);
      s.doc.TakeCheckedStatus(a, ResourceStatus::Inactive);
      QCoreApplication::processEvents();
      EXPECT_TRUE(region.painted.isEmpty());
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(region.painted.intersects(s.view.Zooming().ToViewport(a.GetRect())));
    EXPECT_TRUE(region.painted.intersects(s.view.Zooming().ToViewport((*b.links.begin())->bounds)));
    EXPECT_FALSE(region.painted.intersects(farShown)) << showUnreachable;
    EXPECT_EQ(s.status.Last(), showUnreachable ? "Displaying 3 of 3 nodes" : "Displaying 2 of 3 nodes");
  }
}

// Source 100 x 80 in black / red / blue: red at (0, 0), blue elsewhere.
std::unique_ptr<CDIB> MarkedBackground() {
  return MakeImage(100, 80, {kBlack, kRed, kBlue},
                   [](int x, int y) { return x == 0 && y == 0 ? 1 : 2; });
}

TEST(ViewRender, PictureResizeRecomposesInTheChosenArrangement) {
  struct Case {
    BackgroundArrangement arrangement;
    std::vector<std::pair<Point, PaletteEntry>> expected;
  };
  const Case cases[] = {
      {BackgroundArrangement::Tile, {{{0, 0}, kRed}, {{100, 80}, kRed}, {{700, 560}, kRed}, {{150, 40}, kBlue}}},
      {BackgroundArrangement::Stretch, {{{0, 0}, kRed}, {{7, 7}, kRed}, {{10, 10}, kBlue}, {{799, 599}, kBlue}}},
      {BackgroundArrangement::Centre, {{{0, 0}, kBlack}, {{350, 260}, kRed}, {{351, 261}, kBlue}, {{449, 339}, kBlue},
           {{450, 340}, kBlack}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.arrangement));
    ShownDocument s;
    ASSERT_TRUE(s.doc.ComposeBackground(MarkedBackground(), kArrangementChosenInView, 0, 0));
    s.view.Picture().arrangement = c.arrangement;
    s.view.Document().RequestPictureResize(800, 600);

    EXPECT_EQ(s.doc.picture.backgroundMode, kArrangementChosenInView);
    ASSERT_EQ(s.doc.composedBackground->GetWidth(), 800);
    ASSERT_EQ(s.doc.composedBackground->GetHeight(), 600);
    ASSERT_EQ(s.Buffer().GetRect(), (Rect{0, 0, 800, 600}));
    for (const auto& [at, color] : c.expected) {
      EXPECT_EQ(ColorAt(s.Buffer(), at.x, at.y), ToRgb(color)) << at.x << "," << at.y;
    }
  }
}

TEST(ViewRender, FailedBackgroundLeavesTheMissingBufferAlone) {
  ShownDocument s;
  CNode& node = s.AddNode("NN1", 0, 0);
  // A damaged picture that claims no width: no buffer can be made for it.
  auto image = MakeImage(10, 10, {kBlack}, [](int, int) { return 0; });
  StoreU32(image->HeaderBlock() + dib::kBiWidth, 0);
  ComposedBackground damaged(*image, image->GetWidth(), image->GetHeight(), BackgroundArrangement::Tile);
  EXPECT_FALSE(s.view.Document().SetBackground(damaged));
  EXPECT_FALSE(s.view.HasBuffer());

  s.status.texts.clear();
  s.view.PictureChanged();
  s.view.PictureChanged({0, 0, 50, 50});
  s.view.Document().NodeChanged(node);
  EXPECT_TRUE(s.status.texts.empty());
  EXPECT_TRUE(s.view.Frame().PictureImage().isNull());
  EXPECT_FALSE(s.commands.StateOf(command::kFilePrint)->enabled);

  // The next good background brings the picture back.
  EXPECT_TRUE(s.view.Document().SetBackground(*s.doc.composedBackground));
  EXPECT_EQ(s.status.Last(), "Displaying 1 of 1 nodes");
  EXPECT_FALSE(s.view.Frame().PictureImage().isNull());
  EXPECT_TRUE(s.commands.StateOf(command::kFilePrint)->enabled);
}

}  // namespace
}  // namespace mapvine
