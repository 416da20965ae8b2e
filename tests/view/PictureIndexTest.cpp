// The picture index is told only where the picture changed, or which nodes
// did, and reads again just what lies there or those nodes with their
// lines: after any run of changes it must answer exactly as an index built
// afresh from the document does.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "graphics/COSBView.h"
#include "graphics/ComposedBackground.h"
#include "model/DocumentEdit.h"
#include "model/DocumentView.h"
#include "model/EditRecording.h"
#include "model/LuFold.h"
#include "model/MapvineDoc.h"
#include "model/NodeRecords.h"
#include "model/NodeVisibility.h"
#include "render/PictureIndex.h"

namespace mapvine {
namespace {

// A window-less view that tells its index what the document says changed,
// as the real window does.
class IndexedPicture final : public COSBView, public DocumentView {
 public:
  IndexedPicture(CMapvineDoc& doc, std::size_t itemsReadAtOnce) : doc_(doc), index_(doc, itemsReadAtOnce) {
    doc_.AttachView(this);
  }
  ~IndexedPicture() override { doc_.AttachView(nullptr); }
  PictureIndex& Index() { return index_; }

  COSBView& OffscreenView() override { return *this; }
  void NodeChanged(CNode& node) override {
    const CNode* const changed[] = {&node};
    index_.NodesChanged(changed);
  }
  void NodesShownChanged(std::span<const CNode* const> nodes) override { index_.NodesShownChanged(nodes); }
  bool SetBackground(ComposedBackground& background) override {
    index_.MarkStale();
    return CreateBuffer(background.Source(), background.GetWidth(), background.GetHeight(),
                        doc_.mergedPalette.get());
  }
  void RequestPictureResize(int width, int height) override {
    doc_.ComposeBackground(nullptr, kArrangementChosenInView, width, height);
  }
  BackgroundArrangement ChosenArrangement() const override { return kArrangementChosenInView; }
  void BatchStarted() override {}
  void BatchEnded() override {}

 protected:
  void ExposeArea(const Rect&) override {}
  Rect VisibleArea() const override { return {}; }
  void SetScrollSizes(int, int) override {}
  void PictureAreaChanged(const Rect& area) override { index_.AreaChanged(area); }
  void WholePictureChanged() override { index_.MarkStale(); }

