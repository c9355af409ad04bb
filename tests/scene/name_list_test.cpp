// Tests of NameList: ordering, duplicate placement and positions, checked on
// small cases and against a plain vector model under long random sequences.
#include "scene/name_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Thing {
  int tag;
};

std::vector<std::string> keysOf(const NameList<Thing>& list) {
  std::vector<std::string> keys;
  for (int i = 0; i < list.Count(); ++i) keys.emplace_back(list.KeyAt(i));
  return keys;
}

TEST(NameList, SortedAddInsertsBeforeEqualKeysAndReturnsThePosition) {
  NameList<Thing> list(NameListOrder::Sorted);
  Thing a{1}, b{2}, c{3}, d{4}, e{5};
  EXPECT_EQ(list.Add("m", &a), 0);
  EXPECT_EQ(list.Add("b", &b), 0);
  EXPECT_EQ(list.Add("z", &c), 2);
  EXPECT_EQ(list.Add("m", &d), 1);  // before the existing "m"
  EXPECT_EQ(list.Add("m", &e), 1);
  EXPECT_EQ(keysOf(list), (std::vector<std::string>{"b", "m", "m", "m", "z"}));
  EXPECT_EQ(list.ItemAt(1), &e);
  EXPECT_EQ(list.ItemAt(2), &d);
  EXPECT_EQ(list.ItemAt(3), &a);
}

TEST(NameList, UnsortedAddAppends) {
  NameList<Thing> list;
  Thing a{1}, b{2};
  EXPECT_EQ(list.Add("z", &a), 0);
  EXPECT_EQ(list.Add("a", &b), 1);
  EXPECT_EQ(list.Add("z", &b), 2);
  EXPECT_EQ(keysOf(list), (std::vector<std::string>{"z", "a", "z"}));
  EXPECT_EQ(list.PositionOfKey("z"), 0);
  EXPECT_EQ(list.PositionOfKey("q"), -1);
  EXPECT_EQ(list.PositionOfItem(&b), 1);
}

TEST(NameList, KeysCompareCaseSensitivelyAsUnsignedBytes) {
  NameList<Thing> list(NameListOrder::Sorted);
  for (const char* key : {"b", "B", "a", "\xE9t\xE9", "A", "ab", ""}) list.Add(key, nullptr);
  EXPECT_EQ(keysOf(list), (std::vector<std::string>{"", "A", "B", "a", "ab", "b", "\xE9t\xE9"}));
  EXPECT_EQ(list.PositionOfKey("a"), 3);
  EXPECT_EQ(list.PositionOfKey("AB"), -1);
}

TEST(NameList, LowerBoundAndPositionOfKey) {
  NameList<Thing> list(NameListOrder::Sorted);
  for (const char* key : {"tin", "titile", "tiger", "t", "tj", "titile"}) list.Add(key, nullptr);
  // t, tiger, tin, titile, titile, tj
  struct Case {
    const char* key;
    int lowerBound;
    int position;
  };
  const Case cases[] = {
      {"", 0, -1}, {"t", 0, 0}, {"ti", 1, -1}, {"titile", 3, 3}, {"tj", 5, 5}, {"tk", 6, -1}, {"a", 0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.LowerBound(c.key), c.lowerBound) << c.key;
    EXPECT_EQ(list.PositionOfKey(c.key), c.position) << c.key;
  }
}

TEST(NameList, OutOfRangePositionsChangeNothing) {
  NameList<Thing> list(NameListOrder::Sorted);
  Thing a{1};
  list.Add("k", &a);
  for (int position : {-1, 1, 100}) {
    EXPECT_EQ(list.ItemAt(position), nullptr);
    EXPECT_EQ(list.KeyAt(position), "");
    EXPECT_FALSE(list.SetItemAt(position, &a));
    EXPECT_FALSE(list.DeleteAt(position));
  }
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.ItemAt(0), &a);
}

TEST(NameList, SetItemKeepsTheKeyAndDeleteLeavesTheItemAlone) {
  NameList<Thing> list(NameListOrder::Sorted);
  Thing a{1}, b{2};
  list.Add("x", &a);
  list.Add("y", &a);
  EXPECT_EQ(list.PositionOfItem(&a), 0);
  EXPECT_TRUE(list.SetItemAt(0, nullptr));
  EXPECT_EQ(list.KeyAt(0), "x");
  EXPECT_EQ(list.PositionOfItem(&a), 1);
  EXPECT_EQ(list.PositionOfItem(&b), -1);
  EXPECT_TRUE(list.DeleteAt(0));
  EXPECT_EQ(keysOf(list), (std::vector<std::string>{"y"}));
  EXPECT_EQ(a.tag, 1);
  list.ClearItems();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.ItemAt(0), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add("z", &b), 0);
}

