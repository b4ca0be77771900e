// Names put in name order: sorted on integer keys of their first bytes, their bytes read only
// where the keys tie.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "name_keys.hpp"

namespace stationtext {

// A name and the key of its first bytes (namekeys::chunkKey), by which it sorts first.
struct KeyedName {
  std::uint64_t key;
  std::string_view name;
};

// Sorts `names` in name order (compareNames): on the keys, and by the names themselves where
// keys tie with bytes still to compare.
inline void sortNames(std::vector<KeyedName>& names) {
  std::sort(names.begin(), names.end(), [](const KeyedName& a, const KeyedName& b) {
    return a.key < b.key ||
           (a.key == b.key && namekeys::tieGoesOn(a.key) && compareNames(a.name, b.name) < 0);
  });
}

// The names of `table` (a NameTable), in name order; views into the table.
template <typename Table>
std::vector<KeyedName> sortedNames(Table& table) {
  std::vector<KeyedName> names;
  names.reserve(table.size());
  table.forEach([&](std::string_view name, const auto&) {
    names.push_back({namekeys::chunkKey(name, 0), name});
  });
  sortNames(names);
  return names;
}

}  // namespace stationtext
