#include "model/TopologyRejoin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "model/HashSlots.h"

namespace mapvine::topology {
namespace {

// Names are compared and hashed ignoring ASCII letter case, eight bytes at
// a time and without folded copies: a large picture hashes tens of
// thousands of names on every open.
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

struct FoldedHash {
  std::size_t operator()(std::string_view name) const {
    std::uint64_t hash = name.size();
    ForEachFoldedWord(name, [&hash](std::uint64_t word) {
      hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
      hash ^= hash >> 29;
    });
    return hash;
  }
};

struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); i += 8) {
      const std::size_t count = std::min<std::size_t>(8, a.size() - i);
      if (FoldedWord(a.data() + i, count) != FoldedWord(b.data() + i, count)) return false;
    }
    return true;
  }
};

}  // namespace

void RejoinLinks(const CSpriteList& nodes, const OwningLinkList& links) {
  // Every link against every node would be quadratic: the nodes are grouped
  // by folded name first, each group in list order, as that scan would meet
  // them. The groups name their key through their first node, whose name
  // does not change meanwhile.
  struct Carriers {
    CSprite* first = nullptr;
    std::unique_ptr<std::vector<CSprite*>> more;  // rarely two nodes share a name
  };
  auto nameIs = [](std::string_view name) {
    return [name](const Carriers& c) { return FoldedEqual{}(c.first->fqName, name); };
  };
  HashSlots<Carriers> byName;
  byName.Reserve(nodes.size());
  for (const auto& node : nodes) {
    const std::string_view name = node->fqName;
    if (name.empty()) continue;
    auto [carriers, added] = byName.FindOrAdd(FoldedHash{}(name), nameIs(name));
    if (added) {
      carriers->first = node.get();
      continue;
    }
    if (!carriers->more) carriers->more = std::make_unique<std::vector<CSprite*>>();
    carriers->more->push_back(node.get());
  }
  auto forEachCarrier = [&](std::string_view name, auto&& visit) {
    if (name.empty()) return;
    const Carriers* carriers = byName.Find(FoldedHash{}(name), nameIs(name));
    if (carriers == nullptr) return;
    visit(carriers->first);
    if (carriers->more) {
      for (CSprite* node : *carriers->more) visit(node);
    }
  };

  for (const auto& owned : links) {
    CLink& link = *owned;
    forEachCarrier(link.endAName, [&link](CSprite* node) {
      link.endA = node;
      node->links.Add(&link);
    });
    // With both names alike, these nodes listed the link just above.
    const bool listedAlready = FoldedEqual{}(link.endAName, link.endBName);
    forEachCarrier(link.endBName, [&link, listedAlready](CSprite* node) {
      link.endB = node;
      if (!listedAlready) node->links.Add(&link);
    });
  }
}

}  // namespace mapvine::topology
