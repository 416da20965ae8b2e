#pragma once

// One list a query verb serves: fixed-size entries, encoded once, kept back
// to back in key order. The key is a run of bytes starting at offset 2 of
// every entry (right after its length word), so a continuation key from a
// request block compares directly against the stored entries and a batch
// is one binary search plus one copy.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace snanode {

class EntryList {
 public:
  static constexpr std::size_t kKeyOffset = 2;

  EntryList(std::size_t entrySize, std::size_t keyLength) : entrySize_(entrySize), keyLength_(keyLength) {}

  // Appends a zeroed entry with its length word set and returns it to fill.
  std::span<std::uint8_t> Append();
  // Puts the entries into key order; call once, after the last Append.
  void Sort();

  std::size_t Size() const { return entries_.size() / entrySize_; }
  std::size_t EntrySize() const { return entrySize_; }
  std::size_t KeyLength() const { return keyLength_; }
  const std::uint8_t* Entry(std::size_t index) const { return entries_.data() + index * entrySize_; }

  // Index of the first entry whose key is >= key (or > key): the start of
  // a batch "at the key" (or "after the key"), Size() when none is left.
  // key must hold KeyLength() bytes.
  std::size_t FirstAtOrAfter(const std::uint8_t* key) const;
  std::size_t FirstAfter(const std::uint8_t* key) const;

 private:
  int CompareKey(std::size_t index, const std::uint8_t* key) const;
  // The first index for which before(index) is false; entries are sorted.
  // A plain halving search: clang 14 cannot use std::views::iota with the
  // GCC 12 library, and the fuzz build needs clang.
  template <typename Before>
  std::size_t PartitionPoint(Before before) const {
    std::size_t first = 0;
    std::size_t count = Size();
    while (count > 0) {
      const std::size_t half = count / 2;
      if (before(first + half)) {
        first += half + 1;
        count -= half + 1;
      } else {
        count = half;
      }
    }
    return first;
  }

  std::size_t entrySize_;
  std::size_t keyLength_;
  std::vector<std::uint8_t> entries_;
};

}  // namespace snanode
