// The keyed hash against published test vectors, and the name table against
// std::unordered_map, with a good hash and with planted weak ones that the guard must survive.
#include "name_table.hpp"

#include <gtest/gtest.h>

#include "name_arena.hpp"

#include <cstring>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using stationtext::HashKey;
using stationtext::NameArena;
using stationtext::NameTable;

TEST(SipHash, PublishedVectors) {
  // SipHash-2-4 under the key 00 01 .. 0f, of the messages 00 01 .. (n - 1), from the
  // reference's list; SipHash-1-3 under the zero key. Lengths cross the 8-byte blocks.
  std::string counting;
  for (int i = 0; i < 64; ++i)
    counting.push_back(static_cast<char>(i));
  const HashKey reference{0x0706050403020100u, 0x0f0e0d0c0b0a0908u};
  // Every length up to two blocks, and the longest of the list.
  const std::uint64_t vectors24[] = {0x726fdb47dd0e0e31u, 0x74f839c593dc67fdu, 0x0d6c8009d9a94f5au,
                                     0x85676696d7fb7e2du, 0xcf2794e0277187b7u, 0x18765564cd99a68du,
                                     0xcbc9466e58fee3ceu, 0xab0200f58b01d137u, 0x93f5f5799a932462u,
                                     0x9e0082df0ba9e4b0u, 0x7a5dbbc594ddb9f3u, 0xf4b32f46226bada7u,
                                     0x751e8fbc860ee5fbu, 0x14ea5627c0843d90u, 0xf723ca908e7af2eeu,
                                     0xa129ca6149be45e5u, 0x3f2acc7f57c29bdbu};
  for (std::size_t length = 0; length < std::size(vectors24); ++length) {
    const std::string message = counting.substr(0, length);
    EXPECT_EQ(vectors24[length], (stationtext::sipHash<2, 4>(reference, message))) << length;
  }
  EXPECT_EQ(0x958a324ceb064572u, (stationtext::sipHash<2, 4>(reference, counting.substr(0, 63))));
  const stationtext::SipHash13 zeroKey{};
  EXPECT_EQ(0xd1fba762150c532cu, zeroKey(""));
  EXPECT_EQ(0x8264ceeccb16bcbeu, zeroKey("siphash"));
  EXPECT_EQ(0xce31007e34130c0au, zeroKey("digest-sip_hash"));
}

TEST(NameHash, LongNamesThatDifferAnywhereHashApart) {
  // Names around the long-name and chunk lengths, and names of two chunks and a bit that differ
  // from one another in one byte, anywhere, or in their length: no two share a hash under a
  // fixed key, a copy hashes alike, and another key hashes differently.
  const stationtext::NameHash hash(HashKey{1, 2});
  const std::size_t longName = stationtext::NameHash::kLongName;
  const std::size_t chunk = stationtext::NameHash::kChunkBytes;
  std::vector<std::string> names;
  for (const std::size_t length : {longName - 1, longName, chunk - 1, chunk, chunk + 1})
    names.emplace_back(length, 'a');
  const std::string base(2 * chunk + 5, 'b');
  for (std::size_t at = 0; at < base.size(); ++at) {
    names.push_back(base);
    names.back()[at] = 'c';
  }
  names.push_back(base + '\0');
  std::unordered_map<std::uint64_t, std::string> seen;
  for (const std::string& name : names) {
    EXPECT_TRUE(seen.emplace(hash(name), name).second) << name.size() << " bytes";
    EXPECT_EQ(hash(name), hash(std::string(name)));
  }
  EXPECT_NE(hash(base), stationtext::NameHash(HashKey{3, 4})(base));
}

// Planted hashes: one that ignores its key and sends every name to a few slots, and one that
// does so only under the tests' fixed key, as an unlucky key would.
struct IgnoresKey {
  HashKey key;
  std::uint64_t operator()(std::string_view name) const { return name.size() % 4; }
};
constexpr HashKey kFixedKey{1, 2};
struct WeakUnderFixedKey {
  HashKey key;
  std::uint64_t operator()(std::string_view name) const {
    return key.k0 == kFixedKey.k0 && key.k1 == kFixedKey.k1 ? 7 : stationtext::SipHash13{key}(name);
  }
};

