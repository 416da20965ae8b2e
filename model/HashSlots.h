#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace mapvine {

// A hash table for indexes whose keys live in the objects the values point
// to. Each slot keeps its key's full hash beside the value, so a lookup
// reads one slot array and looks at a key only on a full hash match: on a
// network too large for the cache, that is one miss per lookup instead of
// the two or three of a node-based map.
//
// Open addressing with linear probing; removal moves the rest of the run
// back instead of leaving tombstones, so a long session of nodes coming and
// going never slows lookups down. Pointers to values stay valid until the
// next insertion or removal.
template <typename Value>
class HashSlots {
 public:
  // The value stored under `hash` whose key `matches(value)` accepts, or
  // null.
  template <typename Matches>
  Value* Find(std::uint64_t hash, Matches&& matches) {
    const std::size_t i = IndexOf(Stored(hash), matches);
    return i == kNone ? nullptr : &slots_[i].value;
  }
  template <typename Matches>
  const Value* Find(std::uint64_t hash, Matches&& matches) const {
    return const_cast<HashSlots*>(this)->Find(hash, std::forward<Matches>(matches));
  }

  // The value found as Find does, or a new value-initialised one stored
  // under `hash`; `.second` is true when it is new.
  template <typename Matches>
  std::pair<Value*, bool> FindOrAdd(std::uint64_t hash, Matches&& matches) {
    if (Value* found = Find(hash, matches)) return {found, false};
    if ((size_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
    hash = Stored(hash);
    std::size_t i = Home(hash);
    while (slots_[i].hash != kEmpty) i = Next(i);
    slots_[i].hash = hash;
    slots_[i].value = Value{};
    ++size_;
    return {&slots_[i].value, true};
  }

  // Removes the value Find would return; false when there is none.
  template <typename Matches>
  bool Erase(std::uint64_t hash, Matches&& matches) {
    std::size_t hole = IndexOf(Stored(hash), matches);
    if (hole == kNone) return false;
    // Later members of the run whose home lies cyclically outside
    // (hole, i] could no longer be reached past the hole: move them into it.
    for (std::size_t i = Next(hole); slots_[i].hash != kEmpty; i = Next(i)) {
      const std::size_t home = Home(slots_[i].hash);
      const bool reachable = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
      if (reachable) continue;
      slots_[hole] = std::move(slots_[i]);
      hole = i;
    }
    slots_[hole] = Slot{};
    --size_;
    return true;
  }

  // Makes room for `count` values without growing on the way there.
  void Reserve(std::size_t count) {
    std::size_t capacity = 16;
    while (capacity < count * 2) capacity *= 2;
    if (capacity > slots_.size()) Rehash(capacity);
  }

  void Clear() {
    slots_.clear();
    size_ = 0;
  }
  std::size_t Size() const { return size_; }

 private:
  // A stored hash is never 0, which marks a free slot.
  static constexpr std::uint64_t kEmpty = 0;
  static std::uint64_t Stored(std::uint64_t hash) { return hash == kEmpty ? 1 : hash; }

  struct Slot {
    std::uint64_t hash = kEmpty;
    Value value{};
  };

  // The high bits choose the home slot: string hashes are well mixed there,
  // and a weak low half does not cluster the table.
  std::size_t Home(std::uint64_t hash) const {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  static constexpr std::size_t kNone = ~std::size_t{0};
  template <typename Matches>
  std::size_t IndexOf(std::uint64_t storedHash, Matches& matches) {
    if (slots_.empty()) return kNone;
    for (std::size_t i = Home(storedHash);; i = Next(i)) {
      const Slot& slot = slots_[i];
      if (slot.hash == kEmpty) return kNone;
      if (slot.hash == storedHash && matches(slot.value)) return i;
    }
  }

  // `capacity` is a power of two.
  void Rehash(std::size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_ = std::vector<Slot>(capacity);
    shift_ = 64;
    for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
    for (Slot& slot : old) {
      if (slot.hash == kEmpty) continue;
      std::size_t i = Home(slot.hash);
      while (slots_[i].hash != kEmpty) i = Next(i);
      slots_[i] = std::move(slot);
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
  int shift_ = 64;
};

}  // namespace mapvine
