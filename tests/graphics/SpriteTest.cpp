#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/ByteSink.h"
#include "graphics/CLink.h"
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

// The 32 x 32 icon at (100, 100): a transparent top-left pixel and a
// transparent hole at image (31, 10).
class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::MakeImage(icon, 32, 32, kBody);
    *icon.PixelPtr(0, 0) = kKey;
    *icon.PixelPtr(31, 10) = kKey;
    sprite.SetImage(icon, 1, 6);
    sprite.SetPosition(100, 100);
    fakes::MakeImage(picture, 300, 200, kPaper);
  }

  CDIB icon;
  CSprite sprite;
  CDIB picture;
};

TEST_F(SpriteTest, DefaultLabelsCarryARisingSerial) {
  CSprite a;
  CSprite b;
  const std::string prefix = "NETA.NN0";
  ASSERT_EQ(a.label.rfind(prefix, 0), 0u);
  ASSERT_EQ(b.label.rfind(prefix, 0), 0u);
  EXPECT_EQ(std::stoi(b.label.substr(prefix.size())),
            std::stoi(a.label.substr(prefix.size())) + 1);
  EXPECT_EQ(a.GetDepth(), 50);
  EXPECT_EQ(a.status, 1);
  EXPECT_EQ(a.GetWidth(), 16);
}

