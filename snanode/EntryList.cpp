#include "snanode/EntryList.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <ranges>

#include "protocol/SnaWire.h"

namespace snanode {

std::span<std::uint8_t> EntryList::Append() {
  const std::size_t start = entries_.size();
  entries_.resize(start + entrySize_, 0);
  std::uint8_t* entry = entries_.data() + start;
  snawire::PutU16(entry, snawire::kEntryLength, static_cast<std::uint16_t>(entrySize_));
  return {entry, entrySize_};
}

void EntryList::Sort() {
  std::vector<std::size_t> order(Size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return std::memcmp(Entry(a) + kKeyOffset, Entry(b) + kKeyOffset, keyLength_) < 0;
  });
  std::vector<std::uint8_t> sorted;
  sorted.reserve(entries_.size());
  for (const std::size_t index : order) sorted.insert(sorted.end(), Entry(index), Entry(index) + entrySize_);
  entries_ = std::move(sorted);
}

int EntryList::CompareKey(std::size_t index, const std::uint8_t* key) const {
  return std::memcmp(Entry(index) + kKeyOffset, key, keyLength_);
}

std::size_t EntryList::FirstAtOrAfter(const std::uint8_t* key) const {
  return PartitionPoint([&](std::size_t index) { return CompareKey(index, key) < 0; });
}

std::size_t EntryList::FirstAfter(const std::uint8_t* key) const {
  return PartitionPoint([&](std::size_t index) { return CompareKey(index, key) <= 0; });
}

}  // namespace snanode
