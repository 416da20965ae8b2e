#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/QualifiedName.h"
#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;
using testing::ScriptedPrompts;
using testing::SmallPicture;
using testing::Stored;
using testing::TinyImage;

// Every stored document field, in an order of this test's own choosing.
std::vector<int> StoredFields(const CMapvineDoc& doc) {
  const auto& s = doc.settings;
  const auto& p = doc.placement;
  const auto& q = doc.picture;
  return {q.pictureHeight,   static_cast<int>(q.backgroundMode), q.pictureWidth,        s.autoGrow,
          s.autoTile,        p.resizeWindowOnGrow,  p.firstPlacement,
          s.activeQuery,     p.columnMode,          p.cursorX,             p.cursorY,
          p.savedCursorX,    p.savedCursorY,        s.showNnOnDiscovery,   s.showEnOnDiscovery,
          s.showLuOnDiscovery, s.showUnreachable,   s.showCnOnDiscovery,   s.autoRefresh,
          s.refreshSeconds,  p.gridSpacing,         doc.nodesAdded,        s.internalTest};
}

// Every setting moved away from its default.
void ChangeEverySetting(CMapvineDoc& doc) {
  doc.settings = {.autoGrow = 0,
                  .autoTile = 1,
                  .activeQuery = 1,
                  .internalTest = 1,
                  .showLuOnDiscovery = 0,
                  .showEnOnDiscovery = 0,
                  .showNnOnDiscovery = 0,
                  .showCnOnDiscovery = 0,
                  .autoRefresh = 1,
                  .refreshSeconds = 45,
                  .showUnreachable = 0};
  doc.placement = {.cursorX = 270,
                   .cursorY = 180,
                   .savedCursorX = 90,
                   .savedCursorY = 360,
                   .columnMode = 1,
                   .pictureGrown = 1,
                   .firstPlacement = 0,
                   .gridSpacing = 95,
                   .resizeWindowOnGrow = 1};
  doc.nodesAdded = 1;
}

// A picture that uses every stored field: details on nodes and links, a
// custom icon, hidden and inactive nodes, another depth, long names.
struct RichPicture : DocumentWithView {
  RichPicture() {
    testing::UseTinyImages(doc);
    NodeRecordBytes nodeRecord{};
    const ReportedNodeRecord reported{nodeRecord, true};
    DirectoryRecordBytes directoryRecord{};
    TgRecordBytes tgRecord{};
    doc.NewNode("NN1", "NETA.NN1", NetworkNode, &reported, nullptr);
    doc.NewNode("EN2", "NETA.EN2", EndNode, &reported, &directoryRecord);
    doc.NewNode("LU3", std::string(300, 'L'), LogicalUnit, nullptr, &directoryRecord);
    doc.NewNode("CN4", "NETA.CN4", ConnectionNetwork, nullptr, nullptr);
    doc.NewNode(std::string(70000, 'N'), "NETA.LONG", EndNode, nullptr, nullptr);
    doc.NewLink("NN1", "EN2", 1, 21, &tgRecord);
    doc.NewLink("NN1", "EN2", 0, 22, &tgRecord);
    doc.NewLink("CN4", "NN1", 1, 0, nullptr);
    doc.NewLink(*doc.Nodes().FindByLabel("LU3"), *doc.FindNode("EN2"));

    // A custom icon in slot 11 on the connection network.
    doc.images.push_back(TinyImage(6, 3, 11));
    doc.palettes.push_back(std::make_unique<CDIBPal>());
    doc.palettes.back()->CreateFromImage(*doc.images.back());
    doc.RebuildImages();
    CNode& cn = *doc.FindNode("CN4");
    cn.activeImage = 11;
    cn.imageIndex = 0;
    doc.ApplyStatusImage(cn);

    CNode& en = *doc.FindNode("EN2");
    en.status = ResourceStatus::Inactive;
    doc.ApplyStatusImage(en);
    doc.Nodes().FindByLabel("LU3")->hidden = 1;
    doc.FindNode("NN1")->SetDepth(60);
    doc.FindNode("NN1")->SetPosition(33, 44);
    (*doc.Links().begin())->hitTolerance = 4;

    ChangeEverySetting(doc);
    doc.RebuildImages();  // with the internal-test setting a load will use
    doc.ComposeBackground(nullptr, BackgroundArrangement::Stretch, 400, 300);
  }
};

