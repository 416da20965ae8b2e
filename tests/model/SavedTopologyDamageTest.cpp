// Damaged, truncated and foreign files are refused as a whole and leave a
// new, empty picture; documents a load would refuse are never written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "graphics/CDIBLayout.h"
#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

using testing::DocumentWithView;
using testing::ExpectFreshPicture;
using testing::GetI32;
using testing::PutI32;
using testing::ScriptedPrompts;
using testing::SmallPicture;
using testing::Stored;

using Bytes = std::vector<std::uint8_t>;

// Where the fields of a SmallPicture file lie. Its texts are all shorter
// than 255 bytes, so every length prefix is one byte.
struct Layout {
  static constexpr std::size_t kSettings = 31;  // after the signature
  static constexpr std::size_t kImageCount = kSettings + 116;
  static constexpr std::size_t kFirstImage = kImageCount + 4;
  std::size_t check1, nodeCount, nodeIcon, nodeX, nodeInts, check2, linkCount, linkInts;

  explicit Layout(const Bytes& b) {
    check1 = testing::Find(b, "\x06" "Check1");
    nodeCount = check1 + 7;
    nodeIcon = nodeCount + 4;
    nodeX = nodeIcon + static_cast<std::size_t>(GetI32(b, nodeIcon + 2));
    const std::size_t fq = nodeX + 12;
    const std::size_t label = fq + 1 + b[fq];
    nodeInts = label + 1 + b[label];  // imageIndex, activeImage, inactiveImage, ...
    check2 = testing::Find(b, "\x06" "Check2");
    linkCount = check2 + 7;
    std::size_t text = linkCount + 4 + 32;  // after bounds and both points
    for (int i = 0; i < 3; ++i) text += 1 + b[text];
    linkInts = text;  // TG detail present, hitTolerance, tgNumber, status
  }
};

struct Damage {
  const char* what;
  std::function<void(Bytes&, const Layout&)> apply;
};

std::size_t Word(int index) { return Layout::kSettings + 4 * static_cast<std::size_t>(index); }

const std::vector<Damage>& Damages() {
  static const std::vector<Damage> damages = {
      {"negative picture width", [](Bytes& b, const Layout&) { PutI32(b, Word(2), -200); }},
      {"picture taller than any image", [](Bytes& b, const Layout&) { PutI32(b, Word(0), 40000); }},
      {"unknown background mode", [](Bytes& b, const Layout&) { PutI32(b, Word(1), 3); }},
      {"flag that is neither 0 nor 1", [](Bytes& b, const Layout&) { PutI32(b, Word(3), 2); }},
      {"cursor far outside any picture", [](Bytes& b, const Layout&) { PutI32(b, Word(10), 1 << 30); }},
      {"refresh every 0 seconds", [](Bytes& b, const Layout&) { PutI32(b, Word(21), 0); }},
      {"refresh every 32001 seconds", [](Bytes& b, const Layout&) { PutI32(b, Word(21), 32001); }},
      {"grid spacing 0", [](Bytes& b, const Layout&) { PutI32(b, Word(26), 0); }},
      {"negative grid spacing", [](Bytes& b, const Layout&) { PutI32(b, Word(26), -90); }},
      {"image count beyond the file", [](Bytes& b, const Layout&) { PutI32(b, Layout::kImageCount, 0x7FFFFFFF); }},
      {"negative image count", [](Bytes& b, const Layout&) { PutI32(b, Layout::kImageCount, -1); }},
      {"no standard icons", [](Bytes& b, const Layout&) { PutI32(b, Layout::kImageCount, 1); }},
      {"image block without its signature", [](Bytes& b, const Layout&) { b[Layout::kFirstImage] = 'X'; }},
      {"image block longer than the file",
       [](Bytes& b, const Layout&) { PutI32(b, Layout::kFirstImage + 2, 0x7FFFFFF0); }},
      {"image of zero width", [](Bytes& b, const Layout&) { PutI32(b, Layout::kFirstImage + 18, 0); }},
      {"image of 24 bits per pixel",
       [](Bytes& b, const Layout&) { b[Layout::kFirstImage + 28] = 24; }},
      {"first marker misspelt", [](Bytes& b, const Layout& l) { b[l.check1 + 6] = '3'; }},
      {"node count beyond the file", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeCount, 1 << 30); }},
      {"negative node count", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeCount, -3); }},
      {"node icon block broken", [](Bytes& b, const Layout& l) { b[l.nodeIcon + 1] = 'N'; }},
      {"node icon of 4 bits per pixel", [](Bytes& b, const Layout& l) { b[l.nodeIcon + 28] = 4; }},
      {"node far outside any picture", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeX, -(1 << 30)); }},
      {"node depth at the end of int", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeX + 8, 0x7FFFFFFF); }},
      {"image index past the table", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts, 11); }},
      {"negative active image", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts + 4, -1); }},
      {"inactive image past the table", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts + 8, 99); }},
      {"hidden neither 0 nor 1", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts + 20, 5); }},
      {"unknown node type", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts + 24, 9); }},
      {"node status neither 0 nor 1", [](Bytes& b, const Layout& l) { PutI32(b, l.nodeInts + 28, -1); }},
      {"label running past the end",
       [](Bytes& b, const Layout& l) {
         const std::size_t label = l.nodeX + 13 + b[l.nodeX + 12];
         b[label] = 0xFF;
         b[label + 1] = 0xFF;
         b[label + 2] = 0xFF;
         PutI32(b, label + 3, 0x7FFFFFFF);
       }},
      {"second marker in other case", [](Bytes& b, const Layout& l) { b[l.check2 + 1] = 'c'; }},
      {"link count beyond the file", [](Bytes& b, const Layout& l) { PutI32(b, l.linkCount, 1 << 28); }},
      {"link point far outside", [](Bytes& b, const Layout& l) { PutI32(b, l.linkCount + 4 + 16, 1 << 30); }},
      {"link status neither 0 nor 1", [](Bytes& b, const Layout& l) { PutI32(b, l.linkInts + 12, 2); }},
  };
  return damages;
}

