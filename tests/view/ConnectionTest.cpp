#include <gtest/gtest.h>

#include <QCompleter>
#include <QLabel>
#include <QSettings>

#include "tests/view/DialogSupport.h"
#include "tests/view/InteractionSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// A - B - C in a row with active links, D below B linked to A and C by
// inactive ones.
struct Diamond : InteractiveWindow {
  CNode& a = AddSquareNode("A", 40, 40);
  CNode& b = AddSquareNode("B", 200, 40);
  CNode& c = AddSquareNode("C", 360, 40);
  CNode& d = AddSquareNode("D", 200, 200);
  Diamond() {
    Join(a, b, ResourceStatus::Active);
    Join(b, c, ResourceStatus::Active);
    Join(a, d, ResourceStatus::Inactive);
    Join(d, c, ResourceStatus::Inactive);
    view.PictureChanged();
  }
  void Join(CNode& from, CNode& to, ResourceStatus status) {
    doc.NewLink(from, to);
    from.links.begin()[from.links.size() - 1]->status = status;
  }
  void Key(Qt::Key key) { QTest::keyClick(&view, key); }
};

TEST(ViewRoute, LightsTheActivePathDimsTheRestAndClears) {
  Diamond w;
  CDIB plain;
  const CDIBSurface& before = w.Buffer();
  ASSERT_TRUE(plain.CopyPixels(std::span(before.HeaderBlock(), CDIB::kHeaderBlockSize),
                               before.Bits()));
  w.Choose(InteractiveWindow::BodyOf(w.a), command::kRouteFromHere);
  EXPECT_EQ(w.view.Route().Found().kind, Route::Kind::None);  // no end yet
  w.Choose(InteractiveWindow::BodyOf(w.c), command::kRouteToHere);
  EXPECT_EQ(w.status.Last(), "Route from A to C: 2 hops");
  // Off the route the picture is dimmed; on it the icons are whole.
  EXPECT_TRUE(w.ShowsIconAt(w.b, kBody) && !w.ShowsIconAt(w.d, kBody));

  // With B's links down there is no active path: the shortest is shown broken.
  for (CLink* link : w.b.links) link->status = ResourceStatus::Inactive;
  w.view.PictureChanged();
  EXPECT_EQ(w.status.Last(), "No active route from A to C; broken route shown: 2 hops, 2 inactive");
  EXPECT_TRUE(w.ShowsIconAt(w.b, kBody));

  w.Key(Qt::Key_Escape);
  EXPECT_EQ(w.view.Route().Found().kind, Route::Kind::None);
  for (CLink* link : w.b.links) link->status = ResourceStatus::Active;
  w.view.PictureChanged();
  const CDIBSurface& cleared = w.Buffer();
  EXPECT_EQ(DifferingPixels(plain, cleared, cleared.GetRect()), 0);
}

TEST(ViewMarkInactiveLinks, DashesInactiveLinesOnly) {
  Diamond w;
  const std::uint8_t red = w.IndexOf(kRed);
  // Between the icons: A-D runs down-right, A-B along y = 56.
  const Rect slant{80, 80, 190, 190}, straight{80, 50, 190, 60};
  const int solidRed = PixelsOfIndex(w.Buffer(), slant, red);
  const int green = PixelsOfIndex(w.Buffer(), straight, w.IndexOf(kGreen));
  ASSERT_TRUE(w.commands.Run(command::kMarkInactiveLinks));
  EXPECT_TRUE(w.commands.StateOf(command::kMarkInactiveLinks)->checked);
  EXPECT_NEAR(PixelsOfIndex(w.Buffer(), slant, red) * 2, solidRed, CLink::kDash * 4);
  EXPECT_EQ(PixelsOfIndex(w.Buffer(), straight, w.IndexOf(kGreen)), green);
}

TEST(ViewKeyboard, TabAndArrowsMoveTheSelectionDeleteAsks) {
  Diamond w;
  w.d.hidden = 1;
  w.view.setFocus();
  // List order is newest first; the hidden D is passed over; nothing lies
  // above C.
  const std::pair<Qt::Key, CNode*> steps[] = {{Qt::Key_Tab, &w.c}, {Qt::Key_Backtab, &w.a},
                                                {Qt::Key_Backtab, &w.b}, {Qt::Key_Right, &w.c},
                                                {Qt::Key_Up, &w.c}};
  for (const auto& [key, selected] : steps) {
    w.Key(key);
    EXPECT_EQ(w.view.Selection().SelectedNode(), selected) << key;
  }
  // The selection is framed inside the icon.
  EXPECT_FALSE(w.ShowsIconAt(w.c, kBody));

  testing::ScriptedPrompts prompts;
  w.Key(Qt::Key_Delete);  // answered No
  prompts.yes = true;
  w.Key(Qt::Key_Delete);
  EXPECT_EQ(prompts.questions, (std::vector<std::string>{"Delete C?", "Delete C?"}));
  EXPECT_EQ(w.doc.Nodes().size(), 3u);
}

TEST(ViewFind, OffersNamesSaysNotFoundAndShowsAHiddenNode) {
  QSettings("Mapvine", "Mapvine").remove("find/recent");
  Diamond w;
  w.d.hidden = 1;
  auto find = [&w](const QString& text, const char* button) {
    QString notice;
    QStringList offered;
    dialogtest::DialogScript script([&](QDialog& dialog) {
      QLineEdit& box = dialogtest::Find(dialog, "box1056");
      QTest::keyClicks(&box, text);
      for (int row = 0; row < box.completer()->completionCount(); ++row) {
        box.completer()->setCurrentRow(row);
        offered << box.completer()->currentCompletion();
      }
      // The person picks the first name offered.
      if (!offered.empty()) box.setText(offered.front());
      dialog.findChild<QPushButton*>(button)->click();
      notice = dialogtest::Find<QLabel>(dialog, "notice").text();
    });
    w.commands.Run(command::kFindResource);
    return std::pair(offered, notice);
  };
  EXPECT_EQ(find("eta.b", "routeFrom"), std::pair(QStringList{"NETA.B"}, QString()));
  EXPECT_EQ(find("X", "routeTo").second, "\"X\" not found");
  EXPECT_EQ(find("d", "routeTo").first, (QStringList{"D", "NETA.D"}));
  EXPECT_EQ(w.d.hidden, 0);
  EXPECT_EQ(w.status.Last(), "D was hidden and is shown now");
  EXPECT_EQ(w.view.Route().Found().Hops(), 2);  // B - A - D over the inactive A - D
  EXPECT_EQ(QSettings("Mapvine", "Mapvine").value("find/recent").toStringList(),
            (QStringList{"D", "NETA.B"}));
}

}  // namespace
}  // namespace mapvine