void ExpectSameNode(const CNode& got, const CNode& want) {
  SCOPED_TRACE(want.label.substr(0, 20));
  EXPECT_EQ(got.label, want.label);
  EXPECT_EQ(got.fqName, want.fqName);
  EXPECT_EQ(got.GetX(), want.GetX());
  EXPECT_EQ(got.GetY(), want.GetY());
  EXPECT_EQ(got.GetDepth(), want.GetDepth());
  EXPECT_EQ(got.imageIndex, want.imageIndex);
  EXPECT_EQ(got.activeImage, want.activeImage);
  EXPECT_EQ(got.inactiveImage, want.inactiveImage);
  EXPECT_EQ(got.hidden, want.hidden);
  EXPECT_EQ(got.nodeType, want.nodeType);
  EXPECT_EQ(got.status, want.status);
  EXPECT_EQ(got.links.size(), want.links.size());
  EXPECT_EQ(got.nodeRecord, nullptr);
  EXPECT_EQ(got.directoryRecord, nullptr);
}

void ExpectSameLink(const CLink& got, const CLink& want) {
  SCOPED_TRACE(want.title);
  EXPECT_EQ(got.bounds, want.bounds);
  EXPECT_EQ((Rect{got.x1, got.y1, got.x2, got.y2}), (Rect{want.x1, want.y1, want.x2, want.y2}));
  EXPECT_EQ(got.ownerName, want.ownerName);
  EXPECT_EQ(got.destinationName, want.destinationName);
  EXPECT_EQ(got.title, want.title);
  EXPECT_EQ(got.hitTolerance, want.hitTolerance);
  EXPECT_EQ(got.tgNumber, want.tgNumber);
  EXPECT_EQ(got.status, want.status);
  ASSERT_NE(got.endA, nullptr);
  ASSERT_NE(got.endB, nullptr);
  EXPECT_EQ(got.endA->label, want.endA->label);
  EXPECT_EQ(got.endB->label, want.endB->label);
  EXPECT_EQ(got.tgRecord, nullptr);
  EXPECT_EQ(got.generation, 0);
  EXPECT_EQ(got.reportCount, 0);
  EXPECT_EQ(got.activeReportCount, 0);
}

TEST(SavedTopology, ReopensEveryStoredField) {
  RichPicture source;
  const auto bytes = Stored(source.doc);

  DocumentWithView target;
  target.doc.NewNode("OLD", "NETA.OLD", NetworkNode, nullptr, nullptr);  // replaced by the load
  ScriptedPrompts prompts;
  ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
  EXPECT_TRUE(prompts.messages.empty());
  const CMapvineDoc& got = target.doc;

  EXPECT_EQ(StoredFields(got), StoredFields(source.doc));
  EXPECT_EQ(got.picture.composedWidth, 400);
  EXPECT_EQ(got.picture.composedHeight, 300);
  EXPECT_FALSE(got.IsModified());
  EXPECT_EQ(target.view.picturesLoaded, 1);

  ASSERT_EQ(got.images.size(), source.doc.images.size());
  for (std::size_t i = 0; i < got.images.size(); ++i) {
    EXPECT_TRUE(got.images[i]->IsSameImage(*source.doc.images[i])) << "slot " << i;
  }
  EXPECT_EQ(got.palettes.size(), got.images.size());
  EXPECT_EQ(got.workingImages.size(), got.images.size());
  EXPECT_EQ(got.backgroundSource->GetWidth(), 8);

  ASSERT_EQ(got.Nodes().size(), source.doc.Nodes().size());
  auto want = source.doc.Nodes().begin();
  for (const auto& node : got.Nodes()) {
    ExpectSameNode(*node, **want++);
    // Each node shows the working image of its slot, not a stored copy.
    EXPECT_TRUE(node->SharesStorageWith(*got.workingImages[node->imageIndex]));
  }
  ASSERT_EQ(got.Links().size(), source.doc.Links().size());
  auto wantLink = source.doc.Links().begin();
  for (const auto& link : got.Links()) ExpectSameLink(*link, **wantLink++);

  // The name indexes know the loaded nodes and links.
  EXPECT_EQ(target.doc.FindNode("OLD"), nullptr);
  ASSERT_NE(target.doc.FindNode("LONG"), nullptr);
  EXPECT_EQ(target.doc.NewLink("NN1", "EN2", 1, 22, nullptr), kLinkUpdated);
}

