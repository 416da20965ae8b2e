#include "model/FoldedNames.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mapvine {
namespace {

// Eight bytes at a time and without folded copies: opening a large picture
// hashes tens of thousands of names.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

// `bytes` (up to 8) as one word, with 'A'..'Z' turned into 'a'..'z'. Each
// byte's low seven bits are compared with the letter range in place; bytes
// with the top bit set (not ASCII) are left alone.
std::uint64_t FoldedWord(const char* bytes, std::size_t count) {
  std::uint64_t word = 0;
  if (count == 8) {
    std::memcpy(&word, bytes, 8);
  } else {
    // A short tail byte by byte: a copy of variable length is a call.
    for (std::size_t i = 0; i < count; ++i) {
      word |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    }
  }
  const std::uint64_t low7 = word & (0x7F * kEveryByte);
  const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kEveryByte;
  const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kEveryByte;
  const std::uint64_t upper = atLeastA & ~aboveZ & ~word & (0x80 * kEveryByte);
  return word | (upper >> 2);  // 0x80 >> 2 is the case bit 0x20
}

template <typename Visit>
void ForEachFoldedWord(std::string_view name, Visit&& visit) {
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) visit(FoldedWord(name.data() + i, 8));
  if (i < name.size()) visit(FoldedWord(name.data() + i, name.size() - i));
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); i += 8) {
    const std::size_t count = std::min<std::size_t>(8, a.size() - i);
    if (FoldedWord(a.data() + i, count) != FoldedWord(b.data() + i, count)) return false;
  }
  return true;
}

std::size_t FoldedNameHash(std::string_view name) {
  std::uint64_t hash = name.size();
  ForEachFoldedWord(name, [&hash](std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  });
  return hash;
}

}  // namespace mapvine
