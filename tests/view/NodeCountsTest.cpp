// The node counts look again only at the nodes reported changed: they must
// say what a count of every node says, whether a node hid after it was
// reported (a status check that changes its image first) or left the
// picture while hidden.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/MapvineDoc.h"
#include "model/NodeRecords.h"
#include "view/NodeCounts.h"

namespace mapvine {
namespace {

TEST(NodeCounts, FollowTheChangedNodesAsACountOfAllWould) {
  CMapvineDoc doc;
  doc.NewDocument();
  for (int i = 0; i < 5; ++i) {
    const std::string name = "N" + std::to_string(i);
    doc.NewNode(name, "NETA." + name, NetworkNode, nullptr, nullptr);
  }
  CNode& a = *doc.FindNode("N1");
  CNode& b = *doc.FindNode("N2");
  NodeCounts counts;
  const auto expectAsCountOfAll = [&](int displayed) {
    NodeCounts all;
    all.Settle(doc);
    counts.Settle(doc);
    EXPECT_EQ(all.Displayed(), displayed);
    EXPECT_EQ(counts.Displayed(), all.Displayed());
    EXPECT_EQ(counts.Total(), all.Total());
  };
  expectAsCountOfAll(5);
  counts.NodeChanged(a);
  a.hidden = 1;
  expectAsCountOfAll(4);
  b.hidden = 1;
  counts.NodeChanged(b);
  a.hidden = 0;
  counts.NodeChanged(a);
  expectAsCountOfAll(4);
  counts.NodeRemoving(b);
  const std::unique_ptr<CNode> removed = doc.RemoveNode(b);
  expectAsCountOfAll(4);
  doc.NewNode("N9", "NETA.N9", NetworkNode, nullptr, nullptr);
  doc.FindNode("N9")->hidden = 1;
  counts.NodeChanged(*doc.FindNode("N9"));
  expectAsCountOfAll(4);
  // Past many hidden or changed they are counted all at once.
  for (int i = 0; i < 1100; ++i) {
    const std::string name = "H" + std::to_string(i);
    doc.NewNode(name, "NETA." + name, NetworkNode, nullptr, nullptr);
    doc.FindNode(name)->hidden = 1;
    counts.NodeChanged(*doc.FindNode(name));
  }
  expectAsCountOfAll(4);
  a.hidden = 1;
  counts.NodeChanged(a);
  expectAsCountOfAll(3);
}

}  // namespace
}  // namespace mapvine
