#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <functional>
#include <string>

#include "model/ChangeComparison.h"
#include "model/SavedTopology.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// `count` network nodes in a row, each with a TG to the next; the last TG
// is inactive, the others active.
void RefreshChain(CMapvineDoc& doc, int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "nn NETA.NN" + std::to_string(i) + "\n";
  for (int i = 1; i < count; ++i) {
    text += "tg NETA.NN" + std::to_string(i) + " NETA.NN" + std::to_string(i + 1) + " " +
            std::to_string(20 + i) + (i + 1 < count ? " operative\n" : "\n");
  }
  auto parsed = snanode::ParseNetwork(text, "test");
  ASSERT_TRUE(parsed.network.has_value()) << parsed.error;
  const snanode::SimulatedNode node(std::move(*parsed.network));
  RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
}

int PixelsWhere(const QImage& image, const Rect& area, const std::function<bool(QRgb)>& test) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += test(image.pixel(x, y));
  }
  return count;
}

// Icon pixels (the transparent index aside) not shown in their artwork's
// own colour.
int MiscolouredIconPixels(const CMapvineDoc& doc, const QImage& picture) {
  int count = 0;
  for (const auto& node : doc.Nodes()) {
    const CDIB& artwork = *doc.images[static_cast<std::size_t>(node->imageIndex)];
    for (int y = 0; y < artwork.GetHeight(); ++y) {
      for (int x = 0; x < artwork.GetWidth(); ++x) {
        count += *artwork.PixelPtr(x, y) != *artwork.PixelPtr(0, 0) &&
                 picture.pixel(node->GetX() + x, node->GetY() + y) != ColorAt(artwork, x, y);
      }
    }
  }
  return count;
}

std::unique_ptr<CDIB> ImageOf(std::vector<PaletteEntry> colors, int side,
                              const std::function<std::uint8_t(int, int)>& pixel) {
  colors.resize(256, kBlack);  // a table of fewer entries is refused
  return MakeImage(side, side, std::move(colors), pixel);
}

// What a user sees stays the same from before saving to after opening: the
// artwork in its own colours (its most-used colour exactly), active links
// pure green, inactive pure red, labels white. Cases: a new picture at its
// background's size, one grown by a refresh, one whose natural-size picture
// took a custom icon (which re-images every other node), and a legal
// background of two colours with the rest of its table black.
TEST(ViewPictureColours, ReopenedPictureLooksTheSameAsBeforeSaving) {
  enum Change { kNone, kCustomIcon, kTwoColourBackground };
  const struct {
    const char* name;
    int nodes;
    Change change;
  } cases[] = {{"three nodes", 3, kNone},
               {"grown by a refresh", 22, kNone},
               {"custom icon", 3, kCustomIcon},
               {"two-colour background", 3, kTwoColourBackground}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ShownDocument s;
    RefreshChain(s.doc, c.nodes);
    AcknowledgeChanges(s.doc);  // the marks of what a refresh changed are not saved
    s.view.PictureChanged();
    ASSERT_EQ(s.doc.picture.pictureWidth == 0, c.nodes < 16);
    if (c.change == kCustomIcon) {
      std::vector<PaletteEntry> oranges;
      for (int i = 0; i < 40; ++i) oranges.push_back({255, std::uint8_t(100 + i), 30, 0});
      const std::string icon = folder.filePath("orange.bmp").toStdString();
      ASSERT_TRUE(ImageOf(oranges, 32, [](int x, int y) { return (x + y) % 40; })->Save(icon));
      s.doc.SetCustomIcon(*s.doc.FindNode("NN2"), CustomIconRole::Both, icon);
    } else if (c.change == kTwoColourBackground) {
      s.doc.ComposeBackground(
          ImageOf({{10, 60, 20, 0}, {30, 90, 40, 0}}, 400, [](int x, int) { return x / 8 % 2; }),
          kArrangementChosenInView, 0, 0);
    }
    const QImage before = s.view.Frame().PictureImage();
    EXPECT_EQ(MiscolouredIconPixels(s.doc, before), 0);
    const CDIB& artwork = *s.doc.images[kBackgroundSlot];
    std::array<int, 256> uses{};
    for (const std::uint8_t index : artwork.Bits()) ++uses[index];
    const QRgb mostUsed = ColorTableOf(artwork)[std::max_element(uses.begin(), uses.end()) -
                                                uses.begin()];
    EXPECT_GT(PixelsWhere(before, s.Buffer().GetRect(), [&](QRgb p) { return p == mostUsed; }), 0);
    for (const auto& link : s.doc.Links()) {
      // Checked between grid neighbours in a row, where nothing else is drawn.
      const bool neighbours = link->endA->GetY() == link->endB->GetY() &&
                              link->endB->GetX() - link->endA->GetX() == s.doc.placement.gridSpacing;
      if (!neighbours) continue;
      const int midX = (link->endA->GetRect().right + link->endB->GetRect().left) / 2;
      EXPECT_EQ(before.pixel(midX, link->y1), ToRgb(IsActive(link->status) ? kGreen : kRed)) << link->title;
    }
    for (const auto& node : s.doc.Nodes()) {
      const Rect icon = node->GetRect();
      const Rect label{icon.left, icon.bottom, icon.right, icon.bottom + CNode::kLabelBand};
      EXPECT_GT(PixelsWhere(before, label, [](QRgb p) { return p == ToRgb(kWhite); }), 0);
    }

    const std::string path = folder.filePath("picture.top").toStdString();
    ASSERT_TRUE(SaveTopologyFile(s.doc, path));
    ShownDocument reopened;
    ASSERT_EQ(OpenTopologyFile(reopened.doc, path), LoadOutcome::Loaded);
    const QImage after = reopened.view.Frame().PictureImage();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before) << "every pixel compared";
  }
}

}  // namespace
}  // namespace mapvine