TEST(NameList, ManyEqualKeysComeOutNewestFirst) {
  NameList<Thing> list(NameListOrder::Sorted);
  std::vector<Thing> things(1000);
  for (int i = 0; i < 1000; ++i) {
    things[i].tag = i;
    EXPECT_EQ(list.Add("titile", &things[i]), 0);
  }
  list.Add("tiger", &things[0]);
  list.Add("tj", &things[0]);
  ASSERT_EQ(list.Count(), 1002);
  EXPECT_EQ(list.KeyAt(0), "tiger");
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(list.ItemAt(1 + i)->tag, 999 - i) << i;
  EXPECT_EQ(list.KeyAt(1001), "tj");
  int visited = 0;
  list.ForEachFrom(list.LowerBound("titile"), [&](std::string_view key, Thing* thing) {
    if (key != "titile") return false;
    EXPECT_EQ(thing->tag, 999 - visited);
    ++visited;
    return true;
  });
  EXPECT_EQ(visited, 1000);
}

// The obvious implementation the chunked list must agree with.
struct ModelList {
  bool sorted;
  std::vector<std::pair<std::string, Thing*>> entries;

  int Add(const std::string& key, Thing* item) {
    size_t position = entries.size();
    if (sorted) {
      position = 0;
      while (position < entries.size() && entries[position].first < key) ++position;
    }
    entries.insert(entries.begin() + static_cast<long>(position), {key, item});
    return static_cast<int>(position);
  }
};

void expectSame(const NameList<Thing>& list, const ModelList& model) {
  ASSERT_EQ(list.Count(), static_cast<int>(model.entries.size()));
  for (int i = 0; i < list.Count(); ++i) {
    ASSERT_EQ(list.KeyAt(i), model.entries[i].first) << "position " << i;
    ASSERT_EQ(list.ItemAt(i), model.entries[i].second) << "position " << i;
  }
  int i = 0;
  list.ForEachFrom(0, [&](std::string_view key, Thing* item) {
    EXPECT_EQ(key, model.entries[i].first);
    EXPECT_EQ(item, model.entries[i].second);
    ++i;
    return true;
  });
  EXPECT_EQ(i, list.Count());
}

// Few distinct keys, so duplicates are common; some longer than a short
// string buffer, some alike in their first 8 or 15 bytes, some with zero
// bytes and bytes above 127.
std::string randomKey(std::mt19937& random) {
  static const std::string kKeys[] = {"a",
                                      "ab",
                                      "b",
                                      "titile",
                                      "tiger",
                                      "010000000125",
                                      "a very long key that needs the heap",
                                      "z",
                                      "a very long key",
                                      "a very long key that differs late",
                                      "0100000001250",
                                      "010000000125z",
                                      std::string("a\0b", 3),
                                      std::string("a\0", 2),
                                      "\xE9t\xE9"};
  return kKeys[random() % std::size(kKeys)];
}

