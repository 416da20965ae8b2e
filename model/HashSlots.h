#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace mapvine {

// A hash table for indexes whose keys live in the objects the values point
// to. The values are kept back to back in the order they were added, and a
// separate table of eight-byte slots leads from a hash to its value. A
// refresh meets the network in the order it was first added, so most of its
// lookups ask for the value right after the one found before: those are
// answered from the values alone, read in order, and only the others read
// the slots, at random. On a network of tens of thousands of resources the
// slots no longer fit in the cache, so each such read is a trip to memory.
//
// The slots use open addressing with linear probing and are at most
// four-fifths full. Each keeps 32 bits of its value's hash, so a probe looks
// at a value only on a likely match. Removal moves the rest of the run back
// instead of leaving tombstones, so lookups never slow down; the hole it
// leaves among the values is closed when the table next grows. Pointers to
// values stay valid until the next insertion or removal. Every lookup notes
// where it ended, so not even a const table may be read from two threads at
// once.
//
// It earns its place against boost::unordered_flat_map on large networks:
// bench_refresh's BM_RefreshLookups compares the two (figures there).
template <typename Value>
class HashSlots {
 public:
  // The value stored under `hash` whose key `matches(value)` accepts, or
  // null.
  template <typename Matches>
  const Value* Find(std::uint64_t hash, Matches&& matches) const {
    const std::uint32_t position = PositionOf(TagOf(hash), matches);
    return position == kFree ? nullptr : &entries_[position].value;
  }
  template <typename Matches>
  Value* Find(std::uint64_t hash, Matches&& matches) {
    return const_cast<Value*>(std::as_const(*this).Find(hash, matches));
  }