TEST(LoadTopology, RefusesDamagedFilesAndLeavesANewPicture) {
  SmallPicture source;
  const Bytes good = Stored(source.doc);
  const Layout layout(good);
  {
    DocumentWithView d;
    ASSERT_EQ(LoadTopology(d.doc, good), LoadOutcome::Loaded);  // the untouched file is fine
  }
  for (const Damage& damage : Damages()) {
    SCOPED_TRACE(damage.what);
    Bytes bytes = good;
    damage.apply(bytes, layout);
    ASSERT_NE(bytes, good);
    DocumentWithView d;
    d.doc.NewNode("OLD", "NETA.OLD", NetworkNode, nullptr, nullptr);
    ScriptedPrompts prompts;
    EXPECT_EQ(LoadTopology(d.doc, bytes), LoadOutcome::Corrupted);
    // One message, the file's, also for a damaged image inside it.
    EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(kCorruptedFile)});
    ExpectFreshPicture(d);
  }
}

TEST(LoadTopology, RefusesForeignSignatures) {
  SmallPicture source;
  const Bytes good = Stored(source.doc);
  Bytes lowerCase = good;
  lowerCase[1] = 'k';  // "kelvra ..."
  Bytes otherVersion = good;
  otherVersion[30] = '2';
  const Bytes truncatedSignature(good.begin(), good.begin() + 10);
  const Bytes bitmap = {'B', 'M', 0x36, 0x04, 0, 0};
  const std::vector<Bytes> foreign = {lowerCase, otherVersion, {}, truncatedSignature, bitmap};
  for (const Bytes& bytes : foreign) {
    DocumentWithView d;
    d.doc.NewNode("OLD", "NETA.OLD", NetworkNode, nullptr, nullptr);
    d.doc.settings.autoRefresh = 1;
    ScriptedPrompts prompts;
    EXPECT_EQ(LoadTopology(d.doc, bytes), LoadOutcome::InvalidFormat) << bytes.size();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(kInvalidFileFormat)});
    ExpectFreshPicture(d);
  }
}

// Runs in a folder of 1 x 1 standard bitmaps, which the current directory
// lends every new picture: each refusal sets up a new picture, and with
// small bitmaps thousands of them stay quick.
class TinyStandardBitmaps {
 public:
  TinyStandardBitmaps() : previous_(std::filesystem::current_path()) {
    folder_ = std::filesystem::temp_directory_path() /
              ("mapvine-tiny-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    for (const char* name : {"NN.BMP", "EN.BMP", "LU.BMP", "CN.BMP", "MN.BMP", "NNI.BMP",
                             "ENI.BMP", "LUI.BMP", "CNI.BMP", "MNI.BMP", "backblue.bmp"}) {
      CDIB image;
      image.Create(1, 1);
      EXPECT_TRUE(image.Save((folder_ / name).string()));
    }
    std::filesystem::current_path(folder_);
  }
  ~TinyStandardBitmaps() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

