#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/SortedNames.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {

// Names are copied once each, sorted; matching folds ASCII letters only.
TEST(SortedNamesTest, MatchesCopiedNamesIgnoringAsciiCase) {
  CSpriteList nodes;
  for (const auto& [label, fqName] : {std::pair{"NN1", "NETA.NN1"}, {"LU\xE9", "NETA.LU\xE9"}, {"NN1", ""}}) {
    CNode& node = nodes.Insert(std::make_unique<CNode>());
    node.label = label;
    node.fqName = fqName;
  }
  const SortedNames names(nodes);
  nodes.DeleteAll();  // what was taken stays
  EXPECT_EQ(names.Holding("a.n"), (std::vector<std::uint32_t>{2}));  // LU\xE9 NETA.LU\xE9 NETA.NN1 NN1
  EXPECT_EQ(names[2], "NETA.NN1");
  EXPECT_EQ(names.Holding("lu\xE9"), (std::vector<std::uint32_t>{0, 1}));
  EXPECT_TRUE(names.Holding("LU\xC9").empty());
}

std::vector<std::string> AllOf(const SortedNames& names) {
  std::vector<std::string> all;
  for (std::size_t i = 0; i < names.size(); ++i) all.emplace_back(names[i]);
  return all;
}

// Names that agree in their first sixteen bytes, or differ only in zero
// bytes and length, still come out in byte order, each once.
TEST(SortedNamesTest, SortsInByteOrderBeyondTheFirstBytes) {
  std::mt19937 random(7);
  const std::string letters("AB\0\xE9", 4);
  CSpriteList nodes;
  std::set<std::string> expected;
  for (int n = 0; n < 2000; ++n) {
    // A run of one letter as long as the heads or longer, then a few at random.
    std::string name(random() % 20, 'A');
    for (std::size_t tail = random() % 4; tail > 0; --tail) name += letters[random() % letters.size()];
    nodes.Insert(std::make_unique<CNode>()).label = name;
    expected.insert(name);
  }
  EXPECT_EQ(AllOf(SortedNames(nodes)), std::vector<std::string>(expected.begin(), expected.end()));
}

// The document keeps its sorted names across Find dialogs; after every way
// a name or the set of nodes changes they must be those of a fresh sort,
// while names taken earlier stay as they were.
TEST(SortedNamesTest, TheDocumentsNamesFollowEveryChange) {
  testing::DocumentWithView d;
  CMapvineDoc& doc = d.doc;
  for (const char* name : {"NN1", "EN1", "LU1"}) doc.NewNode(name, std::string("NETA.") + name, NetworkNode, nullptr, nullptr);
  const auto first = doc.SortedResourceNames();
  EXPECT_EQ(doc.SortedResourceNames(), first);  // kept while nothing changes
  const std::vector<std::string> firstNames = AllOf(*first);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"rename", [&] { doc.RenameNode(*doc.FindNode("LU1"), "ZZ9"); }},
      {"add", [&] { doc.NewNode("AA1", "NETB.AA1", EndNode, nullptr, nullptr); }},
      {"remove", [&] { doc.RemoveNode(*doc.FindNode("EN1")); }},
      {"clear", [&] { doc.Clear(); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    doc.SortedResourceNames();
    change();
    EXPECT_EQ(AllOf(*doc.SortedResourceNames()), AllOf(SortedNames(doc.Nodes())));
  }
  EXPECT_EQ(AllOf(*first), firstNames);
}

}  // namespace mapvine