TEST(SavedTopology, StoresWhatItLoadedByteForByte) {
  RichPicture source;
  const auto bytes = Stored(source.doc);
  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
  EXPECT_EQ(Stored(target.doc).size(), bytes.size());
  // Loading drops the detail records, so compare with a source without them.
  for (const auto& node : source.doc.Nodes()) {
    node->nodeRecord.reset();
    node->directoryRecord.reset();
  }
  for (const auto& link : source.doc.Links()) link->tgRecord.reset();
  EXPECT_EQ(Stored(target.doc), Stored(source.doc));
}

TEST(SavedTopology, AnEmptyPictureIsAValidFile) {
  DocumentWithView source;
  testing::UseTinyImages(source.doc);
  const auto bytes = Stored(source.doc);
  // Both counts are zero and both markers are present.
  const std::size_t check1 = testing::Find(bytes, "\x06" "Check1");
  EXPECT_EQ(testing::GetI32(bytes, check1 + 7), 0);
  const std::size_t check2 = check1 + 11;
  EXPECT_EQ(std::string(bytes.begin() + check2 + 1, bytes.begin() + check2 + 7), "Check2");
  EXPECT_EQ(testing::GetI32(bytes, check2 + 7), 0);
  EXPECT_EQ(bytes.size(), check2 + 11);

  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
  EXPECT_TRUE(target.doc.Nodes().empty());
  EXPECT_TRUE(target.doc.Links().empty());
  EXPECT_EQ(target.doc.picture.composedWidth, 200);
}

// The sixth settings word once said whether images were being rebuilt as
// the file was saved: it is written as 0 and ignored on reading, so a file
// that says otherwise opens and its window paints.
TEST(SavedTopology, TheOldRebuildingWordIsWrittenAsZeroAndIgnored) {
  DocumentWithView source;
  testing::UseTinyImages(source.doc);
  source.doc.settings.autoTile = 1;
  source.doc.placement.resizeWindowOnGrow = 1;
  auto bytes = Stored(source.doc);
  const std::size_t word = testing::Find(bytes, "Kelvra") + std::string_view(kTopologySignature).size() + 5 * 4;
  EXPECT_EQ(testing::GetI32(bytes, word - 4), 1);  // autoTile
  EXPECT_EQ(testing::GetI32(bytes, word), 0);
  EXPECT_EQ(testing::GetI32(bytes, word + 4), 1);  // resizeWindowOnGrow
  for (const std::uint8_t said : {1, 7}) {
    bytes[word] = said;
    DocumentWithView target;
    ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded) << int{said};
    EXPECT_FALSE(target.view.InBatch());
  }
}

TEST(SavedTopology, AStoredSizeOfZeroTakesTheBackgroundsSize) {
  SmallPicture source;
  source.doc.picture.pictureWidth = 0;
  source.doc.picture.pictureHeight = 0;
  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, Stored(source.doc)), LoadOutcome::Loaded);
  EXPECT_EQ(target.doc.picture.pictureWidth, 8);
  EXPECT_EQ(target.doc.picture.pictureHeight, 8);
  EXPECT_EQ(target.doc.composedBackground->GetWidth(), 8);
  EXPECT_EQ(target.view.BufferRect().Height(), 8);
}

