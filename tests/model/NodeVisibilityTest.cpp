#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/FoldedNames.h"
#include "model/NodeVisibility.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

// An 800 x 600 picture holding one node of every kind plus an unreachable
// network node, spread away from the grid places.
struct MixedPicture : DocumentWithView {
  MixedPicture() {
    auto blank = std::make_unique<CDIB>();
    blank->Create(800, 600);
    doc.ComposeBackground(std::move(blank), kArrangementChosenInView, 0, 0);
    Add("NN1", NetworkNode, {400, 300});
    Add("CN1", ConnectionNetwork, {500, 300});
    Add("EN1", EndNode, {600, 300});
    Add("LU1", LogicalUnit, {400, 400});
    Add("NN2", NetworkNode, {500, 400}).status = ResourceStatus::Inactive;
    doc.SetModified(false);
  }
  CNode& Add(const std::string& name, int kind, Point at) {
    doc.NewNode(name, "NETA." + name, kind, nullptr, nullptr);
    CNode& node = *doc.FindNode(name);
    node.SetPosition(at.x, at.y);
    return node;
  }
  CNode& Node(const std::string& name) { return *doc.FindNode(name); }
  std::vector<std::string> Hidden() {
    std::vector<std::string> names;
    for (const char* name : {"NN1", "CN1", "EN1", "LU1", "NN2"}) {
      if (Node(name).hidden) names.emplace_back(name);
    }
    return names;
  }
  std::vector<Point> Places() {
    std::vector<Point> places;
    for (const char* name : {"NN1", "CN1", "EN1", "LU1", "NN2"}) {
      places.push_back({Node(name).GetX(), Node(name).GetY()});
    }
    return places;
  }
};

struct ClassCase {
  NodeClass nodeClass;
  std::vector<std::string> members;
};

const std::vector<ClassCase> kClasses = {
    {NodeClass::NetworkNodes, {"NN1", "NN2"}},
    {NodeClass::ConnectionNetworks, {"CN1"}},
    {NodeClass::EndNodes, {"EN1"}},
    {NodeClass::LogicalUnits, {"LU1"}},
    {NodeClass::Unreachable, {"NN2"}},
};

TEST(HideAndShowAll, EachClassTouchesExactlyItsMembers) {
  for (const ClassCase& c : kClasses) {
    SCOPED_TRACE(static_cast<int>(c.nodeClass));
    MixedPicture p;
    EXPECT_EQ(HideAllOfClass(p.doc, c.nodeClass), static_cast<int>(c.members.size()));
    EXPECT_EQ(p.Hidden(), c.members);
    EXPECT_TRUE(p.doc.IsModified());

    // Showing a class brings back only its own members.
    for (const auto& node : p.doc.Nodes()) node->hidden = 1;
    p.doc.SetModified(false);
    EXPECT_EQ(ShowAllOfClass(p.doc, c.nodeClass), static_cast<int>(c.members.size()));
    EXPECT_EQ(p.Hidden().size(), 5 - c.members.size());
    for (const std::string& name : c.members) EXPECT_EQ(p.Node(name).hidden, 0) << name;
    EXPECT_TRUE(p.doc.IsModified());
  }
}

TEST(HideAndShowAll, HidingWithAutoTileShrinksThePictureAndLaysOutTheGrid) {
  MixedPicture p;
  p.doc.settings.autoTile = 1;
  HideAllOfClass(p.doc, NodeClass::EndNodes);
  EXPECT_EQ(p.doc.picture.composedWidth, kTiledPictureWidth);
  EXPECT_EQ(p.doc.picture.composedHeight, kTiledPictureHeight);
  ASSERT_TRUE(p.view.HasBuffer());
  EXPECT_EQ(p.view.BufferRect().Width(), 520);
  // Shown nodes in list order from the top-left corner (the newest node
  // heads the list), the hidden end node after them.
  EXPECT_EQ(p.Node("NN2").GetX(), 0);
  EXPECT_EQ(p.Node("LU1").GetX(), 90);
  EXPECT_EQ(p.Node("CN1").GetX(), 180);
  EXPECT_EQ(p.Node("NN1").GetX(), 270);
  EXPECT_EQ(p.Node("EN1").GetX(), 360);
  for (const auto& node : p.doc.Nodes()) EXPECT_EQ(node->GetY(), 0) << node->label;
}

TEST(HideAndShowAll, HidingWithoutAutoTileAndShowingNeverMoveNodes) {
  MixedPicture p;
  const std::vector<Point> before = p.Places();
  HideAllOfClass(p.doc, NodeClass::EndNodes);
  EXPECT_EQ(p.Places(), before);
  EXPECT_EQ(p.doc.picture.composedWidth, 800);

  p.doc.settings.autoTile = 1;
  ShowAllOfClass(p.doc, NodeClass::EndNodes);
  EXPECT_EQ(p.Places(), before);
  EXPECT_EQ(p.doc.picture.composedHeight, 600);
}

// Without a status pass only a status set by other means makes a node
// unreachable.
TEST(HideAndShowAll, ShowAllUnreachableShowsOnlyNodesWithStatusZero) {
  MixedPicture p;
  for (const auto& node : p.doc.Nodes()) node->hidden = 1;
  ShowAllOfClass(p.doc, NodeClass::Unreachable);
  EXPECT_EQ(p.Hidden(), (std::vector<std::string>{"NN1", "CN1", "EN1", "LU1"}));
}