TEST_F(SpriteTest, HitTestIsStrictOnTheLeftAndTopEdgesAndSkipsTheKey) {
  EXPECT_EQ(sprite.transparentIndex, kKey);
  struct Case {
    int x, y;
    bool hit;
  };
  const Case cases[] = {
      {100, 110, false},  // left edge
      {101, 110, true},   {131, 110, false},  // the transparent hole
      {131, 111, true},   {132, 110, false},  // right of the image
      {110, 100, false},  // top edge
      {110, 101, true},   {110, 131, true},   {110, 132, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sprite.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
  }
}

TEST_F(SpriteTest, SetPositionReportsBandsAndMovesTheLinkEnds) {
  CSprite other;
  CLink out;  // this sprite is its first end
  out.endA = &sprite;
  out.endB = &other;
  out.x1 = 116, out.y1 = 116, out.x2 = 200, out.y2 = 150;
  out.UpdateBounds();
  CLink in;  // ... and the second end of this one
  in.endA = &other;
  in.endB = &sprite;
  in.x1 = 10, in.y1 = 10, in.x2 = 116, in.y2 = 116;
  in.UpdateBounds();
  sprite.links.Add(&out);
  sprite.links.Add(&in);
  RecordingObserver observer;
  sprite.SetObserver(&observer);

  sprite.SetPosition(110, 100);

  ASSERT_EQ(observer.reports.size(), 1u);
  EXPECT_EQ(observer.reports[0], (RecordingObserver::Report{
                                     kPositionChanged, {100, 70, 132, 162}, Rect{110, 70, 142, 162}}));
  EXPECT_EQ(sprite.GetRect(), (Rect{110, 100, 142, 132}));
  EXPECT_EQ((Point{out.x1, out.y1}), (Point{126, 116}));
  EXPECT_EQ((Point{out.x2, out.y2}), (Point{200, 150}));
  EXPECT_EQ((Point{in.x2, in.y2}), (Point{126, 116}));
  EXPECT_EQ((Point{in.x1, in.y1}), (Point{10, 10}));
  EXPECT_EQ(out.bounds, (Rect{125, 115, 201, 151}));
  // Both links' bounds before and after the move.
  EXPECT_EQ(observer.dirty, (std::vector<Rect>{{115, 115, 201, 151},
                                               {9, 9, 117, 117},
                                               {125, 115, 201, 151},
                                               {9, 9, 127, 117}}));
}

TEST_F(SpriteTest, SetPositionWithoutObserverStillMovesLinks) {
  CLink link;
  link.endA = &sprite;
  link.x1 = 5, link.y1 = 6;
  sprite.links.Add(&link);
  sprite.SetPosition(90, 130);
  EXPECT_EQ((Point{link.x1, link.y1}), (Point{-5, 36}));
  EXPECT_EQ(link.bounds, (Rect{-6, -1, 1, 37}));
}

TEST_F(SpriteTest, SetDepthReportsOnlyARealChange) {
  RecordingObserver observer;
  sprite.SetObserver(&observer);
  sprite.SetDepth(50);
  EXPECT_TRUE(observer.reports.empty());
  sprite.SetDepth(20);
  EXPECT_EQ(sprite.GetDepth(), 20);
  EXPECT_EQ(observer.reports, (std::vector<RecordingObserver::Report>{
                                  {kDepthChanged, {100, 100, 132, 132}, std::nullopt}}));
}

TEST_F(SpriteTest, DrawCopiesAllButTheTransparentPixels) {
  fakes::RecordingTextDrawer text;
  sprite.label = "CP01";
  sprite.Draw(picture, &text, nullptr);

  const fakes::Changes changes = fakes::CountChanges(picture, kPaper, {100, 100, 132, 132});
  EXPECT_EQ(changes.inside, 32 * 32 - 2);
  EXPECT_EQ(fakes::PixelAt(picture, 100, 100), kPaper);
  EXPECT_EQ(fakes::PixelAt(picture, 131, 110), kPaper);
  EXPECT_EQ(fakes::PixelAt(picture, 101, 100), kBody);
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].text, "CP01");
  EXPECT_EQ(text.calls[0].origin, (Point{110, 132}));
  EXPECT_EQ(text.calls[0].clip, (Rect{100, 132, 132, 162}));
  EXPECT_EQ(text.calls[0].color, (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(changes.outside, 1);  // the fake's ink at the label origin
}

TEST_F(SpriteTest, DrawHonoursTheClip) {
  struct Case {
    Rect clip;
    Rect imagePart;  // where the image may change the picture
    bool label;
  };
  const Case cases[] = {
      {{0, 0, 50, 50}, {}, false},                            // nothing at all
      {{0, 140, 300, 150}, {}, true},                         // only the label
      {{0, 60, 300, 70}, {}, false},                          // just above the band
      {{0, 70, 300, 71}, {}, true},                           // top row of the band
      {{120, 90, 300, 105}, {120, 100, 132, 105}, true},      // a corner of the image
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clip.left * 1000 + c.clip.top);
    fakes::MakeImage(picture, 300, 200, kPaper);
    fakes::RecordingTextDrawer text;
    sprite.Draw(picture, &text, &c.clip);
    const fakes::Changes changes = fakes::CountChanges(picture, kPaper, c.imagePart);
    EXPECT_EQ(changes.inside, c.imagePart.Width() * c.imagePart.Height());
    EXPECT_EQ(changes.outside, c.label ? 1 : 0);
    EXPECT_EQ(text.calls.size(), c.label ? 1u : 0u);
    if (c.label) {
      EXPECT_EQ(text.calls[0].clip, (Rect{100, 132, 132, 162}));
    }
  }
}

TEST_F(SpriteTest, DrawStaysInsideTheTargetAndSkipsHiddenSprites) {
  fakes::RecordingTextDrawer text;
  // Partly off the bottom right corner: the image is cut, the label band
  // lies wholly outside.
  sprite.SetPosition(290, 180);
  sprite.Draw(picture, &text, nullptr);
  EXPECT_EQ(fakes::CountChanges(picture, kPaper, {290, 180, 300, 200}).inside, 10 * 20 - 1);
  EXPECT_TRUE(text.calls.empty());

  // A label band sticking out below the picture is cut to it.
  sprite.SetPosition(100, 150);
  sprite.Draw(picture, &text, nullptr);
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].clip, (Rect{100, 182, 132, 200}));

  // Wholly outside, on the left: nothing.
  fakes::MakeImage(picture, 300, 200, kPaper);
  text.calls.clear();
  sprite.SetPosition(-100, 20);
  sprite.Draw(picture, &text, nullptr);
  EXPECT_EQ(fakes::CountChanges(picture, kPaper, {}).outside, 0);

  sprite.SetPosition(10, 10);
  sprite.hidden = 1;
  sprite.Draw(picture, &text, nullptr);
  EXPECT_EQ(fakes::CountChanges(picture, kPaper, {}).outside, 0);
  EXPECT_TRUE(text.calls.empty());
}

