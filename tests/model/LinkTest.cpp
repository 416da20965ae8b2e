#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "model/CLink.h"
#include "model/CLinkList.h"
#include "model/CNode.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

std::unique_ptr<CLink> MakeLink(std::string owner, std::string destination, int tg) {
  auto link = std::make_unique<CLink>();
  link->ownerName = std::move(owner);
  link->destinationName = std::move(destination);
  link->tgNumber = tg;
  return link;
}

// The document's list; a node's list runs the same code.
class LinkListFindTest : public ::testing::Test {
 protected:
  const CLink* Add(std::string owner, std::string destination, int tg) {
    list.Add(MakeLink(std::move(owner), std::move(destination), tg));
    return std::prev(list.end())->get();
  }
  OwningLinkList list;
};

TEST_F(LinkListFindTest, FindsEitherDirectionNearestTheHead) {
  Add("A", "B", 1);
  const CLink* backward = Add("B", "A", 2);
  Add("A", "B", 2);
  int count = -1;
  EXPECT_EQ(list.Find("A", "B", 2, &count), backward);
  EXPECT_EQ(count, 1);  // only the same-pair links met before the match
  EXPECT_EQ(list.Find("a", "B", 2), nullptr);  // names are case-sensitive
}

TEST_F(LinkListFindTest, CountsSamePairLinksWhenNothingMatches) {
  Add("A", "B", 1);
  Add("C", "A", 9);
  Add("B", "A", 2);
  Add("A", "B", 3);
  int count = -1;
  EXPECT_EQ(list.Find("A", "B", 9, &count), nullptr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(list.Find("B", "A", 7, &count), nullptr);
  EXPECT_EQ(count, 3);
  // A link from a node to itself joins the pair in both directions.
  Add("C", "C", 4);
  EXPECT_EQ(list.Find("C", "C", 5, &count), nullptr);
  EXPECT_EQ(count, 2);
}

TEST(LinkListTest, RemoveTakesTheFirstOccurrenceOut) {
  OwningLinkList owning;
  owning.Add(MakeLink("A", "B", 1));
  owning.Add(MakeLink("A", "B", 2));
  const CLink* second = owning.Find("A", "B", 2);
  ASSERT_NE(second, nullptr);
  std::unique_ptr<CLink> taken = owning.Remove(second);
  EXPECT_EQ(taken.get(), second);
  EXPECT_EQ(owning.size(), 1u);
  EXPECT_EQ(owning.Remove(second), nullptr);
}

// Two shown nodes joined by a link through the given points.
struct Joined {
  CNode a;
  CNode b;
  CLink link;
  Joined(Point from, Point to) {
    link.endA = &a;
    link.endB = &b;
    link.x1 = from.x, link.y1 = from.y, link.x2 = to.x, link.y2 = to.y;
    link.UpdateBounds();
  }
};

TEST(LinkHitTest, HorizontalLinkHitsUpToItsBoundsOnly) {
  Joined j({10, 50}, {110, 50});
  EXPECT_EQ(j.link.bounds, (Rect{9, 49, 111, 51}));
  // (111, 50): the distances would pass, the bounds do not. (60, 49) is
  // within the tolerance.
  const std::pair<Point, bool> cases[] = {{{109, 50}, true}, {{110, 50}, true},
                                          {{60, 49}, true},  {{111, 50}, false},
                                          {{8, 50}, false},  {{60, 51}, false}};
  for (const auto& [p, hit] : cases) EXPECT_EQ(j.link.HitTest(p.x, p.y), hit) << p.x << "," << p.y;
}

TEST(LinkHitTest, SlantedLinkUsesTruncatedDistancesAndTolerance) {
  Joined j({0, 0}, {30, 40});  // length 50
  EXPECT_TRUE(j.link.HitTest(15, 20));
  EXPECT_TRUE(j.link.HitTest(16, 20));   // 25 + 24 <= 52
  EXPECT_FALSE(j.link.HitTest(20, 10));  // 22 + 31 > 52
  j.link.hitTolerance = 10;
  EXPECT_TRUE(j.link.HitTest(20, 10));
}

TEST(LinkHitTest, ListSkipsLinksWithAHiddenOrMissingEnd) {
  Joined upper({0, 10}, {100, 10});
  Joined lower({0, 11}, {100, 11});
  CLink loose;  // not rejoined yet
  loose.x2 = 100, loose.y1 = 10, loose.y2 = 10;
  loose.UpdateBounds();
  CLinkList list;
  list.Add(&loose);
  list.Add(&upper.link);
  list.Add(&lower.link);
  EXPECT_EQ(list.HitTest(50, 10), &upper.link);
  upper.b.hidden = 1;
  EXPECT_EQ(list.HitTest(50, 10), &lower.link);
  lower.a.hidden = 1;
  EXPECT_EQ(list.HitTest(50, 10), nullptr);
}

// A click belongs to the line nearest it (the first of equally near ones),
// and a long line reaches no further to its side than a short one.
TEST(LinkHitTest, ListPicksTheNearestLineWithinAFewPixels) {
  Joined slanted({0, 0}, {300, 400});       // length 500
  Joined shortOne({150, 193}, {170, 193});  // 11 pixels from `slanted` at (159, 193)
  Joined level10({0, 10}, {100, 10}), level11({0, 11}, {100, 11}), same10({0, 10}, {100, 10});
  const std::tuple<std::vector<CLink*>, Point, const CLink*> cases[] = {
      {{&slanted.link, &shortOne.link}, {159, 193}, &shortOne.link},
      {{&slanted.link}, {159, 193}, nullptr},
      {{&slanted.link}, {153, 198}, &slanted.link},  // under 4 pixels to its side
      {{&level11.link, &level10.link}, {50, 10}, &level10.link},
      {{&same10.link, &level10.link}, {50, 10}, &same10.link}};
  for (const auto& [links, click, expected] : cases) {
    CLinkList list;
    for (CLink* link : links) list.Add(link);
    EXPECT_EQ(list.HitTest(click.x, click.y), expected) << click.x << "," << click.y;
  }
}

// A picture whose table has no pure green or red: the line takes the
// nearest entries.
class LinkDrawTest : public ::testing::Test {
 protected:
  static constexpr std::uint8_t kGreenish = 1, kReddish = 3, kIcon = 5, kKey = 6;

  void SetUp() override {
    palette.SetEntries({{0, 0, 0, 0}, {10, 200, 30, 0}, {0, 100, 0, 0}, {230, 20, 20, 0},
                        {128, 128, 128, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}});
    fakes::MakeImage(picture, 200, 100, 0, &palette);
    fakes::MakeImage(icon, 6, 6, kIcon, &palette);
    *icon.PixelPtr(0, 0) = kKey;
    j.a.SetImage(icon, 1, 6);
    j.b.SetImage(icon, 1, 6);
    j.a.SetPosition(20, 19);
    j.b.SetPosition(147, 57);
  }

  CDIBPal palette;
  CDIB picture;
  CDIB icon;
  Joined j{{20, 20}, {150, 60}};
};

TEST_F(LinkDrawTest, LineTakesTheNearestColourAndIconsGoOnTop) {
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active);
    fakes::MakeImage(picture, 200, 100, 0, &palette);
    j.link.status = StatusFor(active);
    j.link.Draw(picture, nullptr, picture.GetRect());
    const std::uint8_t line = active ? kGreenish : kReddish;
    int linePixels = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) {
        const std::uint8_t p = fakes::PixelAt(picture, x, y);
        if (p == 0) continue;
        const bool onIcon = j.a.GetRect().Contains({x, y}) || j.b.GetRect().Contains({x, y});
        if (!onIcon) {
          EXPECT_TRUE(j.link.bounds.Contains({x, y})) << x << "," << y;
        }
        if (p == line) ++linePixels;
        EXPECT_TRUE(p == line || (onIcon && p == kIcon)) << x << "," << y << ": " << int(p);
      }
    }
    // Two pixels for every step along the longer side, minus what the
    // icons cover.
    EXPECT_GT(linePixels, 2 * 131 - 2 * 2 * 6);
    EXPECT_LE(linePixels, 2 * 131);
    EXPECT_EQ(fakes::PixelAt(picture, 20, 20), kIcon);
    EXPECT_EQ(fakes::PixelAt(picture, 20, 19), line);  // under the icon's key pixel
    EXPECT_EQ(fakes::PixelAt(picture, 147, 57), 0);
  }
}