// Rounds of lookups and adds of names drawn from `distinct` names that repeat, differ only in
// their last byte, are empty or are long enough for a block of their own, in runs of one name, of
// a batch, one fewer and one more, and of several batches; each round goes through the plain
// find() and insert(), through batches or through insertHeld(). Every answer and, at the end,
// the names' order and values are checked against the reference. Returns how often the table
// drew a new key.
template <typename Hash>
std::size_t checkAgainstUnorderedMap(std::size_t distinct, std::size_t rounds) {
  using Table = NameTable<int, Hash>;
  using Batch = stationtext::HashedBatch<Table, int>;
  std::mt19937 random(7);
  std::vector<std::string> pool{"", std::string(1, '\0'), std::string(70000, 'L'),
                                std::string(70000, 'L') + 'x'};
  while (pool.size() < distinct) {
    std::string name(random() % 12, 'x');
    for (char& c : name)
      c = "ab \xff"[random() % 4];
    pool.push_back(name + 'a');
    pool.push_back(name + 'b');
  }
  Table table(kFixedKey);
  std::unordered_map<std::string, int> reference;
  std::vector<std::string> order;  // of first adds
  const std::size_t runs[] = {1, Batch::kNames, Batch::kNames + 1, Batch::kNames - 1,
                              5 * Batch::kNames};
  for (std::size_t round = 0; round < rounds; ++round) {
    std::vector<std::pair<std::string, int>> names;
    for (std::size_t i = runs[round % std::size(runs)]; i > 0; --i)
      names.emplace_back(pool[random() % pool.size()], static_cast<int>(random() % 1000));
    const std::size_t way = round % 4;  // plain, batched, held, or finds only
    std::size_t next = 0;
    const auto source = [&](std::string_view& name, int& value) {
      if (next == names.size()) return false;
      name = names[next].first;
      value = names[next++].second;
      return true;
    };
    const auto check = [&](const std::string& name, int value, std::pair<int*, bool> got) {
      const auto [it, added] =
          way == 3 ? std::pair(reference.find(name), false) : reference.try_emplace(name, value);
      if (added) order.push_back(name);
      ASSERT_EQ(added, got.second) << name.size() << " bytes, round " << round;
      if (it == reference.end()) {
        ASSERT_EQ(nullptr, got.first) << name;
      } else {
        ASSERT_NE(nullptr, got.first) << name;
        ASSERT_EQ(it->second, *got.first) << "the first value stays";
      }
    };
    if (way == 1 || way == 3) {
      for (Batch batch(table); batch.refill(source);) {
        for (std::size_t i = 0; i < batch.size(); ++i) {
          const std::string name(batch.name(i));
          check(name, batch.value(i),
                way == 1 ? table.insert(batch.name(i), batch.value(i), batch.hash(i))
                         : std::pair(table.find(batch.name(i), batch.hash(i)), false));
        }
      }
      continue;
    }
    for (const auto& [name, value] : names) {
      if (way == 0) {
        check(name, value, table.insert(name, value));
        continue;
      }
      stationtext::ByteBlock block;
      block.resize(name.size() + 2);
      std::memcpy(block.data() + 1, name.data(), name.size());
      const std::string_view held(block.data() + 1, name.size());
      check(name, value, table.insertHeld(held, value, std::move(block)));
    }
  }
  EXPECT_EQ(order.size(), table.size());
  std::size_t i = 0;
  table.forEach([&](std::string_view name, int value) {
    ASSERT_LT(i, order.size());
    EXPECT_EQ(order[i], name);
    EXPECT_EQ(reference.at(order[i++]), value) << "the first value stays";
  });
  EXPECT_EQ(order.size(), i);
  return table.rekeys();
}

TEST(NameArena, KeepsEveryNameIntactAcrossChunks) {
  // 40 MiB of names of every length below 300 bytes, and now and then one longer than a chunk's
  // share, so that chunks fill up, grow and are passed over; each kept copy must still read as
  // its name at the end.
  const auto nameOf = [](std::size_t i) {
    return std::string(i % 5000 == 0 ? 200000 : i % 300, static_cast<char>('a' + i % 26));
  };
  NameArena arena;
  std::vector<std::string_view> kept;
  for (std::size_t i = 0, bytes = 0; bytes < (std::size_t{40} << 20); bytes += kept.back().size())
    kept.push_back(arena.keep(nameOf(i++)));
  for (std::size_t i = 0; i < kept.size(); ++i)
    ASSERT_EQ(nameOf(i), kept[i]) << i;
}

TEST(NameTable, AgreesWithUnorderedMap) {
  // 6,000 names grow the index from its first size four times.
  EXPECT_EQ(0u, checkAgainstUnorderedMap<stationtext::SipHash13>(6000, 600));
}

TEST(NameTable, GuardDrawsANewKeyWhenProbesGrowLong) {
  // Every name in one run of slots under the fixed key: the guard draws a new key once, and
  // the table's growths after it find no long probe again.
  EXPECT_EQ(1u, checkAgainstUnorderedMap<WeakUnderFixedKey>(6000, 600));
  // A hash that ignores its key stays slow but exact, with a new key once per growth at most.
  const std::size_t rekeys = checkAgainstUnorderedMap<IgnoresKey>(1000, 150);
  EXPECT_GE(rekeys, 1u);
  EXPECT_LE(rekeys, 2u);
}

}  // namespace
