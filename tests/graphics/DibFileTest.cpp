// Reading and writing BMP file images: streams, paths, dialogs, messages and
// the bitmaps shipped with the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "graphics/CDIB.h"
#include "graphics/ResourceFiles.h"
#include "tests/graphics/DibTestBitmaps.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine {
namespace {

using dibtest::EncodeBmp;
using dibtest::LoadBytes;
using testing::ScriptedPrompts;
namespace fs = std::filesystem;

const fs::path kDataDir = fs::path(MAPVINE_SOURCE_DIR) / "tests" / "graphics" / "data";

void ExpectPattern(const CDIB& image, int width, int height) {
  ASSERT_EQ(image.GetWidth(), width);
  ASSERT_EQ(image.GetHeight(), height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(*image.PixelPtr(x, y), dibtest::PatternPixel(x, y)) << x << "," << y;
    }
  }
  for (int i : {0, 1, 100, 255}) {
    const std::uint8_t* e = image.HeaderBlock() + 40 + 4 * i;
    const dibtest::Rgb c = dibtest::PatternColor(i);
    EXPECT_EQ(e[0], c.blue);
    EXPECT_EQ(e[1], c.green);
    EXPECT_EQ(e[2], c.red);
    EXPECT_EQ(e[3], 0);
  }
}

