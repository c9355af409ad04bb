// Tests of the id keys and OrderKey, and of the order that sorting them gives.
#include "scene/keys.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "scene/name_list.h"

namespace {

TEST(Keys, IdKeyIsPlainDecimal) {
  EXPECT_EQ(IdKey(7).View(), "7");
  EXPECT_EQ(IdKey(12).View(), "12");
  EXPECT_EQ(IdKey(2147483647).View(), "2147483647");
  EXPECT_EQ(IdKey(-3).View(), "-3");
}

TEST(Keys, OrderKeyTable) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float value;
    const char* id;
    const char* expected;
  };
  const Case cases[] = {
      {12.7f, "5", "010000000125"},
      {-3.2f, "14", "0099999999714"},
      {0.0f, "1", "010000000001"},
      {-0.9f, "1", "010000000001"},  // truncation toward zero
      {959.99f, "1600", "010000009591600"},
      {-1000000000.0f, "2", "000000000002"},
      {1147483520.0f, "3", "021474835203"},
      // beyond the numeric range the key still has a defined form
      {-1000000128.0f, "4", "0000000-1284"},
      {nan, "6", "010000000006"},
      {1e20f, "7", "-11474836497"},
  };
  for (const Case& c : cases) EXPECT_EQ(OrderKey(c.value, c.id).View(), c.expected) << c.value;
}

TEST(Keys, SortedOrderKeysOrderByTruncatedValueThenIdText) {
  struct Item {
    float value;
    int id;
  };
  Item items[] = {{10.9f, 9}, {10.2f, 10}, {-5.5f, 3}, {300, 1}, {-4.9f, 2}, {10.0f, 100}};
  NameList<Item> list(NameListOrder::Sorted);
  for (Item& item : items) list.Add(OrderKey(item.value, IdKey(item.id)), &item);
  // -5 (3), -4 (2), 10: "10" < "100" < "9", then 300 (1)
  const int expectedIds[] = {3, 2, 10, 100, 9, 1};
  ASSERT_EQ(list.Count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.ItemAt(i)->id, expectedIds[i]) << i;
}

}  // namespace
