// The open-addressing table behind the node and link indexes. Removal moves
// later members of a run back; a mistake there loses entries only when runs
// collide and wrap, so these tests force both.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "model/HashSlots.h"

namespace mapvine {
namespace {

struct Keyed {
  int key = -1;
  int value = 0;
};

auto KeyIs(int key) {
  return [key](const Keyed& slot) { return slot.key == key; };
}

// Keys far apart in the table, whatever their order.
std::uint64_t SpreadHash(int key) { return std::uint64_t(key) * 0x9E3779B97F4A7C15ull; }

// Adds and removes keys at random against an ordered map, checking every
// key, and the values found together under the step's hash, after every
// step. `hashOf` decides how much the keys collide.
void CompareWithMap(std::uint64_t (*hashOf)(int), unsigned seed) {
  HashSlots<Keyed> table;
  std::map<int, int> reference;
  std::mt19937 random(seed);
  for (int step = 0; step < 3000; ++step) {
    const int key = static_cast<int>(random() % 200);
    if (random() % 3 == 0) {
      EXPECT_EQ(table.Erase(hashOf(key), KeyIs(key)), reference.erase(key) == 1);
    } else {
      auto [slot, added] = table.FindOrAdd(hashOf(key), KeyIs(key));
      EXPECT_EQ(added, !reference.contains(key));
      slot->key = key;
      slot->value = step;
      reference[key] = step;
    }
    ASSERT_EQ(table.Size(), reference.size()) << "step " << step;
    // Every value under the step's hash is visited, whatever else is.
    std::set<int> visited, storedUnderHash;
    table.VisitSameHash(hashOf(key), [&](const Keyed& value) {
      if (hashOf(value.key) == hashOf(key)) visited.insert(value.key);
    });
    for (const auto& stored : reference) {
      if (hashOf(stored.first) == hashOf(key)) storedUnderHash.insert(stored.first);
    }
    ASSERT_EQ(visited, storedUnderHash) << "step " << step;
    for (int k = 0; k < 200; ++k) {
      const Keyed* found = table.Find(hashOf(k), KeyIs(k));
      const auto expected = reference.find(k);
      ASSERT_EQ(found != nullptr, expected != reference.end()) << "key " << k << " step " << step;
      if (found) {
        ASSERT_EQ(found->value, expected->second) << "key " << k;
      }
    }
  }
}

TEST(HashSlots, AgreesWithAMapThroughAddsAndRemovals) {
  // Well spread, a few hashes shared by many keys (long runs that wrap
  // round the end), and the hash 0 the table reserves for free slots.
  CompareWithMap([](int key) -> std::uint64_t { return std::uint64_t(key) * 0x2545F4914F6CDD1Dull; }, 1);
  CompareWithMap([](int key) -> std::uint64_t { return std::uint64_t(key % 7) << 61; }, 2);
  CompareWithMap([](int key) -> std::uint64_t { return std::uint64_t(key % 2); }, 3);
}

TEST(HashSlots, ValuesSurviveTheClosingOfHolesLeftByRemovals) {
  // Nine in ten of the first values go, so that the table closes their
  // holes instead of growing when it next runs out of room; then it grows.
  HashSlots<Keyed> table;
  auto add = [&](int key) {
    Keyed* slot = table.FindOrAdd(SpreadHash(key), KeyIs(key)).first;
    slot->key = key;
    slot->value = key * 3;
  };
  for (int key = 0; key < 1000; ++key) add(key);
  for (int key = 0; key < 1000; ++key) {
    if (key % 10 != 0) {
      ASSERT_TRUE(table.Erase(SpreadHash(key), KeyIs(key)));
    }
  }
  for (int key = 1000; key < 3000; ++key) add(key);
  EXPECT_EQ(table.Size(), 2100u);
  for (int key = 0; key < 3000; ++key) {
    const Keyed* found = table.Find(SpreadHash(key), KeyIs(key));
    if (key < 1000 && key % 10 != 0) {
      EXPECT_EQ(found, nullptr) << key;
    } else {
      ASSERT_NE(found, nullptr) << key;
      EXPECT_EQ(found->value, key * 3);
    }
  }
}

TEST(HashSlots, WalksInTheOrderOfAddingFindTheRightValues) {
  // Lookups in the order the values were added are answered without the
  // slots. Two walks take turns, lookups elsewhere cut in, values ahead of
  // a walk are removed, and removals close up the values. Only two hashes,
  // so that a value met on a walk must be told apart by its key.
  HashSlots<Keyed> table;
  std::map<int, int> reference;
  auto hashOf = [](int key) { return std::uint64_t(key % 2) << 40; };
  auto add = [&](int key) {
    Keyed* slot = table.FindOrAdd(hashOf(key), KeyIs(key)).first;
    slot->key = key;
    slot->value = key + 7;
    reference[key] = key + 7;
  };
  auto expectFound = [&](int key) {
    const Keyed* found = table.Find(hashOf(key), KeyIs(key));
    const auto expected = reference.find(key);
    ASSERT_EQ(found != nullptr, expected != reference.end()) << key;
    if (found) {
      EXPECT_EQ(found->value, expected->second) << key;
    }
  };
  std::mt19937 random(4);
  for (int key = 0; key < 400; ++key) add(key);
  for (int round = 0; round < 3; ++round) {
    for (int step = 0; step < 200; ++step) {
      expectFound(step);
      expectFound(200 + step);
      expectFound(static_cast<int>(random() % 400));
      const int ahead = static_cast<int>(random() % 400);
      if (random() % 4 == 0 && table.Erase(hashOf(ahead), KeyIs(ahead))) reference.erase(ahead);
    }
    for (int key = 400 + round * 200; key < 600 + round * 200; ++key) add(key);
  }
}

// Only a lookup that went on along a walk tells where the next ones go.
TEST(HashSlots, TellsTheValueSomePlacesAfterTheLastFoundOnAWalk) {
  HashSlots<Keyed> table;
  auto find = [&](int key) { return table.Find(SpreadHash(key), KeyIs(key)); };
  EXPECT_EQ(table.AfterLastFound(1), nullptr);
  for (int key = 0; key < 10; ++key) table.FindOrAdd(SpreadHash(key), KeyIs(key)).first->key = key;
  EXPECT_EQ(table.AfterLastFound(1), nullptr);  // adding is not finding

  ASSERT_NE(find(2), nullptr);
  EXPECT_EQ(table.AfterLastFound(1), nullptr);  // a lookup off any walk starts one
  ASSERT_NE(find(3), nullptr);
  ASSERT_NE(table.AfterLastFound(4), nullptr);
  EXPECT_EQ(table.AfterLastFound(4)->key, 7);
  EXPECT_EQ(table.AfterLastFound(6)->key, 9);
  EXPECT_EQ(table.AfterLastFound(7), nullptr);
  ASSERT_TRUE(table.Erase(SpreadHash(7), KeyIs(7)));
  EXPECT_EQ(table.AfterLastFound(4), nullptr);

  ASSERT_NE(find(0), nullptr);  // a lookup elsewhere ends the run it told of
  EXPECT_EQ(table.AfterLastFound(1), nullptr);
  ASSERT_NE(find(1), nullptr);
  EXPECT_EQ(table.AfterLastFound(1)->key, 2);
  EXPECT_EQ(find(42), nullptr);  // and so does a lookup that finds nothing
  EXPECT_EQ(table.AfterLastFound(1), nullptr);
}

// Which walks the table keeps shows in what it can tell of the next value.
TEST(HashSlots, KeepsAWalkInUseAndLetsAnIdleOneGo) {
  HashSlots<Keyed> table;
  for (int key = 0; key < 1000; ++key) table.FindOrAdd(SpreadHash(key), KeyIs(key)).first->key = key;
  auto onAWalk = [&](int key) {
    EXPECT_NE(table.Find(SpreadHash(key), KeyIs(key)), nullptr) << key;
    return table.AfterLastFound(1) != nullptr;
  };

  // A few lookups elsewhere in a row, each of which starts a walk of its own.
  onAWalk(10);
  EXPECT_TRUE(onAWalk(11));
  for (const int elsewhere : {500, 700, 900}) EXPECT_FALSE(onAWalk(elsewhere));
  EXPECT_TRUE(onAWalk(12));

  // Two new runs taking turns: the idle walk gives way before long, and
  // then both runs go on along walks.
  int misses = 0;
  for (int step = 0; step < 40; ++step) {
    if (!onAWalk(100 + step)) ++misses;
    if (!onAWalk(300 + step)) ++misses;
  }
  EXPECT_LT(misses, 40);
  EXPECT_TRUE(onAWalk(140));
  EXPECT_TRUE(onAWalk(340));
}

TEST(HashSlots, ClearForgetsEverything) {
  HashSlots<Keyed> table;
  for (int key = 0; key < 100; ++key) table.FindOrAdd(std::uint64_t(key), KeyIs(key)).first->key = key;
  table.Clear();
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table.Find(5, KeyIs(5)), nullptr);
  EXPECT_FALSE(table.Erase(5, KeyIs(5)));
  EXPECT_TRUE(table.FindOrAdd(5, KeyIs(5)).second);
}

}  // namespace
}  // namespace mapvine
