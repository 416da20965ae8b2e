#include <gtest/gtest.h>

#include <memory>

#include "model/SortedNames.h"

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

}  // namespace mapvine
