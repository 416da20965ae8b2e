#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/CSprite.h"
#include "tests/graphics/SpriteTestSupport.h"

namespace mapvine {
namespace {

// Every report a sprite makes, in order.
class RecordingObserver final : public SpriteObserver {
 public:
  struct Report {
    int what;
    Rect first;
    std::optional<Rect> second;
    friend bool operator==(const Report&, const Report&) = default;
  };
  void Changed(CSprite&, int what, const Rect& first, const Rect* second) override {
    reports.push_back({what, first, second ? std::optional<Rect>(*second) : std::nullopt});
  }
  void AddDirty(const Rect& area) override { dirty.push_back(area); }
  std::vector<Report> reports;
  std::vector<Rect> dirty;
};

constexpr std::uint8_t kKey = 7;    // top-left pixel: the transparent index
constexpr std::uint8_t kBody = 9;   // every other pixel of the icon
constexpr std::uint8_t kPaper = 1;  // the picture the sprite is drawn on

// The 32 x 32 icon at (100, 100), with a second transparent pixel at (31, 10).
class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(icon, 32, 32, kBody);
    *icon.PixelPtr(0, 0) = kKey;
    *icon.PixelPtr(31, 10) = kKey;
    sprite.SetImage(icon);
    sprite.SetPosition(100, 100);
    fakes::MakeImage(picture, 300, 200, kPaper);
  }

  CDIB icon;
  CSprite sprite;
  CDIB picture;
  fakes::RecordingTextDrawer text;
};

TEST_F(SpriteTest, DefaultLabelsCarryARisingSerial) {
  CSprite a;
  CSprite b;
  const std::string prefix = "NETA.NN0";
  ASSERT_EQ(a.label.rfind(prefix, 0), 0u);
  ASSERT_EQ(b.label.rfind(prefix, 0), 0u);
  EXPECT_EQ(std::stoi(b.label.substr(prefix.size())),
            std::stoi(a.label.substr(prefix.size())) + 1);
}

TEST_F(SpriteTest, HitTestIsStrictOnTheLeftAndTopEdgesAndSkipsTheKey) {
  const std::pair<Point, bool> cases[] = {
      {{100, 110}, false}, {{101, 110}, true},  {{131, 110}, false}, {{131, 111}, true},
      {{132, 110}, false}, {{110, 100}, false}, {{110, 131}, true},  {{110, 132}, false}};
  for (const auto& [p, hit] : cases) EXPECT_EQ(sprite.HitTest(p.x, p.y), hit) << p.x << "," << p.y;
}

TEST_F(SpriteTest, SetPositionReportsTheBandsBeforeAndAfter) {
  RecordingObserver observer;
  sprite.SetObserver(&observer);
  sprite.SetPosition(110, 100);
  EXPECT_EQ(observer.reports, (std::vector<RecordingObserver::Report>{
                                  {kPositionChanged, {100, 70, 132, 162}, Rect{110, 70, 142, 162}}}));
  EXPECT_TRUE(observer.dirty.empty());
}

TEST_F(SpriteTest, SetDepthReportsOnlyARealChange) {
  RecordingObserver observer;
  sprite.SetObserver(&observer);
  sprite.SetDepth(50);
  EXPECT_TRUE(observer.reports.empty());
  sprite.SetDepth(20);
  EXPECT_EQ(observer.reports, (std::vector<RecordingObserver::Report>{
                                  {kDepthChanged, {100, 100, 132, 132}, std::nullopt}}));
}

TEST_F(SpriteTest, DrawCopiesAllButTheTransparentPixelsAndLabelsBelow) {
  sprite.label = "CP01";
  sprite.Draw(picture, &text, nullptr);
  const fakes::Changes changes = fakes::CountChanges(picture, kPaper, {100, 100, 132, 132});
  EXPECT_EQ(changes.inside, 32 * 32 - 2);
  EXPECT_EQ(fakes::PixelAt(picture, 131, 110), kPaper);
  EXPECT_EQ(changes.outside, 1);  // the fake's ink at the label origin
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].text, "CP01");
  EXPECT_EQ(text.calls[0].origin, (Point{110, 132}));
  EXPECT_EQ(text.calls[0].clip, (Rect{100, 132, 132, 162}));
  EXPECT_EQ(text.calls[0].color, (PaletteEntry{255, 255, 255, 0}));
}

