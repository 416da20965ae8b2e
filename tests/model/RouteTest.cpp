#include <gtest/gtest.h>

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
      doc.Links().begin()[doc.Links().size() - 1]->status = StatusFor(word[cut] == '-');
    }
  }
  CSprite& Node(const std::string& label) {
    if (CSprite* known = doc.Nodes().FindByLabel(label)) return *known;
    auto node = std::make_unique<CSprite>();
    node->label = label;
    return doc.InsertNode(std::move(node));
  }
  static std::string Path(const Route& route) {
    std::string path;
    for (const CSprite* node : route.nodes) path += node->label;
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

}  // namespace
}  // namespace mapvine
