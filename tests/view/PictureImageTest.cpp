#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

#include "graphics/CDIBLayout.h"
#include "refresh/RefreshCommand.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/view/ViewTestSupport.h"

namespace mapvine {
namespace {

using namespace viewtest;

// Three network nodes in a row: an active TG from the first to the second,
// an inactive one from the second to the third.
struct RefreshedPicture : ShownDocument {
  RefreshedPicture() {
    auto parsed = snanode::ParseNetwork(
        "nn NETA.NN1\n"
        "nn NETA.NN2\n"
        "nn NETA.NN3\n"
        "tg NETA.NN1 NETA.NN2 21 operative\n"
        "tg NETA.NN2 NETA.NN3 22\n",
        "test");
    EXPECT_TRUE(parsed.network.has_value()) << parsed.error;
    const snanode::SimulatedNode node(std::move(*parsed.network));
    RefreshCommand(doc, [&node](void* block, std::uint32_t length) { node.Call(block, length); });
  }
};

int PixelsOfColor(const QImage& image, QRgb color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color;
  }
  return count;
}

TEST(ViewPictureImage, HoldsThePicturesSizeAndLinkColours) {
  RefreshedPicture p;
  ASSERT_EQ(p.doc.Nodes().size(), 3u);
  ASSERT_EQ(p.doc.Links().size(), 2u);
  EXPECT_EQ(p.status.Last(), "Displaying 3 of 3 nodes");

  const QImage picture = p.view.Frame().PictureImage();
  EXPECT_EQ(picture.format(), QImage::Format_RGB32);
  EXPECT_EQ(picture.width(), p.doc.picture.composedWidth);
  EXPECT_EQ(picture.height(), p.doc.picture.composedHeight);
  // Between the icons each line shows its own colour.
  for (const auto& link : p.doc.Links()) {
    const QRgb expected = ToRgb(link->tgNumber == 21 ? kGreen : kRed);
    const int midX = (link->endA->GetRect().right + link->endB->GetRect().left) / 2;
    EXPECT_EQ(picture.pixel(midX, link->y1), expected) << link->tgNumber;
  }
  EXPECT_GT(PixelsOfColor(picture, ToRgb(kGreen)), 10);
  EXPECT_GT(PixelsOfColor(picture, ToRgb(kRed)), 10);
  // Every pixel is the buffer's through its colour table.
  const auto table = ColorTableOf(p.Buffer());
  for (int y = 0; y < picture.height(); y += 7) {
    for (int x = 0; x < picture.width(); x += 5) {
      ASSERT_EQ(picture.pixel(x, y), table[*p.Buffer().PixelPtr(x, y)]) << x << "," << y;
    }
  }
}

std::size_t FileSize(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::distance(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ViewPictureImage, PrintsThePictureOnlyWhenThereIsOne) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  RefreshedPicture p;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.filePath("picture.pdf"));
  p.view.Printing().Print(printer);
  EXPECT_GT(FileSize(folder.filePath("picture.pdf")), 1000u);

  // A view whose background failed has nothing to print.
  auto image = MakeImage(4, 4, {kBlack}, [](int, int) { return 0; });
  StoreU32(image->HeaderBlock() + dib::kBiWidth, 0);  // no width
  ComposedBackground damaged(*image, image->GetWidth(), image->GetHeight(), BackgroundArrangement::Tile);
  ASSERT_FALSE(p.view.Document().SetBackground(damaged));
  printer.setOutputFileName(folder.filePath("nothing.pdf"));
  p.view.Printing().Print(printer);
  EXPECT_FALSE(QFile::exists(folder.filePath("nothing.pdf")));
}

TEST(ViewPictureImage, APictureThatIsNotPrintedSaysWhy) {
  RefreshedPicture p;
  testing::ScriptedPrompts prompts;
  QPrinter absent;
  absent.setPrinterName(QStringLiteral("mapvine-test-no-such-printer"));
  p.view.Printing().PrintOrSayWhy(absent);
  QPrinter toFile;
  toFile.setOutputFileName(QStringLiteral("/nonexistent-folder/picture.pdf"));
  p.view.Printing().PrintOrSayWhy(toFile);
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"The picture was not printed: no printer is set up.",
                                      "The picture was not printed: \"/nonexistent-folder/"
                                      "picture.pdf\" could not be written to."}));
}

TEST(ViewCommands, OnlyThePrintCommandsAreTheViews) {
  ShownDocument s;
  for (const int id : {command::kFilePrint, command::kFilePrintPreview}) {
    const auto state = s.commands.StateOf(id);
    ASSERT_TRUE(state.has_value()) << id;
    EXPECT_TRUE(state->enabled);
  }
  for (const int id : {command::kRefresh, command::kFileSave, command::kTileNodes,
                       command::kEditUndo, 0}) {
    EXPECT_FALSE(s.commands.StateOf(id).has_value()) << id;
    EXPECT_FALSE(s.commands.Run(id)) << id;
  }
}

// The view's parts each bind their own commands; none may be lost or bound
// twice between them.
TEST(ViewCommands, EveryCommandOfTheViewsPartsIsBoundOnce) {
  ShownDocument s;
  namespace c = command;
  for (const int id :
       {c::kFilePageSetup, c::kFilePrint, c::kFilePrintPreview, c::kDetails, c::kLink, c::kHide, c::kMoveCloser,
        c::kMoveFarther, c::kDelete, c::kShowNeighbors, c::kHideNeighbors, c::kRouteFromHere, c::kRouteToHere,
        c::kPinNode, c::kFoldLus, c::kShowNeighbourhood, c::kShowAllNodes, c::kFindResource, c::kShowHiddenNodes,
        c::kResizeBackground, c::kBackgroundTile, c::kBackgroundStretch, c::kBackgroundCenter,
        c::kAcknowledgeChanges, c::kMarkInactiveLinks, c::kHideAllNetworkNodes, c::kShowAllUnreachable,
        c::kZoomIn, c::kZoomOut, c::kActualSize, c::kFitToWindow}) {
    EXPECT_TRUE(s.commands.StateOf(id).has_value()) << id;
  }
  EXPECT_TRUE(s.commands.Refused().empty());
}

}  // namespace
}  // namespace mapvine
