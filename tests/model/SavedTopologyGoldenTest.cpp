// The exact bytes of a tiny picture, built here field by field from the
// file's layout rather than by the writer.
#include <gtest/gtest.h>

#include <string_view>

#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

using testing::TinyImage;

class Expected {
 public:
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) {
    U8(v & 0xFF);
    U8(v >> 8);
  }
  void I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  // Every text of this picture is shorter than 255 bytes: one length byte.
  void Text(std::string_view text) {
    U8(static_cast<std::uint8_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  // A 4 x 2 grey-ramp bitmap file image whose pixel (x, y) is
  // seed * 16 + y * 4 + x + 1, rows stored bottom-up.
  void Bitmap4x2(int seed) {
    U16(0x4D42);           // "BM"
    I32(1078 + 4 * 2);     // file size: headers, table, 2 rows of 4 bytes
    U16(0);
    U16(0);
    I32(1078);             // pixels follow 14 + 40 + 1024 bytes
    I32(40);               // info header size
    I32(4);                // width
    I32(2);                // height (bottom-up)
    U16(1);                // planes
    U16(8);                // bits per pixel
    for (int i = 0; i < 6; ++i) I32(0);  // compression .. colours important
    for (int i = 0; i < 256; ++i) {
      U8(static_cast<std::uint8_t>(i));
      U8(static_cast<std::uint8_t>(i));
      U8(static_cast<std::uint8_t>(i));
      U8(0);
    }
    for (int y = 1; y >= 0; --y) {
      for (int x = 0; x < 4; ++x) U8(static_cast<std::uint8_t>(seed * 16 + y * 4 + x + 1));
    }
  }

  std::vector<std::uint8_t> bytes;
};

TEST(StoreTopology, WritesTheExactBytesOfATinyPicture) {
  CMapvineDoc doc;  // no view: storing needs none
  doc.images.clear();
  for (int slot = 0; slot < kStandardImageCount; ++slot) doc.images.push_back(TinyImage(4, 2, slot));

  // Settings with values that tell the words apart.
  doc.picture.pictureHeight = 310;
  doc.picture.backgroundMode = BackgroundArrangement::Centre;
  doc.picture.pictureWidth = 510;
  doc.settings.autoGrow = 0;
  doc.settings.autoTile = 1;
  doc.placement.resizeWindowOnGrow = 1;
  doc.placement.firstPlacement = 0;
  doc.settings.activeQuery = 1;
  doc.placement.columnMode = 1;
  doc.placement.cursorX = 180;
  doc.placement.cursorY = 270;
  doc.placement.savedCursorX = 90;
  doc.placement.savedCursorY = -90;
  doc.settings.showNnOnDiscovery = 0;
  doc.settings.showEnOnDiscovery = 1;
  doc.settings.showLuOnDiscovery = 0;
  doc.settings.showUnreachable = 0;
  doc.settings.showCnOnDiscovery = 1;
  doc.settings.autoRefresh = 1;
  doc.settings.refreshSeconds = 45;
  doc.picture.composedWidth = 520;
  doc.picture.composedHeight = 320;
  doc.placement.gridSpacing = 91;
  doc.nodesAdded = 1;
  doc.settings.internalTest = 0;

  auto node = std::make_unique<CNode>();
  node->SetImage(*doc.images[7], 2, 7);
  node->SetPosition(10, 20);
  node->SetDepth(48);
  node->label = "EN1";
  node->fqName = "NETA.EN1";
  node->imageIndex = 7;
  node->nodeType = EndNode;
  node->status = ResourceStatus::Inactive;
  node->hidden = 1;
  node->directoryRecord = std::make_unique<DirectoryRecordBytes>();
  CNode& en1 = doc.InsertNode(std::move(node));

  auto link = std::make_unique<CLink>();
  link->x1 = 12;
  link->y1 = 21;
  link->x2 = 300;
  link->y2 = 40;
  link->UpdateBounds();
  link->endA = &en1;  // the other end is none
  link->ownerName = "EN1";
  link->destinationName = "NN9";
  link->title = "EN1 - NN9";
  link->tgNumber = 21;
  link->status = ResourceStatus::Active;
  link->hitTolerance = 3;
  doc.AppendLink(std::move(link));

  Expected e;
  e.Text("Kelvra Tarnwell Topology V1.01");
  for (int word : {310, 2, 510, 0, 1, 0, 1, 0, 1, 1, 180, 270, 90, -90, 0 /* reserved */, 0, 1, 0,
                   0, 1, 1, 45, 0, 0 /* reserved */, 520, 320, 91, 1, 0}) {
    e.I32(word);
  }
  e.I32(11);
  for (int slot = 0; slot < 11; ++slot) e.Bitmap4x2(slot);
  e.Text("Check1");
  e.I32(1);
  e.Bitmap4x2(7);  // the icon the node shows
  e.I32(10);
  e.I32(20);
  e.I32(48);
  e.Text("NETA.EN1");
  e.Text("EN1");
  e.I32(7);  // imageIndex
  e.I32(2);  // activeImage
  e.I32(7);  // inactiveImage
  e.I32(1);  // directory detail present
  e.I32(0);  // node detail present
  e.I32(1);  // hidden
  e.I32(2);  // nodeType
  e.I32(0);  // status
  e.Text("Check2");
  e.I32(1);
  for (int v : {11, 20, 301, 41}) e.I32(v);  // bounds: the line's rectangle grown by 1
  for (int v : {12, 21, 300, 40}) e.I32(v);
  e.Text("EN1");
  e.Text("NN9");
  e.Text("EN1 - NN9");
  e.I32(0);  // TG detail present
  e.I32(3);
  e.I32(21);
  e.I32(1);
  e.Text("NETA.EN1");
  e.Text("");

  VectorSink sink;
  ASSERT_TRUE(StoreTopology(doc, sink));
  const auto& written = sink.Bytes();
  ASSERT_EQ(written.size(), e.bytes.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    ASSERT_EQ(written[i], e.bytes[i]) << "first difference at byte " << i;
  }
}

}  // namespace
}  // namespace mapvine
