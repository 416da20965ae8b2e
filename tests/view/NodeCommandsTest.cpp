#include <gtest/gtest.h>

#include <QMouseEvent>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/view/DialogSupport.h"
#include "tests/view/InteractionSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

constexpr const char* kLinkPrompt = "Select node to link with left mouse button or none to cancel";

Point MidpointOf(const CLink& link) { return {(link.x1 + link.x2) / 2, (link.y1 + link.y2) / 2}; }

bool Lists(const CNode& node, const CLink* link) {
  return std::find(node.links.begin(), node.links.end(), link) != node.links.end();
}

std::vector<std::string> LabelsInOrder(const CMapvineDoc& doc) {
  std::vector<std::string> labels;
  for (const auto& node : doc.Nodes()) labels.push_back(node->label);
  return labels;
}

TEST(ViewLinkMode, NextLeftClickLinksOrCancels) {
  struct Case {
    const char* name;
    const char* target;  // node clicked, or null for the background
    bool links;
  };
  for (const Case& c : {Case{"another node", "NN2", true}, Case{"the source itself", "NN1", true},
                        Case{"the background", nullptr, false}}) {
    SCOPED_TRACE(c.name);
    InteractiveWindow w;
    CNode& source = w.AddSquareNode("NN1", 60, 60);
    w.AddSquareNode("NN2", 300, 60);
    w.doc.SetModified(false);

    w.Choose(InteractiveWindow::BodyOf(source), command::kLink);
    EXPECT_TRUE(w.view.Picks().linkMode);
    EXPECT_EQ(w.status.Last(), kLinkPrompt);

    const CNode* target = c.target != nullptr ? w.doc.FindNode(c.target) : nullptr;
    w.Press(target != nullptr ? InteractiveWindow::BodyOf(*target) : Point{200, 250});
    w.Release();
    EXPECT_FALSE(w.view.Picks().linkMode);
    EXPECT_FALSE(w.view.Drag().Active());  // the completing click moves nothing
    EXPECT_NE(w.status.Last(), kLinkPrompt);
    ASSERT_EQ(w.doc.Links().size(), c.links ? 1u : 0u);
    EXPECT_EQ(w.doc.IsModified(), c.links);
    if (c.links) {
      const CLink& link = **w.doc.Links().begin();
      EXPECT_EQ(link.endA, &source);
      EXPECT_EQ(link.endB, target);
      EXPECT_EQ(source.links.size(), 1u);
      EXPECT_TRUE(Lists(*target, &link));
    }

    // The mode is over: the next click on a node drags it instead.
    w.Press(InteractiveWindow::BodyOf(source));
    EXPECT_TRUE(w.view.Drag().Active());
    w.Release();
    EXPECT_EQ(w.doc.Links().size(), c.links ? 1u : 0u);
  }
}

// A quick second click arrives as a double click; it still completes the
// link.
TEST(ViewLinkMode, DoubleClickCompletesTheLink) {
  InteractiveWindow w;
  CNode& source = w.AddSquareNode("NN1", 60, 60);
  CNode& target = w.AddSquareNode("NN2", 300, 60);
  w.Choose(InteractiveWindow::BodyOf(source), command::kLink);
  const QPoint at = w.ToViewport(InteractiveWindow::BodyOf(target));
  QMouseEvent click(QEvent::MouseButtonDblClick, at, w.view.viewport()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w.view.viewport(), &click);
  ASSERT_EQ(w.doc.Links().size(), 1u);
  EXPECT_EQ((*w.doc.Links().begin())->endB, &target);
}

TEST(ViewLinkMode, SourceGoneWithTheDocumentLinksNothing) {
  InteractiveWindow w;
  CNode& source = w.AddSquareNode("NN1", 60, 60);
  w.Choose(InteractiveWindow::BodyOf(source), command::kLink);
  ASSERT_TRUE(w.view.Picks().linkMode);
  w.doc.NewDocument();
  CNode& fresh = w.AddSquareNode("NN2", 60, 60);
  w.Press(InteractiveWindow::BodyOf(fresh));
  EXPECT_TRUE(w.doc.Links().empty());
  EXPECT_FALSE(w.view.Picks().linkMode);
}