 private:
  CMapvineDoc& doc_;
  PictureIndex index_;
};

void ExpectSameLooks(PictureIndex& kept, PictureIndex& fresh) {
  ItemLooks& a = kept.Looks();
  ItemLooks& b = fresh.Looks();
  ASSERT_EQ(a.NodeCount(), b.NodeCount());
  ASSERT_EQ(a.LinkCount(), b.LinkCount());
  EXPECT_EQ(a.ShownNodes(), b.ShownNodes());
  for (int id = 0; id < static_cast<int>(a.NodeCount()); ++id) {
    const ItemLooks::NodeLook& x = a.Node(id);
    const ItemLooks::NodeLook& y = b.Node(id);
    EXPECT_EQ(x.node, y.node) << id;
    EXPECT_TRUE(x.centre == y.centre && x.foldOwner == y.foldOwner && x.changeMark == y.changeMark &&
                x.hidden == y.hidden && x.lusFolded == y.lusFolded && x.inactiveImage == y.inactiveImage &&
                x.stale == y.stale)
        << "node " << id;
    EXPECT_EQ(std::vector(a.LinksAt(id).begin(), a.LinksAt(id).end()),
              std::vector(b.LinksAt(id).begin(), b.LinksAt(id).end()))
        << id;
    EXPECT_EQ(a.FoldedInto(id).count, b.FoldedInto(id).count) << id;
    EXPECT_EQ(a.FoldedInto(id).change, b.FoldedInto(id).change) << id;
  }
  for (int id = 0; id < static_cast<int>(a.LinkCount()); ++id) {
    const ItemLooks::LinkLook& x = a.Link(id);
    const ItemLooks::LinkLook& y = b.Link(id);
    EXPECT_TRUE(x.link == y.link && x.from == y.from && x.to == y.to && x.endA == y.endA && x.endB == y.endB &&
                x.foldA == y.foldA && x.foldB == y.foldB && x.changeMark == y.changeMark &&
                x.active == y.active && x.stale == y.stale && x.shown == y.shown && x.foldedAway == y.foldedAway)
        << "link " << id;
  }
}

// Random networks of network nodes with LUs, changed as people and
// refreshes change them: each change reported as the document and the
// window report it. Built whole over several turns, as a large picture is,
// the changes come between its steps.
TEST(PictureIndex, AfterRandomChangesAnswersAsOneBuiltAfresh) {
  for (unsigned run = 0; run < 16; ++run) {
    const unsigned seed = run / 2 + 1;
    const bool spread = run % 2 == 1;
    SCOPED_TRACE("seed " + std::to_string(seed) + (spread ? ", built over several turns" : ""));
    std::mt19937 random(seed);
    auto upTo = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    CMapvineDoc doc;
    IndexedPicture picture(doc, spread ? 0 : PictureIndex::kItemsReadAtOnce);
    doc.NewDocument();
    picture.RequestPictureResize(8000, 5000);
    // Nodes near their neighbours in the list, so that most changes reach
    // a few of them and only some reach far.
    std::vector<CNode*> nodes;
    int named = 0;
    const auto addNode = [&](int kind, Point near) {
      const std::string name = "N" + std::to_string(named++);
      doc.NewNode(name, "NETA." + name, kind, nullptr, nullptr);
      CNode* node = doc.FindNode(name);
      node->SetPosition(std::clamp(near.x + upTo(400) - 200, 0, 7900),
                        std::clamp(near.y + upTo(400) - 200, 0, 4900));
      nodes.push_back(node);
      return node;
    };
    const auto nodeAt = [&](int i) { return nodes[static_cast<std::size_t>(i)]; };
    for (int i = 0; i < 150; ++i) addNode(NetworkNode, {i % 15 * 520 + 200, i / 15 * 480 + 200});
    for (int i = 0; i < 150; ++i) doc.NewLink(*nodeAt(i), *nodeAt((i + 1 + upTo(3)) % 150));
    for (int i = 0; i < 250; ++i) {
      CNode* owner = nodeAt(upTo(150));
      doc.NewLink(*addNode(LogicalUnit, {owner->GetX(), owner->GetY()}), *owner);
    }
    picture.Index().Looks();

    // Moves, folds and visibility changes are recorded as a person's edits
    // are; the last one is undone and redone now and then.
    std::optional<DocumentEdit> lastEdit;
    bool lastUndone = false;
    for (int step = 0; step < 40; ++step) {
      CNode& node = *nodes[static_cast<std::size_t>(upTo(static_cast<int>(nodes.size())))];
      const int kind = upTo(10);
      std::optional<EditRecording> recording;
      if (kind == 0 || kind == 4 || kind == 5) recording.emplace(doc, false);
      switch (kind) {
        case 0:  // a drag step, now and then a long one
          doc.NodeChanging(node);
          if (upTo(4) == 0) {
            node.SetPosition(upTo(7900), upTo(4900));
          } else {
            node.SetPosition(std::clamp(node.GetX() + upTo(300) - 150, 0, 7900),
                             std::clamp(node.GetY() + upTo(300) - 150, 0, 4900));
          }
          break;
        case 1:  // lifted over its equals, or put under them
          node.SetDepth(node.GetDepth() + upTo(3) - 1);
          break;
        case 2:  // a status check finds it changed
          node.status = StatusFor(!IsActive(node.status));
          doc.ApplyStatusImage(node);
          node.changeMark = static_cast<ChangeMark>(upTo(5));
          picture.NodeChanged(node);
          break;
        case 3:  // hidden or shown on its own
          node.hidden = node.hidden ? 0 : 1;
          picture.NodeChanged(node);
          break;
        case 4:  // its LUs folded or unfolded
          SetLusFolded(doc, node, !node.lusFolded);
          break;
        case 5: {  // a neighbourhood, everything shown again, or a few hidden or shown
          VisibilityChange change(doc);
          const bool few = upTo(2) == 0;
          for (CNode* each : nodes) {
            if (!few || upTo(40) == 0) change.Set(*each, upTo(2) == 0 && each != &node);
          }
          change.Finish();
          break;
        }
        case 6:  // a new link
          doc.NewLink(node, *nodeAt(upTo(static_cast<int>(nodes.size()))));
          break;
        case 7:  // a link marked changed by a refresh
          if (!node.links.empty()) {
            CLink& link = **node.links.begin();
            link.changeMark = static_cast<ChangeMark>(upTo(5));
            picture.PictureChanged(link.bounds);
          }
          break;
        case 8:  // the last edit undone or redone
          if (lastEdit) {
            lastUndone ? lastEdit->Redo(doc) : lastEdit->Undo(doc);
            lastUndone = !lastUndone;
          }
          break;
        default:  // a new node
          addNode(upTo(2) == 0 ? LogicalUnit : NetworkNode, {node.GetX(), node.GetY()});
          break;
      }
      if (recording) {
        lastEdit = recording->Finish();
        lastUndone = false;
      }
      // A deadline already past: one step of a build at a time.
      for (int turn = spread ? upTo(4) : 0; turn > 0; --turn) {
        picture.Index().Prepare(PictureIndex::Clock::time_point::min());
      }
      // Asked now and then, as paints come between changes.
      if (upTo(3) != 0) continue;
      PictureIndex fresh(doc);
      SCOPED_TRACE("step " + std::to_string(step));
      ExpectSameLooks(picture.Index(), fresh);
      for (int probe = 0; probe < 20; ++probe) {
        const int x = upTo(8000), y = upTo(5000);
        const Rect area{x, y, x + upTo(1500), y + upTo(1000)};
        EXPECT_EQ(picture.Index().NodesNear(area), fresh.NodesNear(area));
        EXPECT_EQ(picture.Index().ShownNodesNear(area), fresh.ShownNodesNear(area));
        EXPECT_EQ(picture.Index().ShownLinksNear(area), fresh.ShownLinksNear(area));
        EXPECT_EQ(picture.Index().NodeAt({x, y}), fresh.NodeAt({x, y}));
        EXPECT_EQ(picture.Index().LinkAt({x, y}), fresh.LinkAt({x, y}));
      }
    }
  }
}

}  // namespace
}  // namespace mapvine
