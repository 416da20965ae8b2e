#include <gtest/gtest.h>

#include <set>
#include <string>

#include "protocol/ReturnCodes.h"

namespace mapvine {
namespace {

TEST(PrimaryRcText, NamedCodesAndFallback) {
  EXPECT_EQ(PrimaryRcText(0x0000), "OK");
  EXPECT_EQ(PrimaryRcText(0x0100), "PARAMETER_CHECK");
  EXPECT_EQ(PrimaryRcText(0x04F0), "COMM_SUBSYSTEM_NOT_LOADED");
  EXPECT_EQ(PrimaryRcText(0x11F0), "UNEXPECTED_SYSTEM_ERROR");
  EXPECT_EQ(PrimaryRcText(0x2100), "CANCELLED");
  EXPECT_EQ(PrimaryRcText(0xFFFF), "INVALID_VERB");
  for (std::uint16_t unknown : {0x0001, 0x0101, 0x1500, 0xFFFE}) {
    EXPECT_EQ(PrimaryRcText(unknown), "Unknown Primary RC") << unknown;
  }
}

TEST(SecondaryRcText, NamedCodesZeroAndFallback) {
  EXPECT_EQ(SecondaryRcText(0), "------");
  EXPECT_EQ(SecondaryRcText(0x00000006), "TP_NOT_AVAIL_RETRY");
  EXPECT_EQ(SecondaryRcText(0x00001B00), "NODE_NOT_STARTED");
  EXPECT_EQ(SecondaryRcText(0x51600F08), "SECURITY_NOT_VALID");
  EXPECT_EQ(SecondaryRcText(0x04000000), "ALLOCATION_FAILURE_NO_RETRY");
  EXPECT_EQ(SecondaryRcText(0xFD010000), "INVALID_FQ_LU_NAME");
  // Byte-swapped forms of named codes are not names.
  for (std::uint32_t unknown : {0x00000009u, 0x0000000Fu, 0x00000051u, 0x00001B01u, 0xFFFFFFFFu}) {
    EXPECT_EQ(SecondaryRcText(unknown), "Unknown Secondary RC") << unknown;
  }
}

// The tables are searched by bisection: unsorted or duplicate codes would
// silently lose names.
template <typename Names>
void ExpectWellFormed(Names names, std::size_t count, std::string_view (*text)(decltype(names[0].code))) {
  ASSERT_EQ(names.size(), count);
  std::set<std::string_view> texts;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(names[i - 1].code, names[i].code) << names[i].text;
    }
    EXPECT_EQ(text(names[i].code), names[i].text);
    EXPECT_LE(names[i].text.size(), 27u) << names[i].text;
    EXPECT_TRUE(texts.insert(names[i].text).second) << names[i].text;
  }
}

TEST(ReturnCodeTables, SortedUniqueAndAllFound) {
  ExpectWellFormed(PrimaryRcNames(), 30, &PrimaryRcText);
  ExpectWellFormed(SecondaryRcNames(), 135, &SecondaryRcText);
}

}  // namespace
}  // namespace mapvine
