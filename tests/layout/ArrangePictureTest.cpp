#include <gtest/gtest.h>

#include "layout/ArrangePicture.h"
#include "model/EditRecording.h"
#include "model/TopologySections.h"
#include "model/TopologyStrings.h"
#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

using testing::SmallPicture;
using testing::Stored;

TEST(ArrangePicture, OneUndoPutsBackEveryByteTheSavedPictureHadBefore) {
  SmallPicture p;
  p.doc.NewNode("NN4", "NETA.NN4", NetworkNode, nullptr, nullptr);
  p.doc.NewLink("NN4", "NN1", 1, 21, nullptr);
  const std::vector<std::uint8_t> before = Stored(p.doc);
  EditRecording recording(p.doc, true);
  ASSERT_TRUE(ArrangeNow(p.doc));
  EXPECT_TRUE(p.doc.arranged);
  const std::optional<DocumentEdit> edit = recording.Finish();
  ASSERT_TRUE(edit.has_value());
  edit->Undo(p.doc);
  // The arranged mark goes too: nothing follows the records again.
  EXPECT_FALSE(p.doc.arranged);
  EXPECT_EQ(Stored(p.doc), before);
}

TEST(ArrangePicture, NodesThatLeftWhileTheWorkerRanArePassedOver) {
  SmallPicture p;
  const CapturedPicture captured = CapturePicture(p.doc);
  ArrangeProgress progress;
  const std::optional<Arrangement> arrangement = ComputeArrangement(captured.graph, progress);
  ASSERT_TRUE(arrangement);
  p.doc.RemoveNode(*p.doc.FindNode("LU3"));
  p.doc.FindNode("EN2")->fqName = "NETB.EN2";  // another resource by now
  const Point en{p.doc.FindNode("EN2")->GetX(), p.doc.FindNode("EN2")->GetY()};
  EXPECT_TRUE(ApplyArrangement(p.doc, captured, *arrangement));
  EXPECT_EQ((Point{p.doc.FindNode("EN2")->GetX(), p.doc.FindNode("EN2")->GetY()}), en);
  const CNode& nn = *p.doc.FindNode("NN1");
  EXPECT_EQ((Point{nn.GetX(), nn.GetY()}), arrangement->positions[0]);
}

// Pins, folds and the arranged mark travel after the links, where a reader
// that stops at the links never looks.
TEST(TopologySections, CarryPinsAndTheArrangedMarkPastOlderReaders) {
  SmallPicture p;
  const std::vector<std::uint8_t> plain = Stored(p.doc);
  p.doc.FindNode("EN2")->pinned = true;
  p.doc.FindNode("LU3")->pinned = true;
  p.doc.FindNode("EN2")->lusFolded = true;
  p.doc.arranged = true;
  const std::vector<std::uint8_t> full = Stored(p.doc);
  ASSERT_TRUE(std::equal(plain.begin(), plain.end(), full.begin())) << "the records are as before";

  VectorSink unknown;
  topology::WriteCountedString(unknown, "Later");
  unknown.WriteI32(3);
  for (int i = 0; i < 3; ++i) unknown.WriteU8(7);
  std::vector<std::uint8_t> withUnknown = plain;
  withUnknown.insert(withUnknown.end(), unknown.Bytes().begin(), unknown.Bytes().end());
  withUnknown.insert(withUnknown.end(), full.begin() + static_cast<std::ptrdiff_t>(plain.size()), full.end());
  std::vector<std::uint8_t> damaged = full;
  damaged.resize(damaged.size() - 1);
  std::vector<std::uint8_t> wrongCount = full;
  testing::PutI32(wrongCount, plain.size() + 1 + topology::kLayoutSection.size() + 8, 99);

  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool carried;
  } files[] = {
      {"all of it", full, true},
      {"after a section this reader does not know", withUnknown, true},
      {"without the section, as older writers wrote", plain, false},
      {"a section cut short", damaged, false},
      {"a section for another number of nodes", wrongCount, false},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    testing::DocumentWithView d;
    ASSERT_EQ(LoadTopology(d.doc, f.bytes), LoadOutcome::Loaded);
    ASSERT_EQ(d.doc.Nodes().size(), 3u);
    EXPECT_EQ(d.doc.FindNode("EN2")->pinned, f.carried);
    EXPECT_EQ(d.doc.FindNode("LU3")->pinned, f.carried);
    EXPECT_EQ(d.doc.FindNode("EN2")->lusFolded, f.carried);
    EXPECT_FALSE(d.doc.FindNode("LU3")->lusFolded);
    EXPECT_FALSE(d.doc.FindNode("NN1")->pinned);
    EXPECT_EQ(d.doc.arranged, f.carried);
    if (f.carried) {
      EXPECT_EQ(Stored(d.doc), full);
    }
  }
}

}  // namespace
}  // namespace mapvine