  // Calls `visit` with every value stored under `hash`, and with any other
  // whose hash shares the 32 bits the slots keep: `visit` tells its own
  // from the rest. Lets values with the same hash but different keys be
  // found together.
  template <typename Visit>
  void VisitSameHash(std::uint64_t hash, Visit&& visit) const {
    if (slots_.empty()) return;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = Home(tag); slots_[i].entry != kFree; i = Next(i)) {
      if (slots_[i].tag == tag) visit(std::as_const(entries_[slots_[i].entry].value));
    }
  }

  // The value `distance` places after the one the last Find answered, in
  // the order the values were added, when that Find went on along a walk;
  // null otherwise or when there is none there. Lets a caller fetch ahead
  // along a walk; after a lookup off any walk, the values that follow are
  // no guide to what comes next, and reading them is a wasted trip to
  // memory.
  const Value* AfterLastFound(std::size_t distance) const {
    if (!lastFoundOnWalk_) return nullptr;
    const std::size_t position = walks_[lastWalk_].next - 1 + distance;
    if (position >= entries_.size() || !entries_[position].live) return nullptr;
    return &entries_[position].value;
  }

  // The value found as Find does, or a new value-initialised one stored
  // under `hash`; `.second` is true when it is new.
  template <typename Matches>
  std::pair<Value*, bool> FindOrAdd(std::uint64_t hash, Matches&& matches) {
    if (Value* found = Find(hash, matches)) return {found, false};
    if (!Holds(entries_.size() + 1, slots_.size())) Grow();
    const std::uint32_t tag = TagOf(hash);
    slots_[FreeSlotFor(tag)] = Slot{tag, static_cast<std::uint32_t>(entries_.size())};
    entries_.push_back(Entry{tag, true, Value{}});
    ++size_;
    return {&entries_.back().value, true};
  }

  // Removes the value Find would return; false when there is none.
  template <typename Matches>
  bool Erase(std::uint64_t hash, Matches&& matches) {
    std::size_t hole = SlotOf(TagOf(hash), matches);
    if (hole == kNone) return false;
    entries_[slots_[hole].entry] = Entry{};
    while (!entries_.empty() && !entries_.back().live) entries_.pop_back();
    // Later members of the run whose home lies cyclically outside
    // (hole, i] could no longer be reached past the hole: move them into it.
    for (std::size_t i = Next(hole); slots_[i].entry != kFree; i = Next(i)) {
      const std::size_t home = Home(slots_[i].tag);
      const bool reachable = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
      if (reachable) continue;
      slots_[hole] = slots_[i];
      hole = i;
    }
    slots_[hole] = Slot{};
    --size_;
    return true;
  }

  // Makes room for `count` values without growing on the way there.
  void Reserve(std::size_t count) {
    std::size_t capacity = kMinimumCapacity;
    while (!Holds(count, capacity)) capacity *= 2;
    if (capacity > slots_.size()) Rehash(capacity);
    entries_.reserve(count);
  }

  void Clear() {
    slots_.clear();
    entries_.clear();
    size_ = 0;
  }
  std::size_t Size() const { return size_; }

 private:
  static constexpr std::size_t kMinimumCapacity = 16;
  static constexpr std::uint32_t kFree = ~std::uint32_t{0};
  static constexpr std::size_t kNone = ~std::size_t{0};

  struct Slot {
    std::uint32_t tag = 0;
    std::uint32_t entry = kFree;  // position in entries_
  };
  struct Entry {
    std::uint32_t tag = 0;
    bool live = false;  // false once removed, until the values are compacted
    Value value{};
  };

  static bool Holds(std::size_t count, std::size_t capacity) { return count * 5 <= capacity * 4; }

  // The high half of the mixed hash: string hashes are well mixed there,
  // and a weak low half does not cluster the table. Its top bits choose the
  // home slot, so a slot's home is known without reading its value.
  static std::uint32_t TagOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 32);
  }
  std::size_t Home(std::uint32_t tag) const { return tag >> shift_; }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  // The position of the value Find answers, kFree when there is none. A
  // walk that meets the values in the order they were added finds each one
  // right after the last one it found, without reading a slot; two such
  // walks may take turns. A lookup that has to read the slots starts a walk
  // in place of the one that went on least recently, where a walk just
  // started counts as having gone on kPatience lookups earlier: a few
  // lookups off the walks in a row (an end node's TGs, say) then do not
  // displace a walk still in use.
  template <typename Matches>
  std::uint32_t PositionOf(std::uint32_t tag, Matches& matches) const {
    ++lookups_;
    for (std::size_t k = 0; k < walks_.size(); ++k) {
      const std::uint32_t position = walks_[k].next;
      if (position >= entries_.size()) continue;
      const Entry& entry = entries_[position];
      if (!entry.live || entry.tag != tag || !matches(entry.value)) continue;
      walks_[k] = Walk{position + 1, lookups_};
      lastWalk_ = k;
      lastFoundOnWalk_ = true;
      return position;
    }
    lastFoundOnWalk_ = false;
    const std::size_t slot = SlotOf(tag, matches);
    if (slot == kNone) return kFree;
    const std::uint32_t position = slots_[slot].entry;
    lastWalk_ = walks_[0].wentOn <= walks_[1].wentOn ? 0 : 1;
    walks_[lastWalk_] = Walk{position + 1, lookups_ - kPatience};
    return position;
  }

  template <typename Matches>
  std::size_t SlotOf(std::uint32_t tag, Matches& matches) const {
    if (slots_.empty()) return kNone;
    for (std::size_t i = Home(tag);; i = Next(i)) {
      const Slot& slot = slots_[i];
      if (slot.entry == kFree) return kNone;
      if (slot.tag == tag && matches(entries_[slot.entry].value)) return i;
    }
  }
  std::size_t FreeSlotFor(std::uint32_t tag) const {
    std::size_t i = Home(tag);
    while (slots_[i].entry != kFree) i = Next(i);
    return i;
  }

  // Closes the holes among the values when at least half of them are
  // holes, and otherwise doubles the slots; either way the next growth is
  // as many insertions away as there are live values.
  void Grow() {
    if (slots_.empty()) return Rehash(kMinimumCapacity);
    Rehash(size_ * 2 <= entries_.size() ? slots_.size() : slots_.size() * 2);
  }

  // `capacity` is a power of two of at least kMinimumCapacity; the values
  // keep their order.
  void Rehash(std::size_t capacity) {
    std::erase_if(entries_, [](const Entry& entry) { return !entry.live; });
    slots_.assign(capacity, Slot{});
    shift_ = 32;
    for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
    for (std::size_t position = 0; position < entries_.size(); ++position) {
      const std::uint32_t tag = entries_[position].tag;
      slots_[FreeSlotFor(tag)] = Slot{tag, static_cast<std::uint32_t>(position)};
    }
  }

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;  // in the order added; removed ones not live
  std::size_t size_ = 0;
  int shift_ = 32;
  // A walk through the values: where it goes next (only a guess, checked
  // against the key, so it may go stale) and when it last went on, counted
  // in lookups.
  struct Walk {
    std::uint32_t next = kFree;
    std::int64_t wentOn = std::numeric_limits<std::int64_t>::min();
  };
  static constexpr std::int64_t kPatience = 16;
  mutable std::array<Walk, 2> walks_{};
  mutable std::int64_t lookups_ = 0;
  mutable std::size_t lastWalk_ = 0;
  mutable bool lastFoundOnWalk_ = false;
};

}  // namespace mapvine