TEST_F(SpriteTest, DrawHonoursTheClip) {
  struct Case {
    Rect clip;
    Rect imagePart;  // where the image changes the picture
    bool label;
  };
  const Case cases[] = {
      {{0, 0, 50, 50}, {}, false},                        // nothing at all
      {{0, 140, 300, 150}, {}, true},                     // only the whole label
      {{0, 60, 300, 70}, {}, false},                      // just above the band
      {{0, 70, 300, 71}, {}, true},                       // top row of the band
      {{120, 90, 300, 105}, {120, 100, 132, 105}, true},  // a corner of the image
  };
  for (const Case& c : cases) {
    fakes::MakeImage(picture, 300, 200, kPaper);
    text.calls.clear();
    sprite.Draw(picture, &text, &c.clip);
    const fakes::Changes changes = fakes::CountChanges(picture, kPaper, c.imagePart);
    EXPECT_EQ(changes.inside, c.imagePart.Width() * c.imagePart.Height()) << c.clip.top;
    EXPECT_EQ(changes.outside, c.label ? 1 : 0) << c.clip.top;
    EXPECT_EQ(text.calls.size(), c.label ? 1u : 0u) << c.clip.top;
  }
}

TEST_F(SpriteTest, DrawStaysInsideTheTargetAndSkipsHiddenSprites) {
  sprite.SetPosition(290, 180);  // off the bottom right corner, label band too
  sprite.Draw(picture, &text, nullptr);
  EXPECT_EQ(fakes::CountChanges(picture, kPaper, {290, 180, 300, 200}).inside, 10 * 20 - 1);
  EXPECT_TRUE(text.calls.empty());

  sprite.SetPosition(100, 150);  // the label band sticks out below
  sprite.Draw(picture, &text, nullptr);
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].clip, (Rect{100, 182, 132, 200}));

  fakes::MakeImage(picture, 300, 200, kPaper);
  sprite.SetPosition(-100, 20);  // wholly outside
  sprite.Draw(picture, &text, nullptr);
  sprite.SetPosition(10, 10);
  sprite.hidden = 1;
  sprite.Draw(picture, &text, nullptr);
  EXPECT_EQ(fakes::CountChanges(picture, kPaper, {}).outside, 0);
  EXPECT_EQ(text.calls.size(), 1u);
}

TEST_F(SpriteTest, SetImageSharesStorageAndPicksTheTransparentIndex) {
  CDIB other;
  fakes::MakeImage(other, 8, 8, 42);
  sprite.SetImage(other);
  EXPECT_TRUE(sprite.SharesStorageWith(other));
  EXPECT_EQ(sprite.transparentIndex, 42);
  EXPECT_EQ(sprite.GetRect(), (Rect{100, 100, 108, 108}));
  sprite.SetImage(icon);
  EXPECT_EQ(sprite.transparentIndex, kKey);

  // A remap through one sprite changes the image every sharer shows.
  CSprite twin;
  twin.SetImage(icon);
  CDIBPal one;
  one.SetEntries({{40, 40, 40, 0}});
  ASSERT_TRUE(sprite.RemapToPalette(one));
  EXPECT_EQ(fakes::PixelAt(twin, 5, 5), 0);
  EXPECT_EQ(sprite.transparentIndex, 0);
}

TEST_F(SpriteTest, OwnLoadsNeverWriteIntoTheSharedImage) {
  CDIB saved;
  fakes::MakeImage(saved, 20, 10, 66);
  const std::string path = fakes::SaveToTempFile(saved, "sprite_load.bmp");
  ASSERT_TRUE(sprite.LoadFile(path));
  EXPECT_FALSE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(sprite.GetWidth(), 20);
  EXPECT_EQ(sprite.transparentIndex, 66);
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_EQ(fakes::PixelAt(icon, 1, 1), kBody);

  // A failed load changes nothing, not even the sharing.
  sprite.SetImage(icon);
  EXPECT_FALSE(sprite.LoadFile(path + ".missing"));
  EXPECT_TRUE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(sprite.transparentIndex, kKey);
  std::remove(path.c_str());
}

TEST_F(SpriteTest, CenterTruncatesTowardZero) {
  EXPECT_EQ(sprite.GetCenter(), (Point{116, 116}));
  CDIB odd;
  fakes::MakeImage(odd, 5, 3, 0);
  sprite.SetImage(odd);
  sprite.SetPosition(-8, 2);
  EXPECT_EQ(sprite.GetCenter(), (Point{-5, 3}));
}

}  // namespace
}  // namespace mapvine