TEST(NameMatching, WholeNamesIgnoringAsciiCase) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"NETA.NN1", "neta.nn1", true},
      {"NetA.Nn1", "NETA.NN1", true},
      {"", "", true},
      {"NN1", "NN", false},    // a part is not the name
      {"NN", "NN1", false},
      {"NN1", "NN2", false},
      // Only letters fold: bytes one case bit apart that are not letters
      // stay different.
      {"@", "`", false},
      {"[", "{", false},
      {"1", "\x11", false},
      // Non-ASCII bytes (parts of UTF-8 characters) must match exactly.
      {"\xC3\xA9", "\xC3\x89", false},
      {"NET\xC3\xA9", "net\xC3\xA9", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(SameNameIgnoringCase(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

TEST(NameMatching, FindTakesTheFirstNodeByLabelOrQualifiedName) {
  MixedPicture p;
  p.Node("LU1").hidden = 1;
  struct Case {
    const char* text;
    const char* found;  // label, or null
  };
  const Case cases[] = {
      {"nn1", "NN1"},       {"neta.cn1", "CN1"}, {"Lu1", "LU1"},  // hidden nodes count
      {"NETA", nullptr},    {"N", nullptr},      {"NN1 ", nullptr},
      {"NETA.NN", nullptr}, {"", nullptr},
  };
  for (const Case& c : cases) {
    const CNode* found = p.doc.FindResource(c.text);
    EXPECT_EQ(found, c.found ? &p.Node(c.found) : nullptr) << c.text;
  }
  // A label that is another node's qualified name: list order decides.
  CNode& tricky = p.Add("neta.en1", EndNode, {0, 0});
  EXPECT_EQ(p.doc.FindResource("NETA.EN1"), &tricky);
}

// Find keeps its index up to date as nodes come, go, are renamed and
// change places in the list, and answers as a walk of the list comparing
// both names would. The names are few and share letters in both cases, so
// that most of them have several holders.
TEST(NameMatching, FindAnswersAsAWalkOfTheListThroughEveryEdit) {
  DocumentWithView d;
  const std::vector<std::string> names = {"A", "a", "B", "NETA.A", "neta.a", "NETA.B", "C"};
  const auto walk = [&](std::string_view text) -> CNode* {
    for (const auto& node : d.doc.Nodes()) {
      if (SameNameIgnoringCase(node->label, text) || SameNameIgnoringCase(node->fqName, text)) {
        return node.get();
      }
    }
    return nullptr;
  };
  std::mt19937 random(28);
  const auto pick = [&](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  const auto anyNode = [&]() -> CNode& {
    return **std::next(d.doc.Nodes().begin(), static_cast<long>(pick(d.doc.Nodes().size())));
  };
  for (int step = 0; step < 400; ++step) {
    const std::size_t action = d.doc.Nodes().empty() ? 0 : pick(4);
    if (action == 0) {
      auto node = std::make_unique<CNode>();
      node->label = names[pick(names.size())];
      node->fqName = pick(4) == 0 ? std::string() : names[pick(names.size())];
      node->SetDepth(static_cast<int>(pick(3)));
      d.doc.InsertNode(std::move(node));
    } else if (action == 1) {
      d.doc.RemoveNode(anyNode());
    } else if (action == 2) {
      d.doc.RenameNode(anyNode(), names[pick(names.size())]);
    } else {
      anyNode().SetDepth(static_cast<int>(pick(3)));
    }
    for (const std::string& text : names) {
      ASSERT_EQ(d.doc.FindResource(text), walk(text)) << "step " << step << ", " << text;
    }
    ASSERT_EQ(d.doc.FindResource(""), walk("")) << "step " << step;
  }
}

TEST(ShowChosenNodes, HiddenLabelsAndFirstHolders) {
  MixedPicture p;
  EXPECT_TRUE(HiddenLabels(p.doc.Nodes()).empty());
  EXPECT_EQ(ShowFirstHolders(p.doc, {}), 0);
  EXPECT_FALSE(p.doc.IsModified());

  p.Node("EN1").hidden = 1;
  p.Node("NN1").hidden = 1;
  EXPECT_EQ(HiddenLabels(p.doc.Nodes()), (std::vector<std::string>{"EN1", "NN1"}));

  // Labels are matched exactly and case-sensitively.
  EXPECT_EQ(ShowFirstHolders(p.doc, {"en1", "NN1"}), 1);
  EXPECT_EQ(p.Hidden(), std::vector<std::string>{"EN1"});
  EXPECT_TRUE(p.doc.IsModified());
}

TEST(ShowChosenNodes, ALabelWhoseFirstHolderIsShownShowsNothing) {
  MixedPicture p;
  // The newest node heads the list: the visible twin is the first holder.
  CNode& hiddenTwin = p.Node("NN1");
  hiddenTwin.hidden = 1;
  ASSERT_EQ(p.doc.NewNode("TWIN", "NETA.TWIN", NetworkNode, nullptr, nullptr),
            NewNodeResult::Added);
  CNode& twin = *p.doc.FindNode("TWIN");
  p.doc.RenameNode(twin, "NN1");
  ASSERT_EQ(p.doc.Nodes().FindByLabel("NN1"), &twin);
  p.doc.SetModified(false);
  EXPECT_EQ(ShowFirstHolders(p.doc, HiddenLabels(p.doc.Nodes())), 0);
  EXPECT_EQ(hiddenTwin.hidden, 1);
  EXPECT_FALSE(p.doc.IsModified());
}

}  // namespace
}  // namespace mapvine
