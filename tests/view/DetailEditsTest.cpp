#include <gtest/gtest.h>

#include "dialogs/DetailEdits.h"
#include "protocol/SnaNames.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

// A manually added end node linked by hand to a network node, the document
// not modified.
struct LinkedEndNode : DocumentWithView {
  CNode* endNode = nullptr;
  CNode* networkNode = nullptr;
  LinkedEndNode() {
    doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
    doc.ManualAddNode();
    networkNode = doc.FindNode("NN1");
    // Manual nodes are numbered program-wide: find it by kind.
    for (const auto& node : doc.Nodes()) {
      if (node->nodeType == EndNode) endNode = node.get();
    }
    doc.NewLink(*endNode, *networkNode);
    link().status = ResourceStatus::Active;
    doc.SetModified(false);
  }
  CLink& link() { return **doc.Links().begin(); }
};

TEST(NodeDetailEdits, OnlyPlainNewNamesRename) {
  struct Case {
    const char* typed;
    bool renames;
  };
  for (const Case& c : {Case{"NETA.ENNODE9", false}, Case{"NEWNAME.", false}, Case{"", false},
                        Case{"Edited", true}, Case{"has blank", true}}) {
    SCOPED_TRACE(c.typed);
    LinkedEndNode d;
    const std::string before = d.endNode->label;
    NodeDetailTexts texts = NodeDetailTextsOf(*d.endNode);
    texts.name = c.typed;
    EXPECT_EQ(ApplyDetailEdits(d.doc, *d.endNode, texts), c.renames);
    EXPECT_EQ(d.endNode->label, c.renames ? c.typed : before);
    EXPECT_EQ(d.doc.IsModified(), c.renames);
    // A refresh still knows the node by the name the network gave it.
    EXPECT_EQ(d.doc.FindNode(before), d.endNode);
    EXPECT_EQ(d.endNode->status, ResourceStatus::Active);
  }
}

TEST(NodeDetailEdits, UneditedDialogChangesNothing) {
  LinkedEndNode d;
  for (CNode* node : {d.endNode, d.networkNode}) {
    EXPECT_FALSE(ApplyDetailEdits(d.doc, *node, NodeDetailTextsOf(*node)));
  }
  // A node record's status words are not status words: a congested node
  // stays as the record made it.
  NodeRecordBytes record{};
  record[33] = 0x80;
  const ReportedNodeRecord congested{record, false};
  d.doc.NewNode("NN1", "NETA.NN1", NetworkNode, &congested, nullptr);
  ASSERT_EQ(d.networkNode->status, ResourceStatus::Inactive);
  EXPECT_FALSE(ApplyDetailEdits(d.doc, *d.networkNode, NodeDetailTextsOf(*d.networkNode)));
  EXPECT_EQ(d.networkNode->status, ResourceStatus::Inactive);
  EXPECT_FALSE(d.doc.IsModified());
}

TEST(NodeDetailEdits, InactiveEndNodeTakesItsLinksAndInactiveIcon) {
  LinkedEndNode d;
  NodeDetailTexts texts = NodeDetailTextsOf(*d.endNode);
  texts.status = "Inactive";
  const int changesBefore = d.view.nodeChanges;
  EXPECT_TRUE(ApplyDetailEdits(d.doc, *d.endNode, texts));
  EXPECT_EQ(d.endNode->status, ResourceStatus::Inactive);
  EXPECT_EQ(d.endNode->imageIndex, EndNode + kInactiveOffset);
  EXPECT_TRUE(d.endNode->SharesStorageWith(*d.doc.workingImages[EndNode + kInactiveOffset]));
  EXPECT_EQ(d.link().status, ResourceStatus::Inactive);
  EXPECT_GT(d.view.nodeChanges, changesBefore);
  EXPECT_TRUE(d.doc.IsModified());

  texts.status = "active";
  EXPECT_TRUE(ApplyDetailEdits(d.doc, *d.endNode, texts));
  EXPECT_EQ(d.endNode->imageIndex, EndNode);
  EXPECT_EQ(d.link().status, ResourceStatus::Active);
}

TEST(NodeDetailEdits, NetworkNodeStatusLeavesItsLinks) {
  LinkedEndNode d;
  NodeDetailTexts texts = NodeDetailTextsOf(*d.networkNode);
  for (const char* word : {"InActive", "Congested", "inactive "}) {
    SCOPED_TRACE(word);
    texts.status = word;
    ApplyDetailEdits(d.doc, *d.networkNode, texts);
    EXPECT_EQ(d.networkNode->status, ResourceStatus::Inactive);  // only the first word counted
    EXPECT_EQ(d.networkNode->imageIndex, NetworkNode + kInactiveOffset);
    EXPECT_EQ(d.link().status, ResourceStatus::Active);
  }
}

