#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

// A document whose picture is a blank 520 x 320 canvas, whatever the
// background bitmap on this machine.
struct Canvas520x320 : DocumentWithView {
  Canvas520x320() {
    auto blank = std::make_unique<CDIB>();
    blank->Create(520, 320);
    doc.ComposeBackground(std::move(blank), kArrangementChosenInView, 0, 0);
  }
  std::vector<Point> Walk(int count) {
    std::vector<Point> places;
    for (int i = 0; i < count; ++i) places.push_back(doc.AdvancePlacement());
    return places;
  }
};

TEST(AdvancePlacement, FillsRowsOfFiveOnA520By320Picture) {
  Canvas520x320 d;
  const std::vector<Point> places = d.Walk(11);
  const std::vector<Point> expected = {{0, 0},   {90, 0},   {180, 0},  {270, 0},
                                       {360, 0}, {0, 90},   {90, 90},  {180, 90},
                                       {270, 90}, {360, 90}, {0, 180}};
  EXPECT_EQ(places, expected);
  EXPECT_EQ(d.doc.picture.composedWidth, 520);
}

TEST(AdvancePlacement, GrowsOneStepWhenTheFourthRowStarts) {
  Canvas520x320 d;
  const std::vector<Point> places = d.Walk(16);
  EXPECT_EQ(places[15], (Point{0, 270}));
  EXPECT_EQ(d.doc.picture.composedWidth, 610);
  EXPECT_EQ(d.doc.picture.composedHeight, 410);
  EXPECT_TRUE(d.doc.placement.pictureGrown);
  EXPECT_EQ(d.view.BufferRect().Width(), 610);
}

TEST(AdvancePlacement, WrapsToTheTopRowWithoutAutoGrow) {
  Canvas520x320 d;
  d.doc.settings.autoGrow = 0;
  const std::vector<Point> places = d.Walk(17);
  EXPECT_EQ(places[15], (Point{0, 0}));
  EXPECT_EQ(places[16], (Point{90, 0}));
  EXPECT_EQ(d.doc.picture.composedWidth, 520);
}

TEST(AdvancePlacement, WalksUpTheNewColumnAfterGrowing) {
  Canvas520x320 d;
  const std::vector<Point> places = d.Walk(22);
  // Row 270 on the 610-wide picture: 0, 90, ... 450, then 540 is too wide,
  // so the walk climbs the right-hand column from 180 upwards.
  EXPECT_EQ(places[20], (Point{450, 270}));
  EXPECT_EQ(places[21], (Point{450, 180}));
  EXPECT_TRUE(d.doc.placement.columnMode);
  const std::vector<Point> column = d.Walk(3);
  EXPECT_EQ(column[0], (Point{450, 90}));
  EXPECT_EQ(column[1], (Point{450, 0}));
  // Past the top: the picture grows again and the next row begins.
  EXPECT_EQ(column[2], (Point{0, 360}));
  EXPECT_EQ(d.doc.picture.composedWidth, 700);
  EXPECT_FALSE(d.doc.placement.columnMode);
}

TEST(AdvancePlacement, AsksTheWindowToGrowWhenALoadedPictureSaysSo) {
  Canvas520x320 d;
  d.doc.placement.resizeWindowOnGrow = true;
  d.Walk(16);
  EXPECT_EQ(d.view.resizeRequests, (std::vector<Point>{{610, 410}}));
  EXPECT_EQ(d.doc.picture.composedWidth, 610);
}

// The largest picture that can still be saved: growth stops at its side,
// and a full one wraps to the top row as if it could not grow at all.
TEST(AdvancePlacement, GrowthStopsAtTheLargestSavableSide) {
  constexpr int kSide = 32768, kPerSide = kSide / 90;
  Canvas520x320 d;
  d.doc.ComposeBackground(nullptr, kArrangementChosenInView, kSide - 28, 320);
  d.Walk(3 * kPerSide + 1);
  EXPECT_EQ(d.doc.picture.composedWidth, kSide);
  EXPECT_EQ(d.doc.picture.composedHeight, 410);

  d.doc.ComposeBackground(nullptr, kArrangementChosenInView, kSide, kSide);
  d.doc.placement = PlacementState{};
  const std::vector<Point> places = d.Walk(kPerSide * kPerSide + 1);
  std::set<std::pair<int, int>> seen;
  for (const Point place : places) seen.emplace(place.x, place.y);
  EXPECT_EQ(seen.size(), places.size() - 1);  // all but the last, back at the top
  EXPECT_EQ(places.back().y, 0);
  EXPECT_EQ(d.doc.picture.composedHeight, kSide);
}

TEST(TileNodes, PlacesVisibleNodesFirstThenHiddenOnes) {
  Canvas520x320 d;
  d.doc.NewNode("A", "NETA.A", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("B", "NETA.B", NetworkNode, nullptr, nullptr);
  d.doc.NewNode("C", "NETA.C", NetworkNode, nullptr, nullptr);
  d.doc.FindNode("B")->hidden = 1;
  for (const auto& node : d.doc.Nodes()) node->SetPosition(300, 200);
  const int redrawsBefore = d.view.fullRedraws;
  d.view.redrawnAreas.clear();
  d.doc.SetModified(false);

  d.doc.TileNodes();
  EXPECT_TRUE(d.doc.IsModified());  // positions and the cursor are saved
  // List order is newest first: C, B, A.
  EXPECT_EQ(d.doc.FindNode("C")->GetX(), 0);
  EXPECT_EQ(d.doc.FindNode("A")->GetX(), 90);
  EXPECT_EQ(d.doc.FindNode("B")->GetX(), 180);
  for (const char* name : {"A", "B", "C"}) EXPECT_EQ(d.doc.FindNode(name)->GetY(), 0);
  // The moves are one batch, shown once they are all done.
  EXPECT_EQ(d.view.nodesAtBatchAnnouncements, (std::vector<std::size_t>{3, 3}));
  EXPECT_TRUE(d.view.Dirty().empty());
  EXPECT_FALSE(d.view.InBatch());
  // Moving nodes changes only where they were and are: nothing is counted
  // or searched again.
  EXPECT_FALSE(d.view.redrawnAreas.empty());
  EXPECT_EQ(d.view.fullRedraws, redrawsBefore);
  d.doc.SetModified(false);
  d.doc.TileNodes();  // nothing moves
  EXPECT_FALSE(d.doc.IsModified());
}

}  // namespace
}  // namespace mapvine