void runRandomSequence(NameListOrder order, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Thing> things(64);
  NameList<Thing> list(order);
  ModelList model{order == NameListOrder::Sorted, {}};
  for (int step = 0; step < 6000; ++step) {
    const unsigned action = random() % 10;
    const int count = list.Count();
    if (action < 5 || count == 0) {
      const std::string key = randomKey(random);
      Thing* item = &things[random() % things.size()];
      ASSERT_EQ(list.Add(key, item), model.Add(key, item)) << "step " << step;
    } else if (action < 8) {
      const int position = static_cast<int>(random() % count);
      ASSERT_TRUE(list.DeleteAt(position));
      model.entries.erase(model.entries.begin() + position);
    } else if (action == 8) {
      const int position = static_cast<int>(random() % count);
      Thing* item = &things[random() % things.size()];
      ASSERT_TRUE(list.SetItemAt(position, item));
      model.entries[position].second = item;
    } else {
      const std::string key = randomKey(random);
      int expectedLower = static_cast<int>(model.entries.size());
      for (size_t i = 0; i < model.entries.size(); ++i) {
        if (!(model.entries[i].first < key)) {
          expectedLower = static_cast<int>(i);
          break;
        }
      }
      EXPECT_EQ(list.LowerBound(key), expectedLower);
      const int found = list.PositionOfKey(key);
      const bool present = std::any_of(model.entries.begin(), model.entries.end(),
                                       [&](const auto& entry) { return entry.first == key; });
      if (present) {
        ASSERT_GE(found, 0);
        EXPECT_EQ(list.KeyAt(found), key);
        if (model.sorted) {
          EXPECT_EQ(found, expectedLower);
        }
      } else {
        EXPECT_EQ(found, -1);
      }
      Thing* item = &things[random() % things.size()];
      int firstItem = -1;
      for (size_t i = 0; i < model.entries.size(); ++i) {
        if (model.entries[i].second == item) {
          firstItem = static_cast<int>(i);
          break;
        }
      }
      EXPECT_EQ(list.PositionOfItem(item), firstItem);
    }
    if (step % 500 == 0) expectSame(list, model);
    if (step == 3000) {
      list.Clear();
      model.entries.clear();
    }
  }
  expectSame(list, model);
}

TEST(NameList, AgreesWithAPlainVectorUnderRandomSortedOperations) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    runRandomSequence(NameListOrder::Sorted, seed);
  }
}

TEST(NameList, AgreesWithAPlainVectorUnderRandomUnsortedOperations) {
  for (unsigned seed : {4u, 5u}) {
    SCOPED_TRACE(seed);
    runRandomSequence(NameListOrder::Unsorted, seed);
  }
}

// Staged entries must land exactly where sequential Adds would have put
// them, whether a batch is merged whole or inserted entry by entry, and
// whatever reads, deletes and Adds come between batches.
TEST(NameList, StagedEntriesLandWhereSequentialAddsWould) {
  std::mt19937 random(11);
  std::vector<Thing> things(64);
  NameList<Thing> list(NameListOrder::Sorted);
  ModelList model{true, {}};
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    const int batch = static_cast<int>(random() % 3 == 0 ? random() % 600 : random() % 20);
    for (int i = 0; i < batch; ++i) {
      const std::string key = randomKey(random);
      Thing* item = &things[random() % things.size()];
      list.AddLater(key, item);
      model.Add(key, item);
    }
    ASSERT_EQ(list.Count(), static_cast<int>(model.entries.size()));
    switch (random() % 6) {
      case 0: {
        const std::string key = randomKey(random);
        ASSERT_EQ(list.Add(key, &things[0]), model.Add(key, &things[0]));
        break;
      }
      case 1:
        if (!model.entries.empty()) {
          const int position = static_cast<int>(random() % model.entries.size());
          ASSERT_TRUE(list.DeleteAt(position));
          model.entries.erase(model.entries.begin() + position);
        }
        break;
      case 2: {
        const std::string key = randomKey(random);
        const auto lower = std::lower_bound(model.entries.begin(), model.entries.end(), key,
                                            [](const auto& entry, const std::string& k) { return entry.first < k; });
        ASSERT_EQ(list.LowerBound(key), lower - model.entries.begin());
        break;
      }
      case 3:
        if (model.entries.size() > 3000) {
          list.Clear();
          model.entries.clear();
        }
        break;
      default: break;
    }
    if (round % 10 == 0) expectSame(list, model);
  }
  expectSame(list, model);
}

TEST(NameList, RandomWalksByPositionMatchTheOrder) {
  NameList<Thing> list(NameListOrder::Sorted);
  std::vector<Thing> things(3000);
  for (int i = 0; i < 3000; ++i) {
    things[i].tag = i;
    char key[8];
    std::snprintf(key, sizeof key, "%05d", (i * 7919) % 3000);
    list.Add(key, &things[i]);
  }
  // Jumping around must not depend on the cursor left by an earlier lookup.
  std::mt19937 random(9);
  for (int n = 0; n < 2000; ++n) {
    const int position = static_cast<int>(random() % 3000);
    char expected[8];
    std::snprintf(expected, sizeof expected, "%05d", position);
    ASSERT_EQ(list.KeyAt(position), expected);
  }
  for (int position = 2999; position >= 0; --position) {
    char expected[8];
    std::snprintf(expected, sizeof expected, "%05d", position);
    ASSERT_EQ(list.KeyAt(position), expected);
  }
}

}  // namespace
