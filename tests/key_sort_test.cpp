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

bool less(const Item& a, const Item& b) {
  return a.key != b.key ? a.key < b.key : a.tiebreak < b.tiebreak;
}

struct Shape {
  const char* name;
  std::size_t size;
  std::uint64_t (*key)(std::mt19937_64&);
};

const Shape shapes[] = {
    {"empty", 0, [](std::mt19937_64& r) { return r(); }},
    {"one", 1, [](std::mt19937_64& r) { return r(); }},
    {"below the bucket threshold", 50, [](std::mt19937_64& r) { return r(); }},
    {"random", 20000, [](std::mt19937_64& r) { return r(); }},
    {"all equal", 5000, [](std::mt19937_64&) { return std::uint64_t{0x4275646170657374}; }},
    {"shared first five bytes", 20000,
     [](std::mt19937_64& r) { return std::uint64_t{0x4275646170} << 24 | (r() & 0xffffff); }},
    {"few distinct keys", 20000, [](std::mt19937_64& r) { return (r() % 7) << 56 | (r() % 3); }},
    {"low byte only", 20000, [](std::mt19937_64& r) { return r() & 0xff; }},
};

TEST(SortByKeyBytes, AgreesWithStdSort) {
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    std::mt19937_64 random(42);
    std::vector<Item> items(shape.size);
    for (std::uint32_t i = 0; i < items.size(); ++i) {
      items[i] = {shape.key(random), static_cast<std::uint32_t>(random() % 4), i};
    }
    std::vector<Item> expected = items;
    std::sort(expected.begin(), expected.end(), less);
    namekeys::sortByKeyBytes(
        items.begin(), items.end(), [](const Item& item) { return item.key; }, less);

    ASSERT_TRUE(std::is_sorted(items.begin(), items.end(), less));
    std::vector<bool> met(items.size());
    for (const Item& item : items) {
      ASSERT_FALSE(met[item.id]) << "item " << item.id << " twice";
      met[item.id] = true;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(expected[i].key, items[i].key);
      EXPECT_EQ(expected[i].tiebreak, items[i].tiebreak);
    }
  }
}

}  // namespace