// Whatever takes a node out of the document (an undo, a refresh), the view
// lets go of everything that pointed at it or at its links.
TEST(ViewDelete, NodeRemovedElsewhereLeavesNoPick) {
  InteractiveWindow w;
  CNode& doomed = w.AddSquareNode("NN1", 60, 60);
  CNode& other = w.AddSquareNode("NN2", 300, 60);
  w.doc.NewLink(doomed, other);
  w.view.Menus().Build(MidpointOf(*w.doc.Links().begin()[0]));
  ASSERT_NE(w.view.Picks().menuLink, nullptr);
  w.view.Route().SetStart(doomed);
  w.view.Route().SetEnd(other);
  ASSERT_NE(w.view.Route().Found().kind, Route::Kind::None);
  w.view.Selection().Select(&doomed);

  const std::unique_ptr<CNode> removed = w.doc.RemoveNode(doomed);
  EXPECT_EQ(w.view.Picks().menuLink, nullptr);
  EXPECT_EQ(w.view.Selection().SelectedNode(), nullptr);
  EXPECT_TRUE(w.view.Route().Found().links.empty());
  w.view.PictureChanged();
  EXPECT_EQ(w.view.Route().Found().kind, Route::Kind::None);
  EXPECT_FALSE(w.view.Frame().PictureImage().isNull());
}

TEST(ViewDelete, NodeTakesAllItsLinksWithIt) {
  InteractiveWindow w;
  CNode& hub = w.AddSquareNode("HUB", 200, 120);
  CNode& b = w.AddSquareNode("B", 20, 20);
  CNode& c = w.AddSquareNode("C", 420, 20);
  CNode& d = w.AddSquareNode("D", 420, 220);
  for (CNode* end : {&b, &c, &d}) w.doc.NewLink(hub, *end);
  w.doc.NewLink(b, c);
  const CLink* kept = w.doc.Links().begin()[3].get();
  const Point onDeletedLine = MidpointOf(*w.doc.Links().begin()[2]);  // hub - D
  const Rect hubBand = hub.GetRect().Inflated(0, CNode::kLabelBand);
  w.view.PictureChanged();
  ASSERT_FALSE(w.ShowsBackgroundAt(hubBand));
  w.doc.SetModified(false);

  w.Choose(InteractiveWindow::BodyOf(hub), command::kDelete);
  EXPECT_EQ(w.doc.FindNode("HUB"), nullptr);
  EXPECT_EQ(w.doc.Nodes().size(), 3u);
  ASSERT_EQ(w.doc.Links().size(), 1u);
  EXPECT_EQ(w.doc.Links().begin()->get(), kept);
  EXPECT_EQ(b.links.size(), 1u);
  EXPECT_EQ(c.links.size(), 1u);
  EXPECT_TRUE(d.links.empty());
  EXPECT_EQ(w.view.Picks().menuNode, nullptr);
  EXPECT_TRUE(w.doc.IsModified());
  // Neither the icon with its label nor its lines are on the picture.
  EXPECT_TRUE(w.ShowsBackgroundAt(hubBand));
  EXPECT_TRUE(w.ShowsBackgroundAt(
      {onDeletedLine.x - 2, onDeletedLine.y - 2, onDeletedLine.x + 3, onDeletedLine.y + 3}));
  EXPECT_EQ(w.status.Last(), "Displaying 3 of 3 nodes");
}

// Deleting the node being dragged or linked from leaves the view holding
// nothing of it: the rest of the drag and the next click are harmless.
TEST(ViewDelete, DraggedOrLinkingNodeLeavesNoReference) {
  InteractiveWindow w;
  CNode& doomed = w.AddSquareNode("NN1", 60, 60);
  CNode& other = w.AddSquareNode("NN2", 300, 60);
  w.doc.NewLink(doomed, doomed);
  const Point body = InteractiveWindow::BodyOf(doomed);
  w.Choose(body, command::kLink);
  w.commands.Run(command::kLink);  // still the menu's node
  w.Press(InteractiveWindow::BodyOf(other));  // links doomed - other
  ASSERT_EQ(w.doc.Links().size(), 2u);
  w.Choose(body, command::kLink);
  w.Press(body);  // a second link to itself: link mode ends, no drag
  w.Release();
  w.Choose(body, command::kLink);

  w.Choose(body, command::kDelete);
  EXPECT_FALSE(w.view.Picks().linkMode);
  EXPECT_TRUE(w.doc.Links().empty());
  EXPECT_TRUE(other.links.empty());
  w.Press(InteractiveWindow::BodyOf(other));  // a drag, not a link
  EXPECT_TRUE(w.doc.Links().empty());
  EXPECT_EQ(w.view.Picks().dragNode, &other);
  w.Release();

  CNode& dragged = w.AddSquareNode("NN3", 60, 200);
  w.Press(InteractiveWindow::BodyOf(dragged));
  w.Choose(InteractiveWindow::BodyOf(dragged), command::kDelete);
  EXPECT_EQ(w.view.Picks().dragNode, nullptr);
  w.MoveTo({200, 200});
  w.Release();
  EXPECT_FALSE(w.view.Drag().Active());
  EXPECT_EQ(w.doc.Nodes().size(), 1u);
}

