// The name index against the plain algorithms it stands for, on plain names: its keys against
// compareNames, its sort against std::sort, its search against std::lower_bound.
#include "stationdiff/name_index.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "stationdiff/places.hpp"

namespace {

using stationdiff::NameIndex;
using stationdiff::namekeys::kChunk;

bool before(std::string_view a, std::string_view b) {
  return stationtext::compareNames(a, b) < 0;
}

// Names as the index meets them: chunks of a few kinds, so that later chunks repeat under
// different first ones and names share one, two or three chunks; bytes 0x00 and 0xff; prefixes
// of each other and the empty name; long names held many times, around the end of a stretch
// over which the sort compares names that tie chunk after chunk.
std::string randomName(std::mt19937& random) {
  static const std::string chunks[] = {std::string(kChunk, 'A'), std::string(kChunk, 'B'),
                                       std::string(kChunk, '\xff'), std::string(kChunk, '\0'),
                                       "Station"};
  std::string name;
  if (random() % 16 == 0) name.assign(62 + random() % 3, 'L');
  for (std::size_t n = name.empty() ? random() % 4 : 0; n > 0; --n)
    name += chunks[random() % std::size(chunks)];
  for (std::size_t n = random() % 3; n > 0; --n)
    name.push_back("az \xff"[random() % 4]);
  return name;
}

TEST(NameKeys, OrderNamesAsCompStationNames) {
  // Pairs of names of up to 16 bytes from the bytes where order could slip (0x00, 0x01, 0x7f,
  // 0x80 and 0xff), their chunk keys at every offset where they agree before: a smaller key
  // belongs to the smaller name, and equal keys that leave nothing to the bytes after them to
  // equal names.
  using namespace stationdiff::namekeys;
  std::vector<std::string> names{""};
  std::mt19937 random(3);
  for (std::size_t i = 0; i < 600; ++i) {
    names.emplace_back(random() % 17, '\0');
    for (char& c : names.back())
      c = "\x00\x01\x7f\x80\xff"[random() % (random() % 4 == 0 ? 5 : 2)];
  }
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      const PrefixKey ka(a), kb(b);
      EXPECT_FALSE((ka < kb && !before(a, b)) || (ka == kb && !ka.bytesDecide() && a != b))
          << testing::PrintToString(a) << " " << testing::PrintToString(b);
      for (std::size_t offset = 0; offset <= 16 && a.compare(0, offset, b, 0, offset) == 0;
           ++offset) {
        const auto ca = chunkKey(a, offset), cb = chunkKey(b, offset);
        EXPECT_FALSE((ca < cb && !before(a, b)) || (ca == cb && !tieGoesOn(ca) && a != b))
            << testing::PrintToString(a) << " " << testing::PrintToString(b) << " at " << offset;
      }
    }
  }
}

TEST(NameIndex, SortsAndFindsAsStdSortAndLowerBoundWould) {
  // Sizes of a few names and past the placing's cached range; batches
  // of one name, of a lane count and one more, and of more than two batches hold. First, runs of
  // equal first chunks whose second chunks tie across them: a run that took in its neighbour's
  // first name would sort "BBBBBBBXXXXXXXc" between the two "AAAAAAAXXXXXXX" names.
  const std::size_t lanes = stationdiff::nameindex::kLanes;
  for (const std::size_t size :
       {std::size_t{5}, std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{63},
        std::size_t{65}, stationdiff::places::kCached + 1, std::size_t{40000}}) {
    std::mt19937 random(static_cast<unsigned>(size));
    std::vector<std::string> held;
    for (std::size_t i = 0; i < size; ++i)
      held.push_back(randomName(random));
    if (size == 5)
      held = {"AAAAAAAPPPPPPP", "AAAAAAAXXXXXXXz", "AAAAAAAXXXXXXXa", "BBBBBBBXXXXXXXc",
              "BBBBBBBYYYYYYY"};
    std::vector<std::string_view> names(held.begin(), held.end());
    NameIndex index;
    index.sort(std::span(names));
    std::vector<std::string_view> expected(held.begin(), held.end());
    std::sort(expected.begin(), expected.end(), before);
    ASSERT_EQ(expected, names) << size << " names";

    // More names than two batches hold, whatever a batch holds for this size of register.
    const std::size_t batches = 2 * std::max(lanes, size / NameIndex::kNamesPerSought) + 1;
    for (const std::size_t batch : {std::size_t{1}, lanes, lanes + 1, batches}) {
      SCOPED_TRACE(testing::Message() << size << " names, " << batch << " sought");
      std::vector<std::string> sought;
      for (std::size_t i = 0; i < batch; ++i)
        sought.push_back(size > 0 && random() % 2 ? held[random() % size] : randomName(random));
      std::size_t next = 0;
      std::vector<std::string> answered;
      index.match(
          std::span<const std::string_view>(names), std::identity{},
          [&](std::string_view& name) {
            if (next == sought.size()) return false;
            name = sought[next++];
            return true;
          },
          [&](std::string_view name, std::size_t at) {
            answered.emplace_back(name);
            const auto first = std::lower_bound(names.begin(), names.end(), name, before);
            const bool present = first != names.end() && *first == name;
            EXPECT_EQ(
                present ? static_cast<std::size_t>(first - names.begin()) : NameIndex::kNotFound,
                at)
                << name;
          });
      std::sort(sought.begin(), sought.end());
      std::sort(answered.begin(), answered.end());
      EXPECT_EQ(sought, answered) << "each name answered once for each time it was given";
    }
  }
}

}  // namespace