TEST(NodeDetailEdits, EndNodeWithBothRecordsTakesTheTypedStatus) {
  // Its dialog shows the node record's status box, so what is typed there
  // counts even though the node also has a directory record.
  LinkedEndNode d;
  const NodeRecordBytes nodeRecord{};
  const ReportedNodeRecord uncongested{nodeRecord, true};
  const DirectoryRecordBytes directoryRecord{};
  d.doc.NewNode("EN2", "NETA.EN2", EndNode, &uncongested, &directoryRecord);
  CNode& node = *d.doc.FindNode("EN2");
  ASSERT_EQ(DetailFormOf(node), DetailForm::Node);
  NodeDetailTexts texts = NodeDetailTextsOf(node);
  EXPECT_EQ(texts.status, "Uncongested");
  texts.status = "Inactive";
  EXPECT_TRUE(ApplyDetailEdits(d.doc, node, texts));
  EXPECT_EQ(node.status, ResourceStatus::Inactive);
}

TEST(DirectoryDetailEdits, RenamesButNeverChangesStatus) {
  DocumentWithView d;
  DirectoryRecordBytes record{};
  EncodeName("NETA.LU1", std::span(record).subspan(2, 17));
  d.doc.NewNode("LU1", "NETA.LU1", LogicalUnit, nullptr, &record);
  CNode& lu = *d.doc.FindNode("LU1");
  lu.status = ResourceStatus::Inactive;
  d.doc.ApplyStatusImage(lu);
  d.doc.SetModified(false);

  DirectoryDetailTexts texts = DirectoryTextsFromRecord(*lu.directoryRecord);
  EXPECT_EQ(texts.name, "NETA.LU1");
  EXPECT_FALSE(ApplyDetailEdits(d.doc, lu, texts));
  EXPECT_EQ(lu.label, "LU1");
  EXPECT_FALSE(d.doc.IsModified());

  texts.name = "PRINTER";
  EXPECT_TRUE(ApplyDetailEdits(d.doc, lu, texts));
  EXPECT_EQ(d.doc.FindNode("LU1"), &lu);
  EXPECT_EQ(d.doc.FindNode("PRINTER"), nullptr);
  EXPECT_EQ(lu.status, ResourceStatus::Inactive);
  EXPECT_EQ(lu.imageIndex, LogicalUnit + kInactiveOffset);
  EXPECT_TRUE(d.doc.IsModified());
}

TEST(LinkDetailEdits, StatusWordSetsTheLinkOnly) {
  struct Case {
    const char* word;
    ResourceStatus status;
  };
  constexpr ResourceStatus kActive = ResourceStatus::Active;
  constexpr ResourceStatus kInactive = ResourceStatus::Inactive;
  for (const Case& c : {Case{"InActive", kInactive}, Case{"inactive", kInactive},
                        Case{"Active", kActive}, Case{"Operative", kActive}, Case{"", kActive}}) {
    SCOPED_TRACE(c.word);
    LinkedEndNode d;
    LinkDetailTexts texts = LinkTextsWithoutRecord(d.link());
    texts.status = c.word;
    texts.name = "RENAMED";  // names typed here are not used
    EXPECT_EQ(ApplyDetailEdits(d.doc, d.link(), texts), !IsActive(c.status));
    EXPECT_EQ(d.link().status, c.status);
    EXPECT_EQ(d.doc.IsModified(), !IsActive(c.status));
    EXPECT_EQ(d.endNode->status, ResourceStatus::Active);
    EXPECT_NE(d.endNode->label, "RENAMED");
  }
}

TEST(LinkDetailEdits, TgFormUsesItsStatusBox) {
  LinkedEndNode d;
  d.link().tgRecord = std::make_unique<TgRecordBytes>();
  TgDetailTexts texts = TgTextsFromRecord(*d.link().tgRecord, d.link());
  EXPECT_EQ(texts.status, "Unknown");
  EXPECT_FALSE(ApplyDetailEdits(d.doc, d.link(), texts));
  texts.status = "Inactive";
  EXPECT_TRUE(ApplyDetailEdits(d.doc, d.link(), texts));
  EXPECT_EQ(d.link().status, ResourceStatus::Inactive);
}

}  // namespace
}  // namespace mapvine
