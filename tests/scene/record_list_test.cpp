// Tests of the record containers a graphic owns (collision circles, node points).
#include "scene/record_list.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(RecordList, DeleteAtFreesOneRecordAndIgnoresPositionsOutside) {
  SPIX_COLLISIONCIRCLE circles;
  circles.Add("a", std::make_unique<CollisionCircle>(CollisionCircle{1, 2, 3}));
  circles.Add("b", std::make_unique<CollisionCircle>(CollisionCircle{4, 5, 6}));
  circles.DeleteAt(2);
  circles.DeleteAt(-1);
  EXPECT_EQ(circles.Count(), 2);
  circles.DeleteAt(0);
  ASSERT_EQ(circles.Count(), 1);
  EXPECT_EQ(circles.KeyAt(0), "b");
  EXPECT_EQ(circles.ItemAt(0)->radius, 6);
}

TEST(RecordList, ClearAndDestructionFreeEveryRecord) {
  // The sanitizer build reports any record left behind.
  SPIX_NODEPOINT points;
  for (int i = 0; i < 100; ++i) points.Add("p", std::make_unique<NodePoint>());
  points.Clear();
  EXPECT_EQ(points.Count(), 0);
  SPIX_NODEPOINT more;
  for (int i = 0; i < 10; ++i) more.Add("q", std::make_unique<NodePoint>());
}

}  // namespace
