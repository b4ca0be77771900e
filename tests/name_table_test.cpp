// The name table against std::unordered_map doing the same job, on random adds and finds
// across several growths of its index.
#include "name_table.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using stationtext::NameArena;
using stationtext::NameTable;

// Names that repeat, that differ only in their last byte, and the empty name.
std::vector<std::string> namePool(std::size_t count, std::mt19937& random) {
  std::vector<std::string> pool{"", std::string(1, '\0')};
  while (pool.size() < count) {
    std::string name(random() % 12, 'x');
    for (char& c : name)
      c = "ab \xff"[random() % 4];
    pool.push_back(name + 'a');
    pool.push_back(name + 'b');
  }
  return pool;
}

// A hash that, with the multiplier 1, sends every name to the last slot of the index, so that
// probes run past its end and every name ties with many others.
struct Crowding {
  std::uint64_t operator()(std::string_view name) const {
    return ~std::uint64_t{0} - name.size() % 4;
  }
};

// Runs `ops` random adds and finds on names drawn from `distinct` names, one by one or in
// batches, and checks each answer, and the entries' order, against the reference.
template <typename Hash>
void checkAgainstUnorderedMap(std::size_t distinct, std::size_t ops, std::size_t reserved,
                              bool batched, std::uint64_t multiplier) {
  std::mt19937 random(7);
  const std::vector<std::string> pool = namePool(distinct, random);
  NameTable<int, Hash> table(multiplier);
  table.reserve(reserved);
  typename NameTable<int, Hash>::Batch batch(table);
  NameArena arena;
  std::unordered_map<std::string, int> reference;
  std::vector<std::string> order;  // of first adds
  for (std::size_t i = 0; i < ops; ++i) {
    const std::string& name = pool[random() % pool.size()];
    const int code = static_cast<int>(i);
    if (random() % 3 != 0) {
      const bool added = reference.try_emplace(name, code).second;
      if (added) order.push_back(name);
      if (batched) {
        if (batch.add(name, code)) table.addAll(batch, arena);
        continue;
      }
      const auto [entry, fresh] = table.add(name, table.hashOf(name), code, arena);
      EXPECT_EQ(added, fresh) << name;
      EXPECT_EQ(name, entry->name);
      EXPECT_EQ(reference.at(name), entry->value) << "the first code of a name stays";
    } else {
      // A find, one by one or as the only name of a batch.
      table.addAll(batch, arena);
      typename NameTable<int, Hash>::Entry* entry = nullptr;
      if (batched) {
        batch.add(name);
        table.findAll(batch, [&](std::string_view, auto* found) { entry = found; });
      } else {
        entry = table.find(name, table.hashOf(name));
      }
      ASSERT_EQ(reference.count(name) != 0, entry != nullptr) << name;
      if (entry != nullptr) {
        EXPECT_EQ(reference.at(name), entry->value) << name;
      }
    }
  }
  table.addAll(batch, arena);
  ASSERT_EQ(order.size(), table.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(order[i], table.entries()[i].name);
    EXPECT_EQ(reference.at(order[i]), table.entries()[i].value);
  }
}

TEST(NameTable, AgreesWithUnorderedMap) {
  // Up to 6,000 names grow the index from 1,024 slots five times; a reservation that is too
  // small must grow too.
  for (const bool batched : {false, true}) {
    SCOPED_TRACE(batched ? "in batches" : "one by one");
    checkAgainstUnorderedMap<std::hash<std::string_view>>(6000, 20000, 0, batched, 0x9e37);
    checkAgainstUnorderedMap<std::hash<std::string_view>>(6000, 20000, 100, batched, 0x9e37);
    checkAgainstUnorderedMap<Crowding>(700, 3000, 0, batched, 1);
  }
}

}  // namespace
