#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>

#include "model/NodeIndex.h"

#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

const NodeRecordBytes kNodeRecord{};
const ReportedNodeRecord kActive{kNodeRecord, true};
const ReportedNodeRecord kInactive{kNodeRecord, false};

TEST(NewNode, AddsEachKindWithItsIconSlots) {
  DocumentWithView d;
  struct Case {
    int kind;
    const char* name;
  } cases[] = {{NetworkNode, "NN1"}, {EndNode, "EN1"}, {LogicalUnit, "LU1"}, {ConnectionNetwork, "CN1"}};
  for (const Case& c : cases) {
    EXPECT_EQ(d.doc.NewNode(c.name, std::string("NETA.") + c.name, c.kind, nullptr, nullptr),
              NewNodeResult::Added);
    CNode* node = d.doc.FindNode(c.name);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->nodeType, c.kind);
    EXPECT_EQ(node->activeImage, c.kind);
    EXPECT_EQ(node->inactiveImage, c.kind + 5);
    EXPECT_EQ(node->imageIndex, c.kind);
    EXPECT_EQ(node->status, ResourceStatus::Active);
    EXPECT_EQ(node->fqName, std::string("NETA.") + c.name);
    EXPECT_TRUE(node->SharesStorageWith(*d.doc.workingImages[c.kind]));
  }
  EXPECT_TRUE(d.doc.nodesAdded);
  EXPECT_TRUE(d.doc.IsModified());
  EXPECT_EQ(d.doc.Nodes().size(), 4u);
}

TEST(NewNode, KeepsTheRecordsItsKindUses) {
  DocumentWithView d;
  DirectoryRecordBytes directoryRecord{};
  directoryRecord[2] = 0xC1;
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, &kActive, &directoryRecord);
  d.doc.NewNode("EN1", "NETA.EN1", EndNode, &kActive, &directoryRecord);
  d.doc.NewNode("LU1", "NETA.LU1", LogicalUnit, &kActive, &directoryRecord);
  EXPECT_NE(d.doc.FindNode("NN1")->nodeRecord, nullptr);
  EXPECT_EQ(d.doc.FindNode("NN1")->directoryRecord, nullptr);
  EXPECT_NE(d.doc.FindNode("EN1")->nodeRecord, nullptr);
  EXPECT_NE(d.doc.FindNode("EN1")->directoryRecord, nullptr);
  EXPECT_EQ(d.doc.FindNode("LU1")->nodeRecord, nullptr);
  EXPECT_EQ((*d.doc.FindNode("LU1")->directoryRecord)[2], 0xC1);
}

TEST(NewNode, ExistingLabelOnlyTakesANewNodeRecord) {
  DocumentWithView d;
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  CNode* node = d.doc.FindNode("NN1");
  const Point before{node->GetX(), node->GetY()};

  EXPECT_EQ(d.doc.NewNode("NN1", "OTHER.NN1", EndNode, nullptr, nullptr), NewNodeResult::Present);
  EXPECT_EQ(node->status, ResourceStatus::Active);
  EXPECT_EQ(node->nodeRecord, nullptr);

  EXPECT_EQ(d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, &kInactive, nullptr),
            NewNodeResult::Present);
  EXPECT_EQ(node->status, ResourceStatus::Inactive);
  EXPECT_NE(node->nodeRecord, nullptr);
  EXPECT_EQ(node->fqName, "NETA.NN1");
  EXPECT_EQ(node->nodeType, NetworkNode);
  EXPECT_EQ((Point{node->GetX(), node->GetY()}), before);
  EXPECT_EQ(d.doc.Nodes().size(), 1u);
}

TEST(NewNode, CongestedNodeShowsItsInactiveImage) {
  DocumentWithView d;
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, &kInactive, nullptr);
  CNode* node = d.doc.FindNode("NN1");
  EXPECT_EQ(node->status, ResourceStatus::Inactive);
  EXPECT_EQ(node->imageIndex, 6);
  EXPECT_TRUE(node->SharesStorageWith(*d.doc.workingImages[6]));
}

TEST(NewNode, HiddenOnDiscoveryFollowsOnlyEndNodeAndLuSettings) {
  DocumentWithView d;
  d.doc.settings.showEnOnDiscovery = 0;
  d.doc.settings.showLuOnDiscovery = 0;
  d.doc.settings.showNnOnDiscovery = 0;
  d.doc.settings.showCnOnDiscovery = 0;
  d.doc.NewNode("EN1", "NETA.EN1", EndNode, nullptr, nullptr);
  d.doc.NewNode("LU1", "NETA.LU1", LogicalUnit, nullptr, nullptr);
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("CN1", "NETA.CN1", ConnectionNetwork, nullptr, nullptr);
  EXPECT_EQ(d.doc.FindNode("EN1")->hidden, 1);
  EXPECT_EQ(d.doc.FindNode("LU1")->hidden, 1);
  EXPECT_EQ(d.doc.FindNode("NN1")->hidden, 0);
  EXPECT_EQ(d.doc.FindNode("CN1")->hidden, 0);
  // Hidden nodes still take their grid places.
  EXPECT_EQ(d.doc.FindNode("EN1")->GetX(), 0);
  EXPECT_EQ(d.doc.FindNode("LU1")->GetX(), 90);
  EXPECT_EQ(d.doc.FindNode("NN1")->GetX(), 180);
}