TEST_F(SpriteTest, SetImageSharesStorageAndKeepsSlotsGivenAsZero) {
  EXPECT_TRUE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(sprite.activeImage, 1);
  EXPECT_EQ(sprite.inactiveImage, 6);

  CDIB other;
  fakes::MakeImage(other, 8, 8, 42);
  EXPECT_EQ(sprite.SetImage(other, 0, 0), 1);
  EXPECT_EQ(sprite.activeImage, 1);
  EXPECT_EQ(sprite.inactiveImage, 6);
  EXPECT_EQ(sprite.transparentIndex, 42);
  EXPECT_EQ(sprite.GetRect(), (Rect{100, 100, 108, 108}));

  EXPECT_EQ(sprite.SetImage(icon, 3, 0), 1);
  EXPECT_EQ(sprite.activeImage, 3);
  EXPECT_EQ(sprite.inactiveImage, 6);
  EXPECT_EQ(sprite.transparentIndex, kKey);
}

TEST_F(SpriteTest, RemapThroughASpriteChangesTheSharedImage) {
  CSprite twin;
  twin.SetImage(icon, 1, 6);
  CDIBPal one;
  one.SetEntries({{40, 40, 40, 0}});
  ASSERT_TRUE(sprite.RemapToPalette(one));
  EXPECT_EQ(fakes::PixelAt(icon, 5, 5), 0);
  EXPECT_EQ(fakes::PixelAt(twin, 5, 5), 0);
  EXPECT_EQ(sprite.transparentIndex, 0);
}

TEST_F(SpriteTest, OwnLoadsNeverWriteIntoTheSharedImage) {
  CDIB saved;
  fakes::MakeImage(saved, 20, 10, 66);
  VectorSink sink;
  ASSERT_TRUE(saved.Save(sink));
  const std::string path = ::testing::TempDir() + "sprite_load.bmp";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(sink.Bytes().data()),
              static_cast<std::streamsize>(sink.Bytes().size()));
  }

  ASSERT_TRUE(sprite.LoadFile(path));
  EXPECT_FALSE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(sprite.GetWidth(), 20);
  EXPECT_EQ(sprite.transparentIndex, 66);
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_EQ(fakes::PixelAt(icon, 1, 1), kBody);

  sprite.SetImage(icon, 0, 0);
  ByteReader reader(sink.Bytes());
  ASSERT_TRUE(sprite.Load(reader));
  EXPECT_FALSE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(fakes::PixelAt(icon, 1, 1), kBody);

  // A failed load changes nothing, not even the sharing.
  sprite.SetImage(icon, 0, 0);
  EXPECT_FALSE(sprite.LoadFile(path + ".missing"));
  EXPECT_TRUE(sprite.SharesStorageWith(icon));
  EXPECT_EQ(sprite.transparentIndex, kKey);
  std::remove(path.c_str());
}

TEST_F(SpriteTest, CenterTruncatesTowardZero) {
  EXPECT_EQ(sprite.GetCenter(), (Point{116, 116}));
  CDIB odd;
  fakes::MakeImage(odd, 5, 3, 0);
  sprite.SetImage(odd, 0, 0);
  sprite.SetPosition(-8, 2);
  EXPECT_EQ(sprite.GetCenter(), (Point{-5, 3}));
}

}  // namespace
}  // namespace mapvine