TEST(SavedTopology, EqualDepthsKeepTheirOrder) {
  SmallPicture source;
  std::vector<std::string> order;
  for (const auto& node : source.doc.Nodes()) order.push_back(node->label);
  auto bytes = Stored(source.doc);
  for (int round = 0; round < 2; ++round) {
    DocumentWithView target;
    ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
    std::vector<std::string> got;
    for (const auto& node : target.doc.Nodes()) got.push_back(node->label);
    EXPECT_EQ(got, order) << "round " << round;
    bytes = Stored(target.doc);
  }
}

TEST(SavedTopology, ALinkFromANodeToItselfIsListedOnce) {
  SmallPicture source;
  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, Stored(source.doc)), LoadOutcome::Loaded);
  CNode* nn1 = target.doc.FindNode("NN1");
  ASSERT_NE(nn1, nullptr);
  const CLink& self = **std::prev(target.doc.Links().end());
  EXPECT_EQ(self.endA, nn1);
  EXPECT_EQ(self.endB, nn1);
  EXPECT_EQ(std::count(nn1->links.begin(), nn1->links.end(), &self), 1);
  // Moving the node moves both ends of the line once.
  const int x1 = self.x1;
  nn1->SetPosition(nn1->GetX() + 7, nn1->GetY());
  EXPECT_EQ(self.x1, x1 + 7);
  EXPECT_EQ(self.x2, x1 + 7);
}

TEST(SavedTopology, LinksWhoseNamesMatchNoNodeStayWithoutEnds) {
  // A link whose first end is a node the picture does not hold.
  CNode gone;
  gone.fqName = "NETA.GONE";
  SmallPicture source;
  std::next(source.doc.Links().begin())->get()->endA = &gone;
  const auto bytes = Stored(source.doc);

  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
  const CLink& dangling = **std::next(target.doc.Links().begin());
  EXPECT_EQ(dangling.endAName, "NETA.GONE");
  EXPECT_EQ(dangling.endA, nullptr);
  EXPECT_EQ(dangling.endB, target.doc.FindNode("EN2"));
  EXPECT_EQ(target.doc.Links().size(), 3u);
}

TEST(SavedTopology, ALinkMatchingTwoNodesEndsOnTheLaterAndIsListedByBoth) {
  SmallPicture source;
  // A second node carries EN2's name in other letter case.
  source.doc.NewNode("EN2B", "neta.en2", EndNode, nullptr, nullptr);
  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, Stored(source.doc)), LoadOutcome::Loaded);
  CNode* first = nullptr;
  CNode* later = nullptr;
  for (const auto& node : target.doc.Nodes()) {
    if (node->label == "EN2" || node->label == "EN2B") (first ? later : first) = node.get();
  }
  ASSERT_NE(later, nullptr);
  const CLink& reported = **target.doc.Links().begin();  // NN1 - EN2
  EXPECT_EQ(reported.endB, later);
  for (CNode* node : {first, later}) {
    EXPECT_EQ(std::count(node->links.begin(), node->links.end(), &reported), 1) << node->label;
  }
}

// Every carrier of a link's end name lists the link; deleting the link, or
// either carrier with its links, must take it out of all of them.
TEST(SavedTopology, RemovalReachesEveryNodeThatListsALink) {
  SmallPicture source;
  source.doc.NewNode("EN2B", "neta.en2", EndNode, nullptr, nullptr);
  const auto bytes = Stored(source.doc);
  for (const char* removed : {"link", "EN2", "EN2B"}) {
    DocumentWithView target;
    ASSERT_EQ(LoadTopology(target.doc, bytes), LoadOutcome::Loaded);
    CLink& reported = **target.doc.Links().begin();  // NN1 - EN2
    std::unique_ptr<CNode> gone;
    if (std::string_view(removed) == "link") {
      target.doc.DeleteLink(reported);
    } else {
      gone = target.doc.RemoveNode(*target.doc.Nodes().FindByLabel(removed));
    }
    std::set<const CLink*> held;
    for (const auto& link : target.doc.Links()) held.insert(link.get());
    for (const auto& node : target.doc.Nodes()) {
      for (const CLink* link : node->links) {
        EXPECT_TRUE(held.contains(link)) << removed << " left " << node->label << " listing a link";
      }
    }
  }
}

