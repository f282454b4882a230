#include "win/box_coalescing.h"

#include <gtest/gtest.h>

namespace rc {
namespace {

bool Covers(const std::vector<Box>& boxes, int32_t x, int32_t y) {
  for (const Box& b : boxes) {
    if (x >= b.x && y >= b.y && x < b.Right() && y < b.Bottom()) return true;
  }
  return false;
}

// The strips a growing selection leaves along its edges, one per tile row
// with slightly different spans, go out as one box; boxes far apart stay
// apart; nothing that was covered is left out.
TEST(BoxCoalescing, MergesNeighboursWithinTheSlackAndKeepsDistantBoxes) {
  const std::vector<Box> given{{100, 0, 7, 64},   {100, 64, 6, 64},  {101, 128, 7, 40},
                               {2000, 900, 130, 126}, {0, 0, 0, 0}, {2003, 902, 130, 126}};
  std::vector<Box> boxes = given;
  CoalesceBoxes(boxes, 4096);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], (Box{100, 0, 8, 168}));
  EXPECT_EQ(boxes[1], (Box{2000, 900, 133, 128}));
  for (const Box& b : given) {
    for (int32_t y = b.y; y < b.Bottom(); ++y)
      for (int32_t x = b.x; x < b.Right(); ++x) ASSERT_TRUE(Covers(boxes, x, y)) << x << "," << y;
  }
}

TEST(BoxCoalescing, NoSlackMergesOnlyBoxesThatAddNothing) {
  std::vector<Box> boxes{{0, 0, 10, 10}, {10, 0, 10, 10}, {0, 20, 10, 10}, {2, 2, 3, 3}};
  CoalesceBoxes(boxes, 0);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], (Box{0, 0, 20, 10}));
  EXPECT_EQ(boxes[1], (Box{0, 20, 10, 10}));
}

}  // namespace
}  // namespace rc
