#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <string>
#include <utility>

#include "refresh/RefreshCommand.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/view/ViewTestSupport.h"
#include "render/OverlayColors.h"

namespace mapvine {
namespace {

using namespace viewtest;

const std::string kNetwork =
    "nn NETA.NN1\nen NETA.EN1 server=NETA.NN1\ntg NETA.NN1 NETA.EN1 21 operative\n"
    "lu NETA.LU1 parent=NETA.EN1\n";

// A small network on a picture far larger than its window, looked at from
// far out.
struct FarPicture : ShownDocument {
  FarPicture() {
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    Refresh(kNetwork);
    view.Document().RequestPictureResize(4000, 3000);
    view.resize(300, 200);
    Deliver();
  }
  static void Deliver() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  void Refresh(const std::string& text) {
    auto parsed = snanode::ParseNetwork(text, "test");
    ASSERT_TRUE(parsed.network.has_value()) << parsed.error;
    const snanode::SimulatedNode node(std::move(*parsed.network));
    RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
  }
  CNode& Node(const char* label) { return *doc.FindNode(label); }
  void ShowAt(double zoom) {
    view.Zooming().SetZoom(zoom);
    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    Deliver();
  }
  QPoint Shown(const CNode& node) const {
    const Point c = node.GetCenter();
    return QPoint(static_cast<int>(c.x * view.Zooming().Zoom()) - view.horizontalScrollBar()->value(),
                  static_cast<int>(c.y * view.Zooming().Zoom()) - view.verticalScrollBar()->value());
  }
  // Pixels of `color`, as the picture's palette shows it, around where the
  // window shows `node`.
  int PixelsNear(const CNode& node, PaletteEntry color) {
    const QImage shown = view.viewport()->grab().toImage();
    const CDIBPal& palette = *view.Palette();
    const QRgb wanted =
        ColorTableOf(palette)[palette.NearestIndex(color.red, color.green, color.blue)];
    const QRect around =
        QRect(Shown(node) - QPoint(12, 12), QSize(25, 25)).intersected(shown.rect());
    int count = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
      for (int x = around.left(); x <= around.right(); ++x) count += shown.pixel(x, y) == wanted;
    }
    return count;
  }
};

TEST(ViewOverview, ChangeMarksShowFarOutUntilAcknowledged) {
  FarPicture w;
  w.commands.Run(command::kAcknowledgeChanges);
  w.Refresh(kNetwork + "lu NETA.LU2 parent=NETA.EN1\n");
  // Shown as a mark, the new LU is ringed; folded, its owner carries it.
  const std::pair<double, const CNode*> views[] = {{0.2, &w.Node("LU2")},
                                                     {0.08, &w.Node("EN1")}};
  const PaletteEntry blue = ChangeMarkColor(ChangeMark::New);
  for (const auto& [zoom, shownAs] : views) {
    w.ShowAt(zoom);
    EXPECT_GT(w.PixelsNear(*shownAs, blue), 20) << zoom;
  }
  w.commands.Run(command::kAcknowledgeChanges);
  for (const auto& [zoom, shownAs] : views) {
    w.ShowAt(zoom);
    EXPECT_EQ(w.PixelsNear(*shownAs, blue), 0) << zoom;
  }
}

TEST(ViewOverview, RouteShowsAtFitToWindow) {
  FarPicture w;
  w.view.Zooming().FitToWindow();
  ASSERT_LT(w.view.Zooming().Zoom(), 0.1);  // LUs fold
  w.view.Route().SetStart(w.Node("NN1"));
  w.view.Route().SetEnd(w.Node("LU1"));
  w.Deliver();
  // The route's end LU1 shows on its owner.
  for (const char* end : {"NN1", "EN1"}) {
    EXPECT_GT(w.PixelsNear(w.Node(end), kRouteColor), 20) << end;
  }
  w.view.Route().Clear();
  w.Deliver();
  EXPECT_EQ(w.PixelsNear(w.Node("EN1"), kRouteColor), 0);
}

TEST(ViewOverview, KeyboardSelectionIsFramedAndKeptInSightFarOut) {
  FarPicture w;
  CNode& nn1 = w.Node("NN1");
  nn1.SetPosition(2000, 1500);
  w.view.PictureChanged();
  w.ShowAt(0.2);
  w.view.setFocus();
  for (int i = 0; i < 3 && w.view.Selection().SelectedNode() != &nn1; ++i) {
    QTest::keyClick(&w.view, Qt::Key_Tab);
  }
  ASSERT_EQ(w.view.Selection().SelectedNode(), &nn1);
  w.Deliver();
  EXPECT_TRUE(w.view.viewport()->rect().contains(w.Shown(nn1)));
  EXPECT_GT(w.PixelsNear(nn1, kSelectionOuterColor), 20);
}

}  // namespace
}  // namespace mapvine