// Names are folded eight bytes at a time: letters fold at every position of
// a word and of a shorter tail, and the characters beside the letters
// ('@' and '[' next to 'A' and 'Z', bytes above 0x7F) never do.
TEST(SavedTopology, LinkEndsMatchNamesIgnoringLetterCaseOnly) {
  const struct {
    const char* nodeName;
    const char* otherName;
    bool same;
  } cases[] = {
      {"NETA.N7", "neta.n7", true},
      {"NETA.NN8", "neta.nn8", true},
      {"NETA.NODE17CHARSZ", "neta.node17charsz", true},
      {"NETA.AZ@[", "neta.az`{", false},
      {"NETA.\xC1" "BC", "neta.\xE1" "bc", false},
      {"NETA.ABC", "NETA.ABD", false},
  };
  for (const auto& c : cases) {
    DocumentWithView source;
    testing::UseTinyImages(source.doc);
    source.doc.NewNode("OWNER", "NETA.OWNER", NetworkNode, nullptr, nullptr);
    source.doc.NewNode("NODE", c.nodeName, NetworkNode, nullptr, nullptr);
    source.doc.NewNode("OTHER", c.otherName, NetworkNode, nullptr, nullptr);
    source.doc.NewLink("OWNER", ShortName(c.nodeName), 1, 21, nullptr);
    DocumentWithView target;
    ASSERT_EQ(LoadTopology(target.doc, Stored(source.doc)), LoadOutcome::Loaded);
    const CNode& other = *target.doc.Nodes().FindByLabel("OTHER");
    EXPECT_EQ(other.links.size(), c.same ? 1u : 0u) << c.nodeName << " / " << c.otherName;
  }
}

TEST(SavedTopology, AnEndThatIsNoneIsStoredEmptyAndStaysNone) {
  SmallPicture source;
  CLink& link = **source.doc.Links().begin();
  link.endB = nullptr;
  DocumentWithView target;
  ASSERT_EQ(LoadTopology(target.doc, Stored(source.doc)), LoadOutcome::Loaded);
  const CLink& loaded = **target.doc.Links().begin();
  EXPECT_EQ(loaded.endBName, "");
  EXPECT_EQ(loaded.endB, nullptr);
  EXPECT_NE(loaded.endA, nullptr);
}

// Pictures saved from the sample network by an earlier build (the fuzz
// seeds) still open, with every node and a link for every TG and LU.
TEST(SavedTopology, OpensThePicturesSavedBefore) {
  const std::string folder = std::string(MAPVINE_SOURCE_DIR) + "/fuzz/corpus/topology_load/";
  for (const char* name : {"sample.top", "sample_tiny.top"}) {
    DocumentWithView d;
    ScriptedPrompts prompts;
    ASSERT_EQ(OpenTopologyFile(d.doc, folder + name), LoadOutcome::Loaded) << name;
    EXPECT_TRUE(prompts.messages.empty()) << name;
    EXPECT_EQ(d.doc.Nodes().size(), 36u) << name;
    EXPECT_GE(d.doc.Links().size(), 24u) << name;
    for (const auto& link : d.doc.Links()) {
      EXPECT_NE(link->endA, nullptr) << link->title;
      EXPECT_NE(link->endB, nullptr) << link->title;
    }
  }
}

}  // namespace
}  // namespace mapvine
