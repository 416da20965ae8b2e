#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "model/MapvineDoc.h"
#include "model/Route.h"

namespace mapvine {
namespace {

// A picture written as links "A-B", in the order they are added; "A~B" is
// an inactive link. Nodes are added as they are first named.
struct Picture {
  explicit Picture(const std::string& links) {
    std::istringstream words(links);
    for (std::string word; words >> word;) {
      const std::size_t cut = word.find_first_of("-~");
      doc.NewLink(Node(word.substr(0, cut)), Node(word.substr(cut + 1)));
      doc.Links().begin()[doc.Links().size() - 1]->status = word[cut] == '-' ? 1 : 0;
    }
  }
  CSprite& Node(const std::string& label) {
    auto [it, added] = nodes.try_emplace(label, nullptr);
    if (added) {
      auto node = std::make_unique<CSprite>();
      node->label = label;
      it->second = &doc.InsertNode(std::move(node));
    }
    return *it->second;
  }
  // The labels along the route, joined by spaces.
  std::string Path(const Route& route) {
    std::string path;
    for (const CSprite* node : route.nodes) path += (path.empty() ? "" : " ") + node->label;
    return path;
  }
  CMapvineDoc doc;
  std::map<std::string, CSprite*> nodes;
};

TEST(Route, ShortestOverActiveLinksElseBrokenElseNone) {
  struct Case {
    const char* links;
    Route::Kind kind;
    const char* path;
    int inactive;
  };
  const Case cases[] = {
      // Ties go to the path over the links each node lists first.
      {"A-B A-C B-D C-D", Route::Kind::Active, "A B D", 0},
      {"A-C A-B C-D B-D", Route::Kind::Active, "A C D", 0},
      {"B-D C-D A-C A-B", Route::Kind::Active, "A C D", 0},
      // A longer active path wins over a shorter inactive one.
      {"A~D A-B B-C C-D", Route::Kind::Active, "A B C D", 0},
      // Inactive links only: the shortest path, shown as broken.
      {"A-B B~D A~C C~E E-D", Route::Kind::Broken, "A B D", 1},
      {"A~B B~D", Route::Kind::Broken, "A B D", 2},
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
    EXPECT_EQ(route.links.size() + (route.nodes.empty() ? 0 : 1), route.nodes.size()) << c.links;
  }
}

TEST(Route, SummaryGivesHopsOrSaysWhyNot) {
  Picture picture("A-B B-C C~D");
  picture.Node("B").hidden = 1;
  picture.Node("E");
  auto summary = [&](const char* from, const char* to) {
    return RouteSummary(FindRoute(picture.Node(from), picture.Node(to)), picture.Node(from),
                        picture.Node(to));
  };
  EXPECT_EQ(summary("A", "C"), "Route from A to C: 2 hops (through 1 hidden node)");
  EXPECT_EQ(summary("C", "C"), "Route from C to C: 0 hops");
  EXPECT_EQ(summary("C", "D"), "No active route from C to D; broken route shown: 1 hop, 1 inactive");
  EXPECT_EQ(summary("A", "E"), "No route from A to E");
}

}  // namespace
}  // namespace mapvine