TEST(NewNode, FailsWithoutTouchingTheDocumentWhenTheIconIsMissing) {
  DocumentWithView d;
  d.doc.workingImages.resize(3);  // slots 3 and up gone
  EXPECT_EQ(d.doc.NewNode("LU1", "NETA.LU1", LogicalUnit, nullptr, nullptr),
            NewNodeResult::IconMissing);
  EXPECT_EQ(d.doc.NewNode("CN1", "NETA.CN1", ConnectionNetwork, nullptr, nullptr),
            NewNodeResult::IconMissing);
  EXPECT_EQ(d.doc.NewNode("XX", "NETA.XX", 9, nullptr, nullptr), NewNodeResult::InvalidKind);
  EXPECT_TRUE(d.doc.Nodes().empty());
  EXPECT_EQ(d.doc.FindNode("LU1"), nullptr);
}

TEST(ManualAddNode, AddsNumberedEndNodesWithoutRecords) {
  DocumentWithView d;
  d.doc.ManualAddNode();
  d.doc.ManualAddNode();
  std::vector<std::string> labels;
  for (const auto& node : d.doc.Nodes()) labels.push_back(node->label);
  ASSERT_EQ(labels.size(), 2u);
  // The counter lives as long as the program: numbers follow one another.
  const std::regex manualName("ENNODE([0-9]+)");
  std::smatch first, second;
  ASSERT_TRUE(std::regex_match(labels[1], first, manualName));
  ASSERT_TRUE(std::regex_match(labels[0], second, manualName));
  EXPECT_EQ(std::stoi(second[1]), std::stoi(first[1]) + 1);
  for (const auto& node : d.doc.Nodes()) {
    EXPECT_EQ(node->nodeType, EndNode);
    EXPECT_EQ(node->fqName, node->label);
    EXPECT_EQ(node->status, ResourceStatus::Active);
    EXPECT_EQ(node->nodeRecord, nullptr);
    EXPECT_EQ(node->directoryRecord, nullptr);
  }
}

TEST(StatusImage, EndNodesPassTheirStatusToLinksNetworkNodesDoNot) {
  DocumentWithView d;
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("NN2", "NETA.NN2", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("EN1", "NETA.EN1", EndNode, nullptr, nullptr);
  d.doc.NewLink("NN1", "NN2", 1, 21, nullptr);
  d.doc.NewLink("NN1", "EN1", 1, 1, nullptr);
  CNode* nn = d.doc.FindNode("NN1");
  CNode* en = d.doc.FindNode("EN1");

  nn->status = ResourceStatus::Inactive;
  d.doc.ApplyStatusImage(*nn);
  EXPECT_EQ(nn->imageIndex, 6);
  for (CLink* link : nn->links) EXPECT_EQ(link->status, ResourceStatus::Active);

  en->status = ResourceStatus::Inactive;
  const int changesBefore = d.view.nodeChanges;
  d.doc.ApplyStatusImage(*en);
  EXPECT_EQ(en->imageIndex, 7);
  EXPECT_EQ(d.view.nodeChanges, changesBefore + 1);
  for (CLink* link : en->links) EXPECT_EQ(link->status, ResourceStatus::Inactive);

  // Already showing the wanted image: nothing happens, the view is not told.
  d.doc.ApplyStatusImage(*en);
  EXPECT_EQ(d.view.nodeChanges, changesBefore + 1);
}

TEST(NewDocument, StartsCleanAndNotModified) {
  DocumentWithView d;
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  d.doc.settings.refreshSeconds = 5;
  EXPECT_TRUE(d.doc.NewDocument());
  EXPECT_TRUE(d.doc.Nodes().empty());
  EXPECT_TRUE(d.doc.Links().empty());
  EXPECT_EQ(d.doc.FindNode("NN1"), nullptr);
  EXPECT_EQ(d.doc.settings.refreshSeconds, 60);
  EXPECT_EQ(d.doc.images.size(), 11u);
  EXPECT_EQ(d.doc.workingImages.size(), 11u);
  EXPECT_FALSE(d.doc.IsModified());
  ASSERT_NE(d.doc.composedBackground, nullptr);
  EXPECT_EQ(d.view.BufferRect().Width(), d.doc.picture.composedWidth);
}

// The index must answer as a walk of the list does (the first node, in list
// order, that the network reports by the name) through additions, removals
// and renames, for nodes with and without a network-qualified name, whether
// names are short enough to be compared inside the index or longer ones
// that differ only after a long common start.
TEST(NodeIndex, AgreesWithTheListWalk) {
  std::mt19937 random(11);
  const std::string labels[] = {"LU1", "LU2", "", "ABCDEFGHIJK", "ABCDEFGHIJKL", "ABCDEFGHIJKM"};
  auto anyLabel = [&] { return labels[random() % std::size(labels)]; };
  CSpriteList list;
  NodeIndex index(list);
  for (int step = 0; step < 600; ++step) {
    const unsigned action = random() % 4;
    if (action < 2 || list.empty()) {
      auto node = std::make_unique<CNode>();
      node->label = anyLabel();
      if (random() % 2 == 0) node->fqName = "NETA." + anyLabel();
      node->SetDepth(static_cast<int>(random() % 3));
      index.Add(list.Insert(std::move(node)));
    } else {
      CNode& node = **std::next(list.begin(), random() % list.size());
      index.Remove(node);
      if (action == 2) {
        list.Remove(node);
      } else {
        node.label = anyLabel();
        index.Add(node);
      }
    }
    for (const std::string& name : labels) {
      const auto walk = std::find_if(list.begin(), list.end(),
                                     [&](const auto& node) { return ReportedName(*node) == name; });
      const CNode* first = walk == list.end() ? nullptr : walk->get();
      ASSERT_EQ(index.Find(name), first) << "'" << name << "' at step " << step;
    }
  }
}

}  // namespace
}  // namespace mapvine