TEST(LoadTopology, RefusesEveryPrefixOfAValidFile) {
  TinyStandardBitmaps bitmaps;
  // One node, a link to it from a node not stored, and one to itself.
  CNode notStored;
  notStored.fqName = "NETA.NN2";
  DocumentWithView source;
  testing::UseTinyImages(source.doc);
  source.doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  CNode& nn1 = *source.doc.FindNode("NN1");
  source.doc.NewLink(nn1, notStored);
  source.doc.NewLink(nn1, nn1);
  const Bytes good = Stored(source.doc);

  DocumentWithView d;
  ScriptedPrompts prompts;
  for (std::size_t size = 0; size < good.size(); ++size) {
    const std::span<const std::uint8_t> prefix(good.data(), size);
    ASSERT_NE(LoadTopology(d.doc, prefix), LoadOutcome::Loaded) << size;
    ASSERT_TRUE(d.doc.Nodes().empty()) << size;
    ASSERT_TRUE(d.doc.Links().empty()) << size;
    ASSERT_EQ(d.doc.images.size(), static_cast<std::size_t>(kStandardImageCount)) << size;
    ASSERT_EQ(d.doc.workingImages.size(), d.doc.images.size()) << size;
    ASSERT_NE(d.doc.composedBackground, nullptr) << size;
  }
  EXPECT_EQ(prompts.messages.size(), good.size());
  ExpectFreshPicture(d);
  EXPECT_EQ(LoadTopology(d.doc, good), LoadOutcome::Loaded);
  EXPECT_EQ(d.doc.Nodes().size(), 1u);
  EXPECT_EQ(d.doc.Links().size(), 2u);
}

TEST(LoadTopology, IgnoresBytesAfterTheLastLink) {
  SmallPicture source;
  Bytes bytes = Stored(source.doc);
  bytes.insert(bytes.end(), {1, 2, 3});
  DocumentWithView d;
  EXPECT_EQ(LoadTopology(d.doc, bytes), LoadOutcome::Loaded);
  EXPECT_EQ(d.doc.Links().size(), 3u);
}

struct Unstorable {
  const char* what;
  std::function<void(CMapvineDoc&)> apply;
};

TEST(StoreTopology, RefusesWhatALoadWouldRefuseAndWritesNothing) {
  const Unstorable cases[] = {
      {"an icon of 200 colours",
       [](CMapvineDoc& doc) { StoreU32(doc.images[3]->HeaderBlock() + dib::kBiClrUsed, 200); }},
      {"no standard icons", [](CMapvineDoc& doc) { doc.images.resize(5); }},
      {"an empty background slot", [](CMapvineDoc& doc) { doc.images[0].reset(); }},
      {"a node showing a slot past the table",
       [](CMapvineDoc& doc) { doc.FindNode("EN2")->imageIndex = 11; }},
      {"a node of no kind", [](CMapvineDoc& doc) { doc.FindNode("EN2")->nodeType = 0; }},
      {"a node far outside any picture",
       [](CMapvineDoc& doc) { doc.FindNode("EN2")->SetPosition(1 << 25, 0); }},
      {"refresh every 0 seconds", [](CMapvineDoc& doc) { doc.settings.refreshSeconds = 0; }},
      {"a negative grid", [](CMapvineDoc& doc) { doc.placement.gridSpacing = -90; }},
      {"a picture wider than any image", [](CMapvineDoc& doc) { doc.picture.pictureWidth = 40000; }},
  };
  for (const Unstorable& c : cases) {
    SCOPED_TRACE(c.what);
    SmallPicture picture;
    c.apply(picture.doc);
    VectorSink sink;
    EXPECT_FALSE(StoreTopology(picture.doc, sink));
    EXPECT_TRUE(sink.Bytes().empty());
  }
}

// Takes `limit` bytes, then fails every write; notes any write tried after
// a failure.
class FullDiskSink final : public ByteSink {
 public:
  explicit FullDiskSink(std::size_t limit) : limit_(limit) {}
  bool Write(std::span<const std::uint8_t> bytes) override {
    if (failed_) wroteAfterFailure = true;
    if (written_ + bytes.size() > limit_) {
      failed_ = true;
      return false;
    }
    written_ += bytes.size();
    return true;
  }
  bool wroteAfterFailure = false;

 private:
  std::size_t limit_;
  std::size_t written_ = 0;
  bool failed_ = false;
};

TEST(StoreTopology, ReportsAFailedWriteAtEveryOffset) {
  SmallPicture picture;
  const std::size_t size = Stored(picture.doc).size();
  for (std::size_t limit = 0; limit < size; ++limit) {
    FullDiskSink sink(limit);
    ASSERT_FALSE(StoreTopology(picture.doc, sink)) << limit;
    ASSERT_FALSE(sink.wroteAfterFailure) << limit;
  }
  FullDiskSink roomy(size);
  EXPECT_TRUE(StoreTopology(picture.doc, roomy));
}

}  // namespace
}  // namespace mapvine
