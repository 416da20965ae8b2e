#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/TopologyStrings.h"

namespace mapvine::topology {
namespace {

struct PrefixCase {
  std::size_t length;
  std::vector<std::uint8_t> prefix;
};

TEST(CountedString, LengthDecidesThePrefixForm) {
  const PrefixCase cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const PrefixCase& c : cases) {
    std::string text(c.length, 'x');
    if (!text.empty()) text.back() = 'z';
    VectorSink sink;
    ASSERT_TRUE(WriteCountedString(sink, text));
    const auto& bytes = sink.Bytes();
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
    EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;

    ByteReader reader(bytes);
    std::string back;
    ASSERT_TRUE(ReadCountedString(reader, back)) << c.length;
    EXPECT_EQ(back, text);
    EXPECT_EQ(reader.Remaining(), 0u);
  }
}

TEST(CountedString, KeepsEveryByteValue) {
  std::string text;
  for (int i = 0; i < 256; ++i) text.push_back(static_cast<char>(i));
  VectorSink sink;
  ASSERT_TRUE(WriteCountedString(sink, text));
  ByteReader reader(sink.Bytes());
  std::string back;
  ASSERT_TRUE(ReadCountedString(reader, back));
  EXPECT_EQ(back, text);
}

TEST(CountedString, ReadsTheFollowingItemRightAfterTheText) {
  VectorSink sink;
  ASSERT_TRUE(WriteCountedString(sink, std::string(300, 'a')));
  ASSERT_TRUE(WriteCountedString(sink, "Check1"));
  ByteReader reader(sink.Bytes());
  std::string first, second;
  ASSERT_TRUE(ReadCountedString(reader, first));
  ASSERT_TRUE(ReadCountedString(reader, second));
  EXPECT_EQ(first.size(), 300u);
  EXPECT_EQ(second, "Check1");
}

TEST(CountedString, RefusesPrefixesAndTextsRunningPastTheEnd) {
  const std::vector<std::vector<std::uint8_t>> damaged = {
      {},
      {0x03, 'a', 'b'},
      {0xFF},
      {0xFF, 0x01},
      {0xFF, 0x00, 0x01, 'a'},
      {0xFF, 0xFF, 0xFF, 0x10, 0x00},
      {0xFF, 0xFF, 0xFF, 0x10, 0x00, 0x00, 0x00, 'a'},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
      // 0xFFFE is never a 16-bit length.
      {0xFF, 0xFE, 0xFF, 'a'},
  };
  for (const auto& bytes : damaged) {
    ByteReader reader(bytes);
    std::string text = "unchanged";
    EXPECT_FALSE(ReadCountedString(reader, text)) << bytes.size();
    EXPECT_EQ(reader.Position(), 0u);
  }
}

// Accepts `limit` bytes, then refuses every write.
class ShortSink final : public ByteSink {
 public:
  explicit ShortSink(std::size_t limit) : limit_(limit) {}
  bool Write(std::span<const std::uint8_t> bytes) override {
    if (written_ + bytes.size() > limit_) return false;
    written_ += bytes.size();
    return true;
  }

 private:
  std::size_t limit_;
  std::size_t written_ = 0;
};

TEST(CountedString, ReportsAFailedWriteInEveryForm) {
  for (std::size_t length : {10u, 300u, 70000u}) {
    const std::string text(length, 'q');
    VectorSink full;
    WriteCountedString(full, text);
    for (std::size_t limit : {std::size_t{0}, std::size_t{1}, full.Bytes().size() - 1}) {
      ShortSink sink(limit);
      EXPECT_FALSE(WriteCountedString(sink, text)) << length << " " << limit;
    }
  }
}

}  // namespace
}  // namespace mapvine::topology
