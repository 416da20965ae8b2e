#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QScrollBar>

#include <string>
#include <vector>

#include "tests/view/DialogSupport.h"
#include "tests/view/InteractionSupport.h"
#include "dialogs/FindDialog.h"

namespace mapvine {
namespace {

using namespace viewtest;
using dialogtest::DialogScript;
using dialogtest::Find;
using dialogtest::PressOk;
using testing::ScriptedPrompts;

// A shown window whose network nodes show a white icon while active and a
// red one while inactive; a blink is stepped through rather than waited for.
struct FindWindow : InteractiveWindow {
  // The colour at the found node's body at each phase of the blink.
  std::vector<QRgb> phases;
  const CNode* watched = nullptr;

  FindWindow() {
    doc.workingImages[NetworkNode] = SquareIcons::Make(kBody);
    doc.workingImages[NetworkNode + kInactiveOffset] = SquareIcons::Make(kOtherBody);
  }
  // Steps the blink the last Find began through to its end, as its timer
  // would, noting each phase.
  void StepThroughBlink() {
    phases.clear();
    if (!view.Finder().Blink().Active()) return;
    const Point body = BodyOf(*watched);
    phases.push_back(ColorAt(Buffer(), body.x, body.y));
    while (view.Finder().Blink().Active()) {
      view.Finder().Blink().Phase();
      phases.push_back(ColorAt(Buffer(), body.x, body.y));
    }
  }
  CNode& AddNetworkNode(const std::string& name, int x, int y) {
    CNode& node = AddNode(name, x, y);
    view.PictureChanged();
    return node;
  }
  // Runs Find Resource with `text` typed into the dialog.
  void FindText(const std::string& text) {
    DialogScript script([&](QDialog& dialog) {
      QLineEdit& box = Find(dialog, "box1056");
      // The name can be typed at once: the box of names this text field
      // belongs to has the focus.
      EXPECT_EQ(dialog.focusWidget(), box.parentWidget());
      box.setText(QString::fromStdString(text));
      PressOk(dialog);
    });
    ASSERT_TRUE(commands.Run(command::kFindResource));
    EXPECT_EQ(script.opened, 1);
    StepThroughBlink();
  }
  Point Scroll() const {
    return {view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()};
  }
};

TEST(ViewFindResource, MatchesWholeNamesIgnoringCaseAndBlinksEightPhases) {
  struct Case {
    const char* text;
    bool found;
  };
  for (const Case& c : {Case{"nn1\u00FC", true}, Case{"neta.NN1\u00FC", true}, Case{"NN", false},
                        Case{"ETA.NN1\u00FC", false}}) {
    SCOPED_TRACE(c.text);
    FindWindow w;
    w.view.resize(700, 500);  // the 520 x 320 picture fits
    CNode& node = w.AddNetworkNode("NN1\xFC", 200, 100);  // typed in UTF-8, held in Latin-1
    w.watched = &node;
    const int imageBefore = node.imageIndex;

    w.FindText(c.text);
    if (!c.found) {
      EXPECT_TRUE(w.phases.empty());
      continue;
    }
    const QRgb white = ToRgb(kWhite), red = ToRgb(kRed);
    // Active first, so the inactive image leads; the last phase is the
    // image the node showed before.
    EXPECT_EQ(w.phases, (std::vector<QRgb>{red, white, red, white, red, white, red, white}));
    EXPECT_EQ(node.imageIndex, imageBefore);
    EXPECT_EQ(w.Scroll(), (Point{0, 0}));  // a fitting picture is not scrolled
  }
}

// Enter locates what is typed, whether the completer's list shows or not;
// a row highlighted in the list goes first. Keys go where a keyboard's
// would: to the open list, else to the box.
TEST(ViewFindResource, EnterLocatesTheTypedNameOrTheHighlightedRow) {
  const struct {
    const char* typed;
    std::vector<Qt::Key> before;  // keys pressed before Enter
    const char* found;            // null: not found, the dialog stays open
  } cases[] = {
      {"nn1", {}, "NN1"},
      {"nn1", {Qt::Key_Escape}, "NN1"},  // the list closed
      {"nn1", {Qt::Key_Down, Qt::Key_Down}, "NN10"},  // NETA.NN1, then NETA.NN10
      {"nn", {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    FindWindow w;
    w.AddNetworkNode("NN1", 100, 100);
    w.AddNetworkNode("NN10", 200, 100);
    FindDialog dialog(w.doc);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit& box = Find(dialog, "box1056");
    const auto press = [&box](Qt::Key key) {
      QWidget* popup = QApplication::activePopupWidget();
      QTest::keyClick(popup != nullptr ? popup : &box, key);
    };
    QTest::keyClicks(&box, c.typed);
    EXPECT_NE(QApplication::activePopupWidget(), nullptr);
    for (const Qt::Key key : c.before) press(key);
    press(Qt::Key_Return);
    EXPECT_EQ(dialog.isVisible(), c.found == nullptr);
    EXPECT_EQ(dialog.Found() ? dialog.Found()->label : "", c.found ? c.found : "");
  }
}

// The inactive image is see-through where the active one is not: the blink
// still ends with the node's area as a full render makes it.
TEST(ViewFindResource, InactiveNodeBlinksTheOtherWayAndEndsInactive) {
  FindWindow w;
  w.doc.workingImages[NetworkNode + kInactiveOffset] =
      MakeImage(32, 32, {kBlack, kWhite, kRed},
                [](int x, int) { return x < 16 ? kClear : kOtherBody; });
  CNode& node = w.AddNetworkNode("NN1", 200, 100);
  node.status = ResourceStatus::Inactive;
  w.doc.ApplyStatusImage(node);
  w.watched = &node;
  w.FindText("NN1");
  const QRgb white = ToRgb(kWhite), red = ToRgb(kRed);
  EXPECT_EQ(w.phases, (std::vector<QRgb>{white, red, white, red, white, red, white, red}));
  CDIB blinked;
  const CDIBSurface& shown = w.Buffer();
  ASSERT_TRUE(blinked.CopyPixels(std::span(shown.HeaderBlock(), CDIB::kHeaderBlockSize),
                                 shown.Bits()));
  w.view.PictureChanged();
  EXPECT_EQ(DifferingPixels(blinked, w.Buffer(), node.GetRect()), 0);
}

TEST(ViewFindResource, BigPictureScrollsTheNodeToTheMiddle) {
  FindWindow w;
  w.doc.ComposeBackground(nullptr, kArrangementChosenInView, 1200, 900);
  w.view.resize(300, 200);
  InteractiveWindow::DeliverEvents();
  CNode& node = w.AddNetworkNode("NN1", 700, 500);
  w.watched = &node;
  w.FindText("nn1");

  const Point centre = node.GetCenter();
  const int width = w.view.viewport()->width();
  const int height = w.view.viewport()->height();
  EXPECT_EQ(w.Scroll(), (Point{centre.x - width / 2, centre.y - height / 2}));
  EXPECT_EQ(w.phases.size(), 8u);
  // The node near the top-left corner cannot go to the middle: the scroll
  // stops at 0.
  CNode& corner = w.AddNetworkNode("NN2", 10, 10);
  w.watched = &corner;
  w.FindText("NN2");
  EXPECT_EQ(w.Scroll(), (Point{0, 0}));
}

// Items of the list, in its order, with the selected ones marked '*'.
std::vector<std::string> ListItems(QListWidget& list) {
  std::vector<std::string> items;
  for (int row = 0; row < list.count(); ++row) {
    items.push_back((list.item(row)->isSelected() ? "*" : "") + list.item(row)->text().toStdString());
  }
  return items;
}

void ClickItem(QListWidget& list, int row) {
  const QRect at = list.visualItemRect(list.item(row));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at.center());
}

TEST(ViewShowHiddenNodes, EmptyListWhenNothingIsHidden) {
  InteractiveWindow w;
  w.AddSquareNode("NN1", 40, 40);
  w.doc.SetModified(false);
  std::vector<std::string> items{"not looked at"};
  DialogScript script([&](QDialog& dialog) {
    items = ListItems(Find<QListWidget>(dialog, "list1055"));
    PressOk(dialog);
  });
  w.commands.Run(command::kShowHiddenNodes);
  EXPECT_TRUE(items.empty());
  EXPECT_FALSE(w.doc.IsModified());
  EXPECT_EQ(w.view.Counts().Displayed(), 1);
}

// Sorted from A to Z ignoring case (each new node goes to the front of the
// node list), names beyond ASCII shown as they are drawn.
TEST(ViewShowHiddenNodes, SortedListWhereAClickTogglesOneItem) {
  InteractiveWindow w;
  for (const char* name : {"NN1", "bb1", "CC1", "\xC4" "A1"}) w.AddSquareNode(name, 40, 40);
  for (const char* name : {"CC1", "bb1", "\xC4" "A1"}) w.doc.FindNode(name)->hidden = 1;
  w.doc.SetModified(false);
  std::vector<std::string> before, after;
  DialogScript script([&](QDialog& dialog) {
    auto& list = Find<QListWidget>(dialog, "list1055");
    before = ListItems(list);
    ClickItem(list, 0);
    ClickItem(list, 2);
    ClickItem(list, 0);  // deselects, and leaves the other selected
    ClickItem(list, 1);
    after = ListItems(list);
    PressOk(dialog);
  });
  w.commands.Run(command::kShowHiddenNodes);
  EXPECT_EQ(before, (std::vector<std::string>{"bb1", "CC1", "\u00C4" "A1"}));
  EXPECT_EQ(after, (std::vector<std::string>{"bb1", "*CC1", "*\u00C4" "A1"}));
  EXPECT_EQ(w.doc.FindNode("bb1")->hidden, 1);
  EXPECT_EQ(w.doc.FindNode("CC1")->hidden, 0);
  EXPECT_EQ(w.doc.FindNode("\xC4" "A1")->hidden, 0);
  EXPECT_TRUE(w.doc.IsModified());
  EXPECT_EQ(w.view.Counts().Displayed(), 3);  // redrawn
}

TEST(ViewResize, BoxesStartWithThePictureSizeAndRefuseOutOfRangeNumbers) {
  struct Case {
    const char* width;
    const char* height;
    const char* focused;  // the box blamed first, or null when accepted
    bool parse;           // refused as no number at all
  };
  const Case cases[] = {
      {"600", "32769", "box1001", false},
      {"-1", "400", "box1000", false},
      {"-1", "32769", "box1001", false},  // the height is checked first
      {"600", "abc", "box1001", true},
      {"", "400", "box1000", true},
      {"99999999999999999999", "400", "box1000", false},
      {"600", "400", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " x " + c.height);
    ShownDocument s;
    ScriptedPrompts messages;
    s.doc.SetModified(false);
    std::vector<std::string> start;
    bool stayedOpen = false;
    std::string focused;
    DialogScript script([&](QDialog& dialog) {
      QLineEdit& width = Find(dialog, "box1000");
      QLineEdit& height = Find(dialog, "box1001");
      start = {width.text().toStdString(), height.text().toStdString()};
      width.setText(c.width);
      height.setText(c.height);
      PressOk(dialog);
      stayedOpen = dialog.isVisible();
      if (dialog.focusWidget() != nullptr) focused = dialog.focusWidget()->objectName().toStdString();
    });
    s.commands.Run(command::kResizeBackground);
    EXPECT_EQ(start, (std::vector<std::string>{"520", "320"}));
    if (c.focused == nullptr) {
      EXPECT_FALSE(stayedOpen);
      EXPECT_TRUE(messages.messages.empty());
      EXPECT_EQ(s.doc.picture.composedWidth, 600);
      EXPECT_EQ(s.doc.picture.composedHeight, 400);
      EXPECT_EQ(s.Buffer().GetWidth(), 600);
      EXPECT_TRUE(s.doc.IsModified());
      continue;
    }
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], c.parse ? "Please enter an integer."
                                         : "Please enter an integer between 0 and 32768.");
    EXPECT_EQ(focused, c.focused);
    EXPECT_EQ(s.doc.picture.composedWidth, 520);
    EXPECT_FALSE(s.doc.IsModified());
  }
}

TEST(ViewResize, LimitsAreAcceptedAndZeroMeansTheBackgroundsOwnSize) {
  ShownDocument s;
  const int ownWidth = s.doc.backgroundSource->GetWidth();
  const int ownHeight = s.doc.backgroundSource->GetHeight();
  struct Case {
    const char* width;
    const char* height;
    int composedWidth;
    int composedHeight;
  };
  for (const Case& c : {Case{"1", "32768", 1, 32768}, Case{"0", "0", ownWidth, ownHeight},
                        Case{"300", "0", 300, ownHeight}}) {
    DialogScript script([&](QDialog& dialog) {
      Find(dialog, "box1000").setText(c.width);
      Find(dialog, "box1001").setText(c.height);
      PressOk(dialog);
    });
    s.commands.Run(command::kResizeBackground);
    EXPECT_EQ(s.doc.picture.composedWidth, c.composedWidth) << c.width;
    EXPECT_EQ(s.doc.picture.composedHeight, c.composedHeight) << c.height;
  }
}

// A background whose left half is white and right half red, composed on a
// 520 x 320 picture.
struct HalvedBackground : InteractiveWindow {
  HalvedBackground() {
    doc.ComposeBackground(MakeImage(100, 100, {kBlack, kWhite, kRed},
                                   [](int x, int) { return x < 50 ? kBody : kOtherBody; }),
                          kArrangementChosenInView, 520, 320);
    doc.SetModified(false);
  }
  QRgb BackgroundAt(int x, int y) { return ColorAt(*doc.composedBackground, x, y); }
  std::vector<bool> Checks(const QMenu& menu) {
    std::vector<bool> checks;
    for (int id : {command::kBackgroundTile, command::kBackgroundStretch, command::kBackgroundCenter}) {
      QAction* action = FindAction(menu, id);
      checks.push_back(action != nullptr && action->isChecked());
      EXPECT_EQ(commands.StateOf(id)->checked, checks.back()) << id;
      EXPECT_TRUE(commands.StateOf(id)->enabled) << id;
    }
    return checks;
  }
};

TEST(ViewBackgroundArrangement, LaysOutAnewAndChecksTheCurrentChoice) {
  HalvedBackground w;
  const Point empty{260, 300};  // no node there
  EXPECT_EQ(w.Checks(*w.view.Menus().Build(empty)), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(w.BackgroundAt(60, 10), ToRgb(kRed));  // tiled: source column 60

  struct Case {
    int id;
    BackgroundArrangement arrangement;
    std::vector<bool> checks;
    QRgb at60;
  };
  const Case cases[] = {
      {command::kBackgroundStretch, BackgroundArrangement::Stretch, {false, true, false},
       ToRgb(kWhite)},  // source column 11
      {command::kBackgroundCenter, BackgroundArrangement::Centre, {false, false, true},
       ToRgb(kBlack)},  // outside the image
      {command::kBackgroundTile, BackgroundArrangement::Tile, {true, false, false}, ToRgb(kRed)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    w.Choose(empty, c.id);
    EXPECT_EQ(w.view.Picture().arrangement, c.arrangement);
    EXPECT_EQ(w.Checks(*w.view.Menus().Build(empty)), c.checks);
    EXPECT_EQ(w.BackgroundAt(60, 10), c.at60);
    // The picture keeps its size and shows the new layout.
    EXPECT_EQ(w.doc.picture.composedWidth, 520);
    EXPECT_EQ(ColorAt(w.Buffer(), 60, 10), c.at60);
    EXPECT_TRUE(w.doc.IsModified());
  }
}

TEST(ViewBackgroundArrangement, AnArrangementTheSavedPictureBroughtGivesWayToTheNextChoice) {
  HalvedBackground w;
  w.doc.ComposeBackground(nullptr, BackgroundArrangement::Centre, 520, 320);
  const Point empty{260, 300};
  EXPECT_EQ(w.Checks(*w.view.Menus().Build(empty)), (std::vector<bool>{false, false, true}));
  w.Choose(empty, command::kBackgroundStretch);
  EXPECT_EQ(w.BackgroundAt(60, 10), ToRgb(kWhite));
  EXPECT_EQ(w.Checks(*w.view.Menus().Build(empty)), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(w.doc.picture.backgroundMode, BackgroundArrangement::Stretch);  // saved with it
}

TEST(ViewHideAll, RedrawsWithTheClassHidden) {
  InteractiveWindow w;
  w.AddSquareNode("NN1", 40, 40);
  w.doc.NewNode("EN1", "NETA.EN1", EndNode, nullptr, nullptr);
  w.doc.settings.autoTile = 1;
  w.doc.SetModified(false);
  ASSERT_TRUE(w.commands.Run(command::kHideAllEndNodes));
  EXPECT_EQ(w.view.Counts().Displayed(), 1);
  EXPECT_EQ(w.view.Counts().Total(), 2);
  EXPECT_EQ(w.Buffer().GetWidth(), 520);
  EXPECT_TRUE(w.doc.IsModified());
  ASSERT_TRUE(w.commands.Run(command::kShowAllEndNodes));
  EXPECT_EQ(w.view.Counts().Displayed(), 2);
}

}  // namespace
}  // namespace mapvine
