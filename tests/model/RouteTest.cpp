#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/MapvineDoc.h"
#include "model/Route.h"

namespace mapvine {
namespace {

// A picture written as links "A-B", in the order they are added: "A-B" an
// active TG, "A~B" an inactive one, "L>B" the active link of the LU or end
// node L to its owner B. Nodes are added as they are first named: E and F
// are end nodes, L and M LUs, the others network nodes.
struct Picture {
  explicit Picture(const std::string& links) {
    std::istringstream words(links);
    for (std::string word; words >> word;) {
      const std::size_t cut = word.find_first_of("-~>");
      doc.NewLink(Node(word.substr(0, cut)), Node(word.substr(cut + 1)));
      CLink& link = *doc.Links().begin()[doc.Links().size() - 1];
      link.status = StatusFor(word[cut] != '~');
      link.tgNumber = word[cut] == '>' ? 0 : 1;
    }
  }
  CNode& Node(const std::string& label) {
    if (CNode* known = doc.Nodes().FindByLabel(label)) return *known;
    auto node = std::make_unique<CNode>();
    node->label = label;
    node->nodeType = label.find_first_of("EF") == 0 ? EndNode : label.find_first_of("LM") == 0 ? LogicalUnit : NetworkNode;
    return doc.InsertNode(std::move(node));
  }
  static std::string Path(const Route& route) {
    std::string path;
    for (const CNode* node : route.nodes) path += node->label;
    return path;
  }
  CMapvineDoc doc;
};

TEST(Route, ShortestOverActiveLinksElseBrokenElseNone) {
  struct Case { const char* links; Route::Kind kind; const char* path; int inactive; };
  const Case cases[] = {
      // Ties go to the path over the links each node lists first.
      {"A-B A-C B-D C-D", Route::Kind::Active, "ABD", 0},
      {"A-C A-B C-D B-D", Route::Kind::Active, "ACD", 0},
      {"B-D C-D A-C A-B", Route::Kind::Active, "ACD", 0},
      // A longer active path wins over a shorter inactive one.
      {"A~D A-B B-C C-D", Route::Kind::Active, "ABCD", 0},
      // Inactive links only: the shortest path, shown as broken.
      {"A-B B~D A~C C~E E-D", Route::Kind::Broken, "ABD", 1},
      {"A~B B~D", Route::Kind::Broken, "ABD", 2},
      // A link from a node to itself leads nowhere.
      {"A-A D-D", Route::Kind::None, "", 0},
      {"A-B C-D", Route::Kind::None, "", 0},
  };
  for (const Case& c : cases) {
    Picture picture(c.links);
    const Route route = FindRoute(picture.Node("A"), picture.Node("D"));
    EXPECT_EQ(route.kind, c.kind) << c.links;
    EXPECT_EQ(picture.Path(route), c.path) << c.links;
    EXPECT_EQ(route.InactiveLinks(), c.inactive) << c.links;
  }
}

// Routes travel over TGs; an LU's or end node's link to its owner is only
// a first or last step, where no TG serves that LU or end node.
TEST(Route, OwnerLinksOnlyEndARouteWhereNoTgServes) {
  struct Case { const char* links; const char* ends; Route::Kind kind; const char* path; };
  const Case cases[] = {
      // The end node's only TG is down: its owner link does not stand in.
      {"A-B B~E E>B", "AE", Route::Kind::Broken, "ABE"},
      {"A-B F>B", "AF", Route::Kind::Active, "ABF"},
      {"A-B L>B", "AL", Route::Kind::Active, "ABL"},
      {"L>E E>B E-B B-A", "LA", Route::Kind::Active, "LEBA"},
      // Never a step in the middle.
      {"A-E E>B B-D", "AD", Route::Kind::None, ""},
      {"L>F F>B B-A", "LA", Route::Kind::None, ""},
  };
  for (const Case& c : cases) {
    Picture picture(c.links);
    const Route route = FindRoute(picture.Node({c.ends[0]}), picture.Node({c.ends[1]}));
    EXPECT_EQ(route.kind, c.kind) << c.links;
    EXPECT_EQ(picture.Path(route), c.path) << c.links;
  }
}

}  // namespace
}  // namespace mapvine
