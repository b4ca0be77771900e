// The byte-wise key sort against std::sort, on key sets shaped like the ones it meets: keys
// that share their first bytes, many equal keys, and ties that only the comparison settles.
#include "key_sort.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Item {
  std::uint64_t key;
  std::uint32_t tiebreak;  // orders items of equal key, as the next chunk of a name would
  std::uint32_t id;        // tells the items apart, to check that none is lost or doubled
};

TEST(SortByKeyBytes, AgreesWithStdSort) {
  using Key = std::uint64_t (*)(std::mt19937_64&);
  const std::vector<std::pair<std::size_t, Key>> shapes = {
      {0, [](std::mt19937_64& r) { return r(); }},
      {50, [](std::mt19937_64& r) { return r(); }},  // below the bucket threshold
      {20000, [](std::mt19937_64& r) { return r(); }},
      {5000, [](std::mt19937_64&) { return std::uint64_t{0x4275646170657374}; }},  // all equal
      {20000,
       [](std::mt19937_64& r) { return std::uint64_t{0x4275646170} << 24 | (r() & 0xffffff); }},
      {20000, [](std::mt19937_64& r) { return (r() % 7) << 56 | (r() % 3); }},  // few distinct
      {20000, [](std::mt19937_64& r) { return r() & 0xff; }},                   // low byte only
  };
  const auto less = [](const Item& a, const Item& b) {
    return a.key != b.key ? a.key < b.key : a.tiebreak < b.tiebreak;
  };
  for (std::size_t s = 0; s < shapes.size(); ++s) {
    SCOPED_TRACE(s);
    std::mt19937_64 random(42);
    std::vector<Item> items(shapes[s].first);
    for (std::uint32_t i = 0; i < items.size(); ++i)
      items[i] = {shapes[s].second(random), static_cast<std::uint32_t>(random() % 4), i};
    std::vector<Item> expected = items;
    std::sort(expected.begin(), expected.end(), less);
    stationdiff::namekeys::sortByKeyBytes(
        items.begin(), items.end(), [](const Item& i) { return i.key; }, less);

    std::vector<std::uint32_t> ids;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(expected[i].key, items[i].key);
      EXPECT_EQ(expected[i].tiebreak, items[i].tiebreak);
      ids.push_back(items[i].id);
    }
    std::sort(ids.begin(), ids.end());
    for (std::uint32_t i = 0; i < ids.size(); ++i)
      ASSERT_EQ(i, ids[i]) << "an item lost or doubled";
  }
}

}  // namespace
