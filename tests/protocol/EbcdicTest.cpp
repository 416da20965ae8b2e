#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "protocol/Ebcdic.h"
#include "protocol/SnaNames.h"

namespace mapvine {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::array<std::uint8_t, 17> Field(const Bytes& bytes) {
  std::array<std::uint8_t, 17> field{};
  field.fill(0x40);
  std::copy(bytes.begin(), bytes.end(), field.begin());
  return field;
}

TEST(EbcdicTables, SpotEntriesFromBothTables) {
  struct Case { std::uint8_t from; std::uint8_t to; };
  for (const Case c : std::initializer_list<Case>{{'A', 0xC1}, {'I', 0xC9}, {'J', 0xD1}, {'R', 0xD9}, {'S', 0xE2},
                                                  {'Z', 0xE9}, {'a', 0x81}, {'z', 0xA9}, {'0', 0xF0}, {'9', 0xF9},
                                                  {' ', 0x40}, {'.', 0x4B}, {'$', 0x5B}, {'#', 0x7B}, {'@', 0x7C},
                                                  {'\\', 0xE0}, {'`', 0x79}, {'~', 0xA1}, {'{', 0xC0}, {'}', 0xD0},
                                                  {0x7F, 0x07}, {0x04, 0x37}, {0x1A, 0x3F}}) {
    EXPECT_EQ(kAsciiToEbcdicTable[c.from], c.to) << "ASCII " << int(c.from);
    EXPECT_EQ(kEbcdicToAsciiTable[c.to], c.from) << "EBCDIC " << int(c.to);
  }
}

TEST(EbcdicTables, OnlyTheListedBytesFailToRoundTrip) {
  // ASCII bytes that have an EBCDIC form but do not come back.
  std::set<int> oneWay;
  std::set<int> noForm;
  for (int a = 0; a < 256; ++a) {
    const std::uint8_t e = kAsciiToEbcdicTable[a];
    if (e == 0xFF) {
      noForm.insert(a);
    } else if (kEbcdicToAsciiTable[e] != a) {
      oneWay.insert(a);
      EXPECT_EQ(kEbcdicToAsciiTable[e], 0xFF) << a;
    }
  }
  EXPECT_EQ(oneWay, (std::set<int>{0x0A, 0x1D, 0x1E, 0x1F}));
  std::set<int> expectedNoForm{'[', ']'};
  for (int a = 0x80; a < 0x100; ++a) expectedNoForm.insert(a);
  EXPECT_EQ(noForm, expectedNoForm);
  EXPECT_EQ(kAsciiToEbcdicTable[0x0A], 0x25);
  EXPECT_EQ(kAsciiToEbcdicTable['^'], 0x5F);
  EXPECT_EQ(kAsciiToEbcdicTable['|'], 0x6A);
  EXPECT_EQ(kEbcdicToAsciiTable[0x5F], '^');
  EXPECT_EQ(kEbcdicToAsciiTable[0x6A], '|');
}

TEST(EbcdicTables, EveryDecodableEbcdicByteEncodesBack) {
  int decodable = 0;
  for (int e = 0; e < 256; ++e) {
    const std::uint8_t a = kEbcdicToAsciiTable[e];
    if (a == 0xFF) continue;
    ++decodable;
    EXPECT_EQ(kAsciiToEbcdicTable[a], e) << e;
  }
  // 128 ASCII bytes less the six without a way back.
  EXPECT_EQ(decodable, 122);
}

TEST(EbcdicConversion, ConvertsInPlaceAndCounts) {
  Bytes text{'N', 'e', 't', '1', '['};
  AsciiToEbcdic(text);
  EXPECT_EQ(text, (Bytes{0xD5, 0x85, 0xA3, 0xF1, 0xFF}));
  EXPECT_EQ(EbcdicToAscii(text), 5u);
  EXPECT_EQ(text, (Bytes{'N', 'e', 't', '1', 0xFF}));
}

TEST(DecodeName, EdgeCases) {
  struct Case { const char* what; std::array<std::uint8_t, 17> field; std::string text; };
  const std::vector<Case> cases = {
      {"all blanks", Field({}), ""},
      {"first byte zero", Field({0x00, 0xC1, 0xC2}), ""},
      {"padded", Field({0xD5, 0xC5, 0xE3, 0xC1, 0x4B, 0xD5, 0xD5, 0xF1}), "NETA.NN1"},
      {"cut at zero", Field({0xC1, 0xC2, 0x00, 0xC3}), "AB"},
      {"inner blank kept", Field({0xC1, 0x40, 0xC2}), "A B"},
      {"no counterpart kept", Field({0xC1, 0xB0}), "A\xFF"},
      {"full width", Field({0xD5, 0xC5, 0xE3, 0xE6, 0xD6, 0xD9, 0xD2, 0xF1, 0x4B, 0xC3, 0xD6, 0xD5, 0xE3, 0xD9,
                            0xD6, 0xD3, 0xF1}),
       "NETWORK1.CONTROL1"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeName(c.field), c.text) << c.what;
}

TEST(ShortName, TakesTheTextAfterTheFirstDot) {
  EXPECT_EQ(ShortName("NETA.NN1"), "NN1");
  EXPECT_EQ(ShortName("LONELY"), "LONELY");
  EXPECT_EQ(ShortName("A.B.C"), "B.C");
  EXPECT_EQ(ShortName("NETA."), "");
  EXPECT_EQ(ShortName(""), "");
}

TEST(EncodeName, UpperCasesConvertsAndPads) {
  std::array<std::uint8_t, 17> field{};
  EncodeName("apingd", std::span(field).first(6));
  EXPECT_EQ(Bytes(field.begin(), field.begin() + 6), (Bytes{0xC1, 0xD7, 0xC9, 0xD5, 0xC7, 0xC4}));
  EXPECT_EQ(field[6], 0x00) << "wrote outside the span";

  EncodeName("neta.en1", field);
  EXPECT_EQ(DecodeName(field), "NETA.EN1");
  EXPECT_EQ(field[8], 0x40);
  EXPECT_EQ(field[16], 0x40);

  EncodeName("NETWORK1.CONTROL1TOOLONG", field);
  EXPECT_EQ(DecodeName(field), "NETWORK1.CONTROL1");
}

}  // namespace
}  // namespace mapvine