// A scratch folder removed after each test.
class DibFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("mapvine-dib-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

TEST(DibStream, LoadsAnEightBitBitmapAndStopsAtItsEnd) {
  ScriptedPrompts prompts;
  std::vector<std::uint8_t> bytes = {1, 2, 3};
  const std::vector<std::uint8_t> bmp = EncodeBmp({.width = 13, .height = 7});
  bytes.insert(bytes.end(), bmp.begin(), bmp.end());
  bytes.insert(bytes.end(), {9, 9});
  ByteReader reader(bytes);
  ASSERT_TRUE(reader.Skip(3));
  CDIB image;
  ASSERT_TRUE(image.Load(reader));
  EXPECT_EQ(reader.Position(), 3 + bmp.size());
  EXPECT_TRUE(image.Loaded());
  EXPECT_EQ(image.RowBytes(), 16);
  EXPECT_EQ(image.Bits().size(), 16u * 7);
  ExpectPattern(image, 13, 7);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(DibStream, KeepsExactlyTheRowsAndSkipsSlackUpToFileSize) {
  std::vector<std::uint8_t> bytes = EncodeBmp({.width = 5, .height = 3});
  const std::size_t imageEnd = bytes.size();
  bytes.insert(bytes.end(), 10, 0x77);
  dibtest::PatchU32(bytes, dibtest::kAtFileSize, static_cast<std::uint32_t>(imageEnd + 6));
  ByteReader reader(bytes);
  CDIB image;
  ASSERT_TRUE(image.Load(reader));
  EXPECT_EQ(image.Bits().size(), 8u * 3);
  EXPECT_EQ(reader.Position(), imageEnd + 6);
}

TEST(DibStream, CoreHeaderBecomesAnInfoHeader) {
  CDIB image;
  ASSERT_TRUE(LoadBytes(image, EncodeBmp({.width = 9, .height = 4, .coreHeader = true})));
  ExpectPattern(image, 9, 4);
  EXPECT_EQ(LoadU32(image.HeaderBlock()), 40u);
  EXPECT_EQ(image.BitCount(), 8);
  EXPECT_EQ(image.ColorCount(), 256);
}

TEST(DibStream, SaveWritesFullHeaderBlockAndRoundTrips) {
  for (std::uint32_t colorsUsed : {0u, 256u, 300u}) {
    CDIB image;
    ASSERT_TRUE(LoadBytes(image, EncodeBmp({.width = 13, .height = 7, .colorsUsed = colorsUsed})));
    VectorSink sink;
    ASSERT_TRUE(image.Save(sink));
    const std::vector<std::uint8_t>& saved = sink.Bytes();
    ASSERT_EQ(saved.size(), 1078u + 16 * 7);
    EXPECT_EQ(LoadU16(saved.data()), 0x4D42);
    EXPECT_EQ(LoadU32(saved.data() + 2), saved.size());
    EXPECT_EQ(LoadU32(saved.data() + 6), 0u);
    EXPECT_EQ(LoadU32(saved.data() + 10), 1078u);
    EXPECT_EQ(LoadU32(saved.data() + 14 + 32), colorsUsed);

    CDIB reloaded;
    ByteReader reader(saved);
    ASSERT_TRUE(reloaded.Load(reader));
    EXPECT_EQ(reader.Position(), saved.size());
    EXPECT_TRUE(reloaded.IsSameImage(image));
    ExpectPattern(reloaded, 13, 7);
  }
}

TEST(DibStream, OnlyTwoHundredFiftySixColourImagesAreAccepted) {
  const struct {
    const char* what;
    dibtest::BmpDescription bmp;
    bool accepted;
  } cases[] = {
      {"236 colours used", {.colorsUsed = 236}, false},
      {"no colour count", {.colorsUsed = 0}, true},
      {"more than 256 counts as 256", {.colorsUsed = 1000}, true},
      {"4 bits per pixel", {.bitCount = 4}, false},
      {"24 bits per pixel", {.bitCount = 24}, false},
      {"16 bits with a 256-entry table", {.bitCount = 16, .colorsUsed = 256}, false},
      {"core header, 4 bits", {.bitCount = 4, .coreHeader = true}, false},
  };
  for (const auto& c : cases) {
    ScriptedPrompts prompts;
    CDIB image;
    EXPECT_EQ(LoadBytes(image, EncodeBmp(c.bmp)).reason, c.accepted ? "" : CDIB::kOnly256Colors) << c.what;
    EXPECT_TRUE(prompts.messages.empty() && prompts.warnings.empty()) << c.what;  // the caller shows it
    EXPECT_EQ(image.GetWidth(), c.accepted ? 5 : 16) << c.what;
  }
}

TEST_F(DibFiles, LoadsTheTestBitmapsByPath) {
  CDIB image;
  ASSERT_TRUE(image.Load((kDataDir / "pattern13x7.bmp").string()));
  ExpectPattern(image, 13, 7);
  ASSERT_TRUE(image.Load((kDataDir / "core9x4.bmp").string()));
  ExpectPattern(image, 9, 4);
}

TEST_F(DibFiles, EmptyPathAsksWithTheOpenDialog) {
  ScriptedPrompts prompts;
  CDIB image;
  EXPECT_TRUE(image.Load(std::string()).Cancelled());
  ASSERT_EQ(prompts.filters.size(), 1u);
  EXPECT_EQ(prompts.filters[0], CDIB::kFileFilter);
  EXPECT_EQ(image.GetWidth(), 16);

  prompts.fileNames.push_back((kDataDir / "square16.bmp").string());
  ASSERT_TRUE(image.Load(std::string()));
  ExpectPattern(image, 16, 16);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DibFiles, RefusedFilesNameTheFileAndTheReason) {
  ScriptedPrompts prompts;
  std::ofstream(PathOf("picture.png")) << "\x89PNG\r\n\x1a\n";
  for (const auto& [path, reason] : {std::pair{PathOf("missing.bmp"), "Failed to open file \"%\": No such file or directory"},
                                     std::pair{folder_.string(), "Failed to open file \"%\": Is a directory"},
                                     std::pair{PathOf("picture.png"), "Cannot use the image \"%\".\nNot a BMP file"}}) {
    CDIB image;
    std::string expected = reason;
    expected.replace(expected.find('%'), 1, path);
    EXPECT_EQ(image.Load(path).reason, expected);
    EXPECT_EQ(image.GetWidth(), 16);
  }
  EXPECT_TRUE(prompts.messages.empty() && prompts.warnings.empty());  // the caller shows it
}

TEST_F(DibFiles, SaveWritesTheFileAndReadsBack) {
  ScriptedPrompts prompts;
  CDIB image;
  ASSERT_TRUE(image.Load((kDataDir / "pattern13x7.bmp").string()));
  const std::string path = PathOf("out.bmp");
  ASSERT_TRUE(image.Save(path));
  EXPECT_EQ(fs::file_size(path), 1078u + 16 * 7);
  CDIB reloaded;
  ASSERT_TRUE(reloaded.Load(path));
  EXPECT_TRUE(reloaded.IsSameImage(image));

  // An existing file is replaced, not appended to.
  ASSERT_TRUE(image.Create(4, 1));
  ASSERT_TRUE(image.Save(path));
  EXPECT_EQ(fs::file_size(path), 1078u + 4);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DibFiles, SaveDialogAndFailureMessages) {
  ScriptedPrompts prompts;
  CDIB image;
  EXPECT_FALSE(image.Save(std::string()));
  EXPECT_EQ(prompts.filters, std::vector<std::string>{std::string(CDIB::kFileFilter)});
  EXPECT_TRUE(prompts.messages.empty());

  prompts.fileNames.push_back(PathOf("chosen.bmp"));
  EXPECT_TRUE(image.Save(std::string()));
  EXPECT_TRUE(fs::exists(PathOf("chosen.bmp")));

  EXPECT_FALSE(image.Save(PathOf("no/such/folder.bmp")));
  EXPECT_EQ(prompts.warnings, std::vector<std::string>{"Failed to open file \"" + PathOf("no/such/folder.bmp") +
                                                       "\": No such file or directory"});

  if (fs::exists("/dev/full")) {
    prompts.messages.clear();
    EXPECT_FALSE(image.Save("/dev/full"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{std::string(CDIB::kFailedToSave)});
  }
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (previous_) {
      ::setenv(name_, previous_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

TEST_F(DibFiles, ResourcesComeFromTheConfiguredFolderFirst) {
  ScopedEnv env("MAPVINE_RESOURCES", kDataDir.string());
  const std::optional<std::string> found = FindResourceFile("core9x4.bmp");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(fs::path(*found), kDataDir / "core9x4.bmp");
  EXPECT_FALSE(FindResourceFile("no-such-bitmap.bmp").has_value());
  EXPECT_FALSE(FindResourceFile("../data/core9x4.bmp").has_value());
  EXPECT_FALSE(FindResourceFile("").has_value());

  CDIB image;
  ASSERT_TRUE(image.LoadFromResource("core9x4.bmp"));
  ExpectPattern(image, 9, 4);
  EXPECT_TRUE(image.Loaded());
  EXPECT_FALSE(image.LoadFromResource("no-such-bitmap.bmp"));
  EXPECT_EQ(image.GetWidth(), 9);
}

TEST(DibShipped, StandardBitmapsLoadFromTheResourceFolder) {
  for (const char* name : {"NN.BMP", "EN.BMP", "LU.BMP", "CN.BMP", "MN.BMP", "NNI.BMP", "ENI.BMP",
                           "LUI.BMP", "CNI.BMP", "MNI.BMP", "backblue.bmp"}) {
    CDIB image;
    EXPECT_TRUE(image.LoadFromResource(name)) << name;
    EXPECT_EQ(image.BitCount(), 8) << name;
  }
}

TEST_F(DibFiles, BitmapsInTheCurrentFolderWinOverShippedOnes) {
  ScopedEnv env("MAPVINE_RESOURCES", kDataDir.string());
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  EXPECT_EQ(FindBitmapFile("square16.bmp"), (kDataDir / "square16.bmp").string());
  std::ofstream(folder_ / "square16.bmp") << "local";
  EXPECT_EQ(FindBitmapFile("square16.bmp"), std::string("square16.bmp"));
  EXPECT_FALSE(FindBitmapFile("/etc/passwd").has_value());
  fs::current_path(previous);
}

}  // namespace
}  // namespace mapvine
