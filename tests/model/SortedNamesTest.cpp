#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/SortedNames.h"

namespace mapvine {
namespace {

std::vector<std::string> Named(const SortedNames& names, const std::vector<std::uint32_t>& rows) {
  std::vector<std::string> found;
  for (const std::uint32_t row : rows) found.emplace_back(names[row]);
  return found;
}

// Labels and network-qualified names once each, sorted, copied: matching
// ignores the case of ASCII letters only, and a renamed or removed node
// leaves the names taken before as they were.
TEST(SortedNamesTest, HoldsEachNameOnceAndMatchesInsideNamesIgnoringAsciiCase) {
  CSpriteList nodes;
  const auto add = [&nodes](const char* label, const char* fqName) -> CSprite& {
    auto node = std::make_unique<CSprite>();
    node->label = label;
    node->fqName = fqName;
    return nodes.Insert(std::move(node));
  };
  add("NN1", "NETA.NN1");
  CSprite& renamed = add("LU\xE9", "NETA.LU\xE9");
  add("NN1", "");  // a second holder of the label, no qualified name
  add("en10", "NETB.EN10");

  const SortedNames names(nodes);
  renamed.label = "GONE";  // then every node goes
  nodes.DeleteAll();
  EXPECT_EQ(Named(names, names.Holding("")),
            (std::vector<std::string>{"LU\xE9", "NETA.LU\xE9", "NETA.NN1", "NETB.EN10", "NN1", "en10"}));
  const struct {
    const char* text;
    std::vector<std::string> found;
  } cases[] = {
      {"nn1", {"NETA.NN1", "NN1"}},
      {"EN1", {"NETB.EN10", "en10"}},
      {"lu\xE9", {"LU\xE9", "NETA.LU\xE9"}},
      {"LU\xC9", {}},  // only ASCII letters fold
      {"A.N", {"NETA.NN1"}},
      {"NETA.NN1X", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Named(names, names.Holding(c.text)), c.found) << c.text;
}

}  // namespace
}  // namespace mapvine
