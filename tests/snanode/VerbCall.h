#pragma once

// Test support: issue verbs against a SimulatedNode the way a caller does,
// with guard bytes around the block and the data buffer so that any write
// outside them shows.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/SnaWire.h"
#include "snanode/NameCodec.h"
#include "snanode/NetworkParser.h"
#include "snanode/SimulatedNode.h"

namespace snanode::test {

// Bytes with a patterned guard zone on each side.
class GuardedBytes {
 public:
  static constexpr std::size_t kGuard = 64;
  static constexpr std::uint8_t kPattern = 0xA5;

  explicit GuardedBytes(std::size_t size) : bytes_(size + 2 * kGuard, kPattern) {
    std::fill(Data(), Data() + size, std::uint8_t{0});
  }
  std::uint8_t* Data() { return bytes_.data() + kGuard; }
  const std::uint8_t* Data() const { return bytes_.data() + kGuard; }
  std::size_t Size() const { return bytes_.size() - 2 * kGuard; }
  // Untouched bytes from offset `from` (within the data) to the end.
  bool UntouchedFrom(std::size_t from) const {
    return std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(kGuard + from), bytes_.end(),
                       [](std::uint8_t b) { return b == kPattern; });
  }
  bool GuardsIntact() const {
    const auto isPattern = [](std::uint8_t b) { return b == kPattern; };
    return std::all_of(bytes_.begin(), bytes_.begin() + kGuard, isPattern) &&
           std::all_of(bytes_.end() - kGuard, bytes_.end(), isPattern);
  }
  void FillData(std::uint8_t value) { std::fill(Data(), Data() + Size(), value); }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct QueryRequest {
  std::uint16_t opcode = snawire::kOpNodeTopologyQuery;
  std::uint8_t options = snawire::kListFromStart;
  std::uint16_t entryCount = 0;
  std::uint32_t bufferSize = 32768;
  std::vector<std::uint8_t> key = {};  // copied to offset 30
};

struct QueryReply {
  std::uint16_t primary = 0;
  std::uint32_t secondary = 0;
  std::uint16_t entryCount = 0;
  std::uint16_t total = 0;
  std::vector<std::vector<std::uint8_t>> entries;  // walked by their length words
};

inline std::uint32_t BlockLength(std::uint16_t opcode) {
  switch (opcode) {
    case snawire::kOpNodeTopologyQuery: return snawire::kNodeTopologyQueryLength;
    case snawire::kOpTgTopologyQuery: return snawire::kTgTopologyQueryLength;
    case snawire::kOpDirectoryQuery: return snawire::kDirectoryQueryLength;
    case snawire::kOpDirectoryLuQuery: return snawire::kDirectoryLuQueryLength;
    default: return snawire::kApingLength;
  }
}

// Issues the query and checks, for every query, that nothing outside the
// block and the buffer changed.
template <typename Node>  // SimulatedNode or LiveNode
QueryReply Query(Node&& node, const QueryRequest& request) {
  GuardedBytes block(BlockLength(request.opcode));
  GuardedBytes buffer(request.bufferSize);
  snawire::PutU16(block.Data(), snawire::kOpcode, request.opcode);
  snawire::StoreBufferAddress(block.Data(), buffer.Data());
  snawire::PutU32(block.Data(), snawire::kBufferSize, request.bufferSize);
  snawire::PutU16(block.Data(), snawire::kEntryCount, request.entryCount);
  block.Data()[snawire::kListOptions] = request.options;
  std::copy(request.key.begin(), request.key.end(), block.Data() + snawire::kKey);
  node.Call(block.Data(), static_cast<std::uint32_t>(block.Size()));
  EXPECT_TRUE(block.GuardsIntact());
  EXPECT_TRUE(buffer.GuardsIntact());

  QueryReply reply;
  reply.primary = snawire::GetU16(block.Data(), snawire::kPrimaryRc);
  reply.secondary = snawire::GetU32(block.Data(), snawire::kSecondaryRc);
  reply.entryCount = snawire::GetU16(block.Data(), snawire::kEntryCount);
  reply.total = snawire::GetU16(block.Data(), snawire::kTotalEntries);
  std::size_t offset = 0;
  for (std::size_t i = 0; reply.primary == 0 && i < reply.entryCount; ++i) {
    EXPECT_LE(offset + 2, buffer.Size());
    if (offset + 2 > buffer.Size()) break;
    const std::size_t length = snawire::GetU16(buffer.Data(), offset);
    EXPECT_GE(length, 2u);
    EXPECT_LE(offset + length, buffer.Size());
    if (length < 2 || offset + length > buffer.Size()) break;
    reply.entries.emplace_back(buffer.Data() + offset, buffer.Data() + offset + length);
    offset += length;
  }
  return reply;
}

inline std::vector<std::uint8_t> Bytes(const WireName& name) { return {name.begin(), name.end()}; }

// Reads a name field back to text (names use only A-Z 0-9 . $ # @).
inline std::string NameAt(const std::vector<std::uint8_t>& entry, std::size_t offset) {
  static const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.$#@";
  std::string text;
  for (std::size_t i = 0; i < snawire::kNameLength && offset + i < entry.size(); ++i) {
    const std::uint8_t byte = entry[offset + i];
    if (byte == 0 || byte == snawire::kEbcdicBlank) break;
    char decoded = '?';
    for (const char c : kAlphabet) {
      if (EncodeName(std::string(1, c))[0] == byte) decoded = c;
    }
    text += decoded;
  }
  return text;
}

inline Network ParseOrFail(std::string_view text) {
  ParseResult result = ParseNetwork(text, "test.net");
  EXPECT_EQ(result.error, "");
  return result.network ? std::move(*result.network) : Network{};
}

}  // namespace snanode::test
