#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "model/LinkIndex.h"
#include "tests/model/FakeDocumentView.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;

struct TwoNodes : DocumentWithView {
  CNode* a;
  CNode* b;
  TwoNodes() {
    doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
    doc.NewNode("NN2", "NETA.NN2", NetworkNode, nullptr, nullptr);
    a = doc.FindNode("NN1");
    b = doc.FindNode("NN2");
  }
};

TEST(NewLink, ReportedLinkJoinsTheCentresAndIsListedEverywhere) {
  TwoNodes d;
  TgRecordBytes record{};
  record[38] = 21;
  d.view.redrawnAreas.clear();
  EXPECT_EQ(d.doc.NewLink("NN1", "NN2", 1, 21, &record), kLinkAdded);
  ASSERT_EQ(d.doc.Links().size(), 1u);
  const CLink& link = **d.doc.Links().begin();
  EXPECT_EQ((Point{link.x1, link.y1}), d.a->GetCenter());
  EXPECT_EQ((Point{link.x2, link.y2}), d.b->GetCenter());
  EXPECT_EQ(link.bounds, (Rect{link.x1, link.y1, link.x2, link.y2}.Normalized().Inflated(1, 1)));
  EXPECT_EQ(link.title, "NN1 - NN2");
  EXPECT_EQ(link.status, ResourceStatus::Active);
  EXPECT_EQ(link.tgNumber, 21);
  ASSERT_NE(link.tgRecord, nullptr);
  EXPECT_EQ((*link.tgRecord)[38], 21);
  EXPECT_EQ(link.endA, d.a);
  EXPECT_EQ(link.endB, d.b);
  EXPECT_EQ(d.a->links.size(), 1u);
  EXPECT_EQ(d.b->links.size(), 1u);
  ASSERT_EQ(d.view.redrawnAreas.size(), 1u);
  EXPECT_EQ(d.view.redrawnAreas[0], link.bounds);
}

TEST(NewLink, MissingEndsAddNothing) {
  TwoNodes d;
  EXPECT_EQ(d.doc.NewLink("XX", "NN2", 1, 1, nullptr), kLinkOwnerMissing);
  EXPECT_EQ(d.doc.NewLink("NN1", "XX", 1, 1, nullptr), kLinkDestinationMissing);
  EXPECT_TRUE(d.doc.Links().empty());
  EXPECT_TRUE(d.a->links.empty());
}

TEST(NewLink, ParallelLinksShiftDiagonally) {
  TwoNodes d;
  const Point centre = d.a->GetCenter();
  // Mixed directions count towards the same pair.
  d.doc.NewLink("NN1", "NN2", 1, 21, nullptr);
  d.doc.NewLink("NN2", "NN1", 1, 22, nullptr);
  d.doc.NewLink("NN1", "NN2", 1, 23, nullptr);
  d.doc.NewLink("NN1", "NN2", 1, 24, nullptr);
  const int expectedShift[] = {0, -5, 5, -10};
  int i = 0;
  for (const auto& link : d.doc.Links()) {
    const Point start = link->endA == d.a ? Point{link->x1, link->y1} : Point{link->x2, link->y2};
    EXPECT_EQ(start.x - centre.x, expectedShift[i]) << "link " << i;
    EXPECT_EQ(start.y - centre.y, expectedShift[i]) << "link " << i;
    ++i;
  }
}

TEST(NewLink, ActiveOnlyWhileEveryReportOfTheGenerationSaysSo) {
  TwoNodes d;
  d.doc.NewLink("NN1", "NN2", 1, 21, nullptr);
  EXPECT_EQ(d.doc.NewLink("NN2", "NN1", 0, 21, nullptr), kLinkUpdated);
  const CLink& link = **d.doc.Links().begin();
  EXPECT_EQ(link.reportCount, 2);
  EXPECT_EQ(link.activeReportCount, 1);
  EXPECT_EQ(link.status, ResourceStatus::Inactive);

  d.doc.StartReportRound();
  d.doc.NewLink("NN1", "NN2", 1, 21, nullptr);
  EXPECT_EQ(link.reportCount, 1);
  EXPECT_EQ(link.status, ResourceStatus::Active);
  // An update without a record drops the old one.
  EXPECT_EQ(link.tgRecord, nullptr);
}

