// The two rectangle packers: every box inside the bin, no two overlapping,
// and a refusal when the boxes cannot fit.

#include "layout/rect_packing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace corvina {
namespace {

using Packer = bool (*)(std::span<const PackBox>, std::span<const std::int32_t>, int, int, bool,
                        std::vector<PackPlace>&);

// Marks each placed box's pixels; false when a pixel is marked twice or a box
// leaves the bin.
bool placesAreSound(const std::vector<PackBox>& boxes, const std::vector<PackPlace>& places,
                    int width, int height) {
  std::vector<int> used(static_cast<std::size_t>(width * height), 0);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const int w = places[i].rotated ? boxes[i].height : boxes[i].width;
    const int h = places[i].rotated ? boxes[i].width : boxes[i].height;
    if (places[i].x < 0 || places[i].y < 0 || places[i].x + w > width || places[i].y + h > height)
      return false;
    for (int y = places[i].y; y < places[i].y + h; ++y)
      for (int x = places[i].x; x < places[i].x + w; ++x)
        if (used[static_cast<std::size_t>(y * width + x)]++ != 0) return false;
  }
  return true;
}

TEST(RectPackingTest, RandomBoxesFitWithoutOverlap) {
  const Packer packers[] = {packShelves, packSkyline};
  for (Packer packer : packers) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      SCOPED_TRACE(seed);
      std::mt19937 random(seed);
      std::uniform_int_distribution<int> side(1, 20);
      std::vector<PackBox> boxes(60);
      for (PackBox& box : boxes) box = {side(random), side(random)};
      std::vector<std::int32_t> order(boxes.size());
      std::iota(order.begin(), order.end(), 0);
      std::sort(order.begin(), order.end(),
                [&](std::int32_t a, std::int32_t b) { return boxes[a].height > boxes[b].height; });
      std::vector<PackPlace> places;
      const bool rotate = seed % 2 == 0;
      ASSERT_TRUE(packer(boxes, order, 200, 200, rotate, places));
      EXPECT_TRUE(placesAreSound(boxes, places, 200, 200));
      if (!rotate) {
        for (const PackPlace& place : places) EXPECT_FALSE(place.rotated);
      }
    }
  }
}

TEST(RectPackingTest, TooManyBoxesAreRefused) {
  struct Case {
    std::vector<PackBox> boxes;
    int width, height;
    bool rotate;
    bool fits;
  };
  const Case cases[] = {
      {{{10, 10}, {10, 10}, {10, 10}, {10, 10}}, 20, 20, false, true},
      {{{10, 10}, {10, 10}, {10, 10}, {10, 10}, {1, 1}}, 20, 20, false, false},
      {{{30, 5}}, 20, 40, false, false},
      {{{30, 5}}, 20, 40, true, true},
      {{{20, 40}}, 20, 40, true, true},
  };
  const Packer packers[] = {packShelves, packSkyline};
  for (Packer packer : packers) {
    for (const Case& c : cases) {
      std::vector<std::int32_t> order(c.boxes.size());
      std::iota(order.begin(), order.end(), 0);
      std::vector<PackPlace> places;
      EXPECT_EQ(packer(c.boxes, order, c.width, c.height, c.rotate, places), c.fits);
      if (c.fits) {
        EXPECT_TRUE(placesAreSound(c.boxes, places, c.width, c.height));
      }
    }
  }
}

}  // namespace
}  // namespace corvina