// A partial redraw changes only its own area.
TEST_F(LinkDrawTest, APartialRedrawStaysInsideItsArea) {
  fakes::MakeImage(picture, 200, 100, 0, &palette);
  const Rect clip{60, 25, 80, 45};
  j.link.Draw(picture, nullptr, clip);
  const auto changes = fakes::CountChanges(picture, 0, {60, 25, 80, 45});
  EXPECT_EQ(changes.outside, 0);
  EXPECT_GT(changes.inside, 0);
}

TEST_F(LinkDrawTest, NothingIsDrawnOutsideTheClipOrWithAHiddenEnd) {
  j.link.Draw(picture, nullptr, {0, 0, 10, 10});  // misses the bounds
  j.b.hidden = 1;
  j.link.Draw(picture, nullptr, {0, 0, 200, 100});
  EXPECT_EQ(fakes::CountChanges(picture, 0, {}).outside, 0);
}

TEST_F(LinkDrawTest, EndIconsAndLabelsStayInsideThePicture) {
  fakes::RecordingTextDrawer text;
  j.b.SetPosition(196, 90);
  j.link.x2 = 199, j.link.y2 = 93;
  j.link.UpdateBounds();
  j.link.Draw(picture, &text, {0, 0, 200, 100});
  ASSERT_EQ(text.calls.size(), 2u);
  EXPECT_EQ(text.calls[1].clip, (Rect{196, 96, 200, 100}));
  EXPECT_EQ(fakes::PixelAt(picture, 199, 93), kIcon);
}

}  // namespace
}  // namespace mapvine