TEST(NewLink, ManualLinkIsRedUntilReportedAndMayJoinANodeToItself) {
  TwoNodes d;
  EXPECT_EQ(d.doc.NewLink(*d.a, *d.b), kLinkAdded);
  const CLink& manual = **d.doc.Links().begin();
  EXPECT_EQ(manual.status, ResourceStatus::Inactive);
  EXPECT_EQ(manual.tgNumber, 0);
  EXPECT_EQ(manual.title, "NN1 - NN2");

  d.doc.NewLink(*d.a, *d.a);
  // Listed once, so that moving the node moves both ends of the line once.
  EXPECT_EQ(d.a->links.size(), 2u);
  const CLink& self = **std::next(d.doc.Links().begin());
  d.a->SetPosition(d.a->GetX() + 7, d.a->GetY() + 3);
  EXPECT_EQ((Point{self.x1, self.y1}), d.a->GetCenter());
  EXPECT_EQ((Point{self.x2, self.y2}), d.a->GetCenter());
}

// The index must answer exactly as a walk of the list does, whatever mix
// of names, directions and TG numbers the list holds, as links come and go;
// the count matters when the walk finds nothing, as a new link is shifted
// by it.
// Names up to eleven characters are compared inside the index, longer ones
// on the link.
void ExpectIndexAgreesWithListWalk(const std::vector<std::string>& names, unsigned seed) {
  // Links carry the first five; the last is never added. Numbers beyond a
  // byte, which only a hand-made file holds, are kept apart by the index.
  constexpr std::array kTgNumbers{0, 1, 255, 256, -1, 7};
  std::mt19937 random(seed);
  auto anyName = [&] { return names[random() % names.size()]; };
  OwningLinkList list;
  LinkIndex index;
  for (int i = 0; i < 300; ++i) {
    auto link = std::make_unique<CLink>();
    link->ownerName = anyName();
    link->destinationName = anyName();
    link->tgNumber = kTgNumbers[random() % 5];
    index.Add(*link);
    list.Add(std::move(link));
    if (i % 3 == 0) {
      const CLink* victim = (*std::next(list.begin(), random() % list.size())).get();
      index.Remove(*victim);
      list.Remove(victim);
    }
    for (int q = 0; q < 5; ++q) {
      const std::string owner = anyName(), destination = anyName();
      const int tg = kTgNumbers[random() % kTgNumbers.size()];
      int listCount = -1;
      const CLink* found = list.Find(owner, destination, tg, &listCount);
      ASSERT_EQ(index.Find(owner, destination, tg), found) << owner << " " << destination << " " << tg;
      if (found == nullptr) {
        ASSERT_EQ(index.CountOfPair(owner, destination), listCount);
      }
    }
  }
}

TEST(LinkIndex, AgreesWithTheListWalkWhenPairsHaveManyLinks) {
  ExpectIndexAgreesWithListWalk({"A", "B", "ABCDEFGHIJK", "ABCDEFGHIJKL", "ABCDEFGHIJKM"}, 7);
}

// One to three links a pair, mostly with TG numbers of their own: entries
// come and go with their only link, and the count gathers a pair's links
// from several entries.
TEST(LinkIndex, AgreesWithTheListWalkWhenPairsHaveFewLinks) {
  std::vector<std::string> names;
  for (char c = 'A'; c <= 'L'; ++c) names.push_back(std::string(1, c));
  names.push_back("LONGER.THAN.ELEVEN");
  for (unsigned seed = 1; seed <= 4; ++seed) ExpectIndexAgreesWithListWalk(names, seed);
}

}  // namespace
}  // namespace mapvine
