// Damaged and hostile bitmaps: each must be refused without harm, leaving the
// image and the reader where they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "graphics/CDIB.h"
#include "tests/graphics/DibTestBitmaps.h"
#include "tests/support/ScriptedPrompts.h"

namespace mapvine {
namespace {

using dibtest::EncodeBmp;
using dibtest::PatchU16;
using dibtest::PatchU32;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kLeading = 5;  // the bitmap starts inside a longer stream

struct Refusal {
  bool refused = false;
  std::string reason;
  bool messageShown = false;
  std::string problem;  // empty when the refusal left everything in place
};

// Loads `bmp` placed after a few other bytes into an image that already
// shows a picture, and reports what changed.
Refusal TryLoad(const Bytes& bmp) {
  testing::ScriptedPrompts prompts;
  Bytes stream(kLeading + bmp.size(), 0x42);
  std::copy(bmp.begin(), bmp.end(), stream.begin() + kLeading);
  ByteReader reader(stream);
  reader.Skip(kLeading);

  CDIB image;
  CDIB original;
  image.Create(7, 2);
  for (std::uint8_t& b : image.Bits()) b = 0x5A;
  original.CopyPixels({image.HeaderBlock(), CDIB::kHeaderBlockSize}, image.Bits());

  Refusal result;
  result.reason = image.Load(reader).reason;
  result.refused = !result.reason.empty();
  result.messageShown = !prompts.messages.empty() || !prompts.warnings.empty();
  if (!image.IsSameImage(original) || image.Bits().size() != original.Bits().size()) {
    result.problem += "image changed; ";
  }
  if (reader.Position() != kLeading) result.problem += "reader moved; ";

  // Stepping over the bitmap judges it as loading does and ends where the
  // load ended.
  testing::ScriptedPrompts skipPrompts;
  ByteReader skipper(stream);
  skipper.Skip(kLeading);
  if (CDIB::Skip(skipper) == result.refused) result.problem += "skip judged otherwise; ";
  if (skipper.Position() != reader.Position()) result.problem += "skip ended elsewhere; ";
  if (skipPrompts.messages.empty() == result.messageShown) result.problem += "skip message; ";
  return result;
}

Bytes Valid() { return EncodeBmp({.width = 5, .height = 3}); }  // 1078 + 8 x 3 bytes
Bytes ValidCore() { return EncodeBmp({.width = 5, .height = 3, .coreHeader = true}); }

Bytes With(Bytes bytes, const std::function<void(Bytes&)>& change) {
  change(bytes);
  return bytes;
}
std::function<void(Bytes&)> SetU32(std::size_t at, std::uint32_t value) {
  return [=](Bytes& b) { PatchU32(b, at, value); };
}

TEST(MalformedBmp, DamagedHeadersAreRefusedQuietlyWithAReason) {
  using namespace dibtest;
  const std::uint32_t size = static_cast<std::uint32_t>(Valid().size());
  const struct {
    const char* what;
    Bytes bmp;
  } cases[] = {
      {"empty", {}},
      {"wrong signature", With(Valid(), [](Bytes& b) { b[1] = 'A'; })},
      {"header size 0", With(Valid(), SetU32(kAtHeaderSize, 0))},
      {"header size 41", With(Valid(), SetU32(kAtHeaderSize, 41))},
      {"header size 108", With(Valid(), SetU32(kAtHeaderSize, 108))},
      {"width 0", With(Valid(), SetU32(kAtWidth, 0))},
      {"negative width", With(Valid(), SetU32(kAtWidth, 0xFFFFFFFB))},
      {"width beyond limit", With(Valid(), SetU32(kAtWidth, 32769))},
      {"height 0", With(Valid(), SetU32(kAtHeight, 0))},
      {"top-down", With(Valid(), SetU32(kAtHeight, 0xFFFFFFFD))},
      {"height beyond limit", With(Valid(), SetU32(kAtHeight, 32769))},
      {"both sides at the limit", With(With(Valid(), SetU32(kAtWidth, 32768)), SetU32(kAtHeight, 32768))},
      {"run-length compressed", With(Valid(), SetU32(kAtCompression, 1))},
      {"pixel offset 0", With(Valid(), SetU32(kAtPixelOffset, 0))},
      {"pixel offset all ones", With(Valid(), SetU32(kAtPixelOffset, 0xFFFFFFFF))},
      {"pixel offset inside colour table", With(Valid(), SetU32(kAtPixelOffset, 1077))},
      {"pixel offset beyond data", With(Valid(), SetU32(kAtPixelOffset, size + 1))},
      {"file size below pixel offset", With(Valid(), SetU32(kAtFileSize, 1000))},
      {"file size beyond data", With(Valid(), SetU32(kAtFileSize, size + 1))},
      {"file size all ones", With(Valid(), SetU32(kAtFileSize, 0xFFFFFFFF))},
      {"one pixel byte short", With(Valid(), SetU32(kAtFileSize, size - 1))},
      {"rows beyond pixel bytes", With(Valid(), SetU32(kAtHeight, 4))},
      {"core width 0", With(ValidCore(), [](Bytes& b) { PatchU16(b, 18, 0); })},
      {"core pixel offset inside table", With(ValidCore(), SetU32(kAtPixelOffset, 14 + 12 + 700))},
  };
  for (const auto& c : cases) {
    const Refusal r = TryLoad(c.bmp);
    EXPECT_TRUE(r.refused) << c.what;
    EXPECT_FALSE(r.messageShown) << c.what;
    EXPECT_FALSE(r.reason.empty()) << c.what;
    EXPECT_EQ(r.problem, "") << c.what;
  }
}

// A cut at every length crosses each boundary: file header, header, colour
// table and pixels.
TEST(MalformedBmp, EveryTruncationIsRefused) {
  for (const Bytes& whole : {Valid(), ValidCore()}) {
    for (std::size_t length = 0; length < whole.size(); ++length) {
      const Refusal r = TryLoad(Bytes(whole.begin(), whole.begin() + length));
      ASSERT_TRUE(r.refused) << "cut at " << length << " of " << whole.size();
      ASSERT_FALSE(r.messageShown) << "cut at " << length;
      ASSERT_FALSE(r.reason.empty()) << "cut at " << length;
      ASSERT_EQ(r.problem, "") << "cut at " << length;
    }
    const Refusal r = TryLoad(whole);
    EXPECT_FALSE(r.refused);
    EXPECT_EQ(r.problem.find("skip"), std::string::npos) << r.problem;
  }
}

TEST(MalformedBmp, ColourRefusalsAlsoLeaveEverythingInPlace) {
  const Bytes cases[] = {
      EncodeBmp({.colorsUsed = 236}),
      EncodeBmp({.bitCount = 24}),
      EncodeBmp({.bitCount = 16, .colorsUsed = 256}),
  };
  for (const Bytes& bmp : cases) {
    const Refusal r = TryLoad(bmp);
    EXPECT_TRUE(r.refused);
    EXPECT_FALSE(r.messageShown);
    EXPECT_EQ(r.reason, CDIB::kOnly256Colors);
    EXPECT_EQ(r.problem, "");
  }
}

}  // namespace
}  // namespace mapvine