TEST(ViewDelete, LinkFromTheLinkMenu) {
  InteractiveWindow w;
  CNode& a = w.AddSquareNode("NN1", 40, 40);
  CNode& b = w.AddSquareNode("NN2", 400, 200);
  w.doc.NewLink(a, b);
  CLink* link = w.doc.Links().begin()->get();
  const Point middle = MidpointOf(*link);
  const Rect around{middle.x - 2, middle.y - 2, middle.x + 3, middle.y + 3};
  ASSERT_FALSE(w.ShowsBackgroundAt(around));

  // A node hit afterwards keeps the link the menu found before.
  const std::unique_ptr<QMenu> linkMenu = w.view.Menus().Build(middle);
  EXPECT_EQ(w.view.Picks().menuLink, link);
  const std::unique_ptr<QMenu> nodeMenu = w.view.Menus().Build(InteractiveWindow::BodyOf(a));
  EXPECT_EQ(w.view.Picks().menuLink, link);
  EXPECT_EQ(w.view.Picks().menuNode, &a);

  w.Choose(middle, command::kDelete);
  EXPECT_TRUE(w.doc.Links().empty());
  EXPECT_TRUE(a.links.empty());
  EXPECT_TRUE(b.links.empty());
  EXPECT_EQ(w.view.Picks().menuLink, nullptr);
  EXPECT_EQ(w.doc.Nodes().size(), 2u);
  EXPECT_TRUE(w.ShowsBackgroundAt(around));
}

TEST(ViewNeighbors, HideAndShowTheOtherEnds) {
  InteractiveWindow w;
  CNode& centre = w.AddSquareNode("C", 200, 120);
  CNode& left = w.AddSquareNode("L", 20, 20);
  CNode& right = w.AddSquareNode("R", 420, 20);
  CNode& lonely = w.AddSquareNode("LONELY", 420, 220);
  w.doc.NewLink(left, centre);   // centre is the second end
  w.doc.NewLink(centre, right);  // centre is the first end
  w.doc.NewLink(centre, centre);
  w.doc.SetModified(false);

  w.Choose(InteractiveWindow::BodyOf(lonely), command::kHideNeighbors);
  EXPECT_FALSE(w.doc.IsModified());
  for (const auto& node : w.doc.Nodes()) EXPECT_EQ(node->hidden, 0) << node->label;

  w.Choose(InteractiveWindow::BodyOf(centre), command::kHideNeighbors);
  EXPECT_EQ(left.hidden, 1);
  EXPECT_EQ(right.hidden, 1);
  EXPECT_EQ(centre.hidden, 0);
  EXPECT_EQ(lonely.hidden, 0);
  EXPECT_TRUE(w.doc.IsModified());
  EXPECT_TRUE(w.ShowsBackgroundAt(left.GetRect()));
  EXPECT_EQ(w.status.Last(), "Displaying 2 of 4 nodes");

  w.Choose(InteractiveWindow::BodyOf(centre), command::kShowNeighbors);
  EXPECT_EQ(left.hidden, 0);
  EXPECT_EQ(right.hidden, 0);
  EXPECT_TRUE(w.ShowsIconAt(left, kBody));
}

TEST(ViewHide, HidesTheMenuNodeOnly) {
  InteractiveWindow w;
  CNode& node = w.AddSquareNode("NN1", 60, 60);
  w.AddSquareNode("NN2", 300, 60);
  w.doc.SetModified(false);
  // The background menu forgets the node: nothing to hide.
  w.Choose({200, 250}, command::kNewBackgroundImage);
  w.commands.Run(command::kHide);
  EXPECT_EQ(node.hidden, 0);
  EXPECT_FALSE(w.doc.IsModified());

  w.Choose(InteractiveWindow::BodyOf(node), command::kHide);
  EXPECT_EQ(node.hidden, 1);
  EXPECT_TRUE(w.doc.IsModified());
  EXPECT_TRUE(w.ShowsBackgroundAt(node.GetRect().Inflated(0, CNode::kLabelBand)));
  EXPECT_EQ(w.status.Last(), "Displaying 1 of 2 nodes");
}

