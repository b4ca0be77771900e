// The growth rule and the growing array that every growing thing uses.
#include "big_memory.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using stationtext::GrowingArray;
using stationtext::nextCapacity;

TEST(GrowthRule, AtLeastDoublesAndAtLeastWhatIsNeeded) {
  EXPECT_EQ(8u, nextCapacity(4, 5));
  EXPECT_EQ(100u, nextCapacity(4, 100));
  EXPECT_EQ(1u, nextCapacity(0, 1));
  EXPECT_EQ(SIZE_MAX, nextCapacity(SIZE_MAX / 2 + 1, 0)) << "no overflow";
}

TEST(GrowingArray, KeepsItsElementsAcrossGrowthAndRecast) {
  // A million elements grow the array from a page through many remaps; each must still be
  // there, and the bytes must read the same as elements of another type.
  GrowingArray<std::uint32_t> array;
  for (std::uint32_t i = 0; i < 1000000; ++i)
    array.push_back(i * 2654435761u);
  ASSERT_EQ(1000000u, array.size());
  EXPECT_GE(array.capacity(), array.size());
  for (std::uint32_t i = 0; i < 1000000; ++i)
    ASSERT_EQ(i * 2654435761u, array[i]) << i;
  const std::uint32_t second = array[1];
  GrowingArray<std::uint16_t> halves = std::move(array).recast<std::uint16_t>();
  EXPECT_EQ(0u, array.size());
  ASSERT_EQ(2000000u, halves.size());
  std::uint32_t joined;
  std::memcpy(&joined, &halves[2], sizeof joined);
  EXPECT_EQ(second, joined);
  // Shrinking keeps what is left.
  halves.resize(4);
  halves.setCapacity(4);
  EXPECT_EQ(4u, halves.capacity());
  std::memcpy(&joined, &halves[2], sizeof joined);
  EXPECT_EQ(second, joined);
}

TEST(GrowingArray, ZeroedStartsAllZero) {
  const auto zeroed = GrowingArray<std::uint64_t>::zeroed(300000);
  ASSERT_EQ(300000u, zeroed.size());
  for (const std::uint64_t word : zeroed)
    ASSERT_EQ(0u, word);
}

}  // namespace