// Three overlapping nodes of equal depth: moving one closer puts it on top,
// moving it farther again puts it under its equals.
TEST(ViewDepth, MoveCloserAndFartherResortTheList) {
  InteractiveWindow w;
  CNode& c = w.AddSquareNode("C", 120, 100);
  w.AddSquareNode("B", 110, 100);
  CNode& a = w.AddSquareNode("A", 100, 100, w.otherIcon.get());
  ASSERT_EQ(LabelsInOrder(w.doc), (std::vector<std::string>{"A", "B", "C"}));
  const Point overlap{125, 120};
  EXPECT_NE(*w.Buffer().PixelPtr(overlap.x, overlap.y), kOtherBody);
  w.doc.SetModified(false);

  w.Choose(overlap, command::kMoveCloser);  // picks A, drawn underneath
  EXPECT_EQ(a.GetDepth(), 51);
  EXPECT_EQ(LabelsInOrder(w.doc), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(*w.Buffer().PixelPtr(overlap.x, overlap.y), kOtherBody);
  EXPECT_TRUE(w.doc.IsModified());

  w.Choose(overlap, command::kMoveFarther);  // picks B now
  w.Choose({104, 120}, command::kMoveFarther);  // only A is there
  EXPECT_EQ(a.GetDepth(), 50);
  EXPECT_EQ(LabelsInOrder(w.doc), (std::vector<std::string>{"B", "A", "C"}));
  EXPECT_EQ(w.doc.FindNode("B")->GetDepth(), 49);
  EXPECT_EQ(c.GetDepth(), 50);
  EXPECT_NE(*w.Buffer().PixelPtr(overlap.x, overlap.y), kOtherBody);
}

// Every item as "popup/.../text=id", disabled ones marked with '-'.
void Flatten(const QMenu& menu, const std::string& path, std::vector<std::string>& out) {
  for (const QAction* action : menu.actions()) {
    const std::string text = action->text().toStdString();
    if (action->menu() != nullptr) {
      Flatten(*action->menu(), path + text + "/", out);
    } else {
      out.push_back((action->isEnabled() ? "" : "-") + path + text + "=" +
                    std::to_string(action->data().toInt()));
    }
  }
}

TEST(ViewContextMenu, ItemsIdsAndEnablingFollowWhatWasHit) {
  InteractiveWindow w;
  CNode& a = w.AddSquareNode("NN1", 40, 40);
  CNode& b = w.AddSquareNode("NN2", 400, 200);
  w.doc.NewLink(a, b);
  const Point onLink = MidpointOf(**w.doc.Links().begin());

  struct Case {
    const char* name;
    Point at;
    const char* title;
    std::vector<std::string> items;
    bool onNode;
  };
  const std::vector<Case> cases = {
      {"node", InteractiveWindow::BodyOf(a), "Node",
       {"Node Details...=32776", "Link=32778", "Hide=32807", "Move Closer=32773",
        "Move Farther=32775", "Delete=32780", "Icon/Host=32783", "Icon/Workstation=32785",
        "Icon/Server Workstation=32787", "Icon/Custom/Active Icon...=32831",
        "Icon/Custom/Inactive Icon=32832", "Icon/Custom/Same for Act/Inact...=32789",
        "Show Neighbors=32815", "Hide Neighbors=32816", "Route From Here=32860",
        "Route To Here=32861", "Pin=32871", "-Fold LUs=32890", "Show Neighbourhood…=32872"},
       true},
      {"link", onLink, "Link", {"Link Details...=32776", "Delete=32780"}, false},
      {"background", {250, 290}, "Background",
       {"&Open Background Image=32812", "&Resize Background...=32784",
        "Background Image/&Tile=32779", "Background Image/&Stretch to Fit=32797",
        "Background Image/&Center Image=32786"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<QMenu> menu = w.view.Menus().Build(c.at);
    EXPECT_EQ(menu->title().toStdString(), c.title);
    std::vector<std::string> items;
    Flatten(*menu, "", items);
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(w.view.Picks().menuOnNode, c.onNode);
    EXPECT_EQ(w.view.Picks().menuNode, c.onNode ? &a : nullptr);
  }
}

TEST(ViewContextMenu, ChosenItemIsEmittedAndOnlyTheViewsOwnCommandsRunHere) {
  InteractiveWindow w;
  CNode& node = w.AddSquareNode("NN1", 40, 40);
  dialogtest::DialogScript dialogs([](QDialog&) {});
  std::vector<int> chosen;
  QObject::connect(&w.view.Signals(), &ViewSignals::CommandChosen, [&](int id) { chosen.push_back(id); });
  w.Choose(InteractiveWindow::BodyOf(node), command::kIconHost);
  w.Choose(InteractiveWindow::BodyOf(node), command::kDetails);
  EXPECT_EQ(chosen, (std::vector<int>{command::kIconHost, command::kDetails}));
  EXPECT_EQ(dialogs.opened, 1);  // the details are the view's own
  // Icons and a new background image belong to the document.
  for (const int id : {command::kIconHost, command::kIconActive, command::kNewBackgroundImage}) {
    EXPECT_FALSE(w.commands.Run(id)) << id;
  }
  EXPECT_FALSE(w.commands.StateOf(command::kNewBackgroundImage).has_value());
}

}  // namespace
}  // namespace mapvine
