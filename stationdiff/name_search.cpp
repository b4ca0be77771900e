// Finding names among sorted names: the parts that read keys only.
#include "name_search.hpp"

#include <algorithm>

namespace stationdiff::nameindex {

void sortBatch(const stationtext::NameBatch<>& batch, std::vector<SearchName>& order) {
  order.clear();
  for (std::size_t i = 0; i < batch.size(); ++i)
    order.push_back({namekeys::PrefixKey(batch.name(i)), static_cast<std::uint32_t>(i)});
  const auto byKey = [](const SearchName& a, const SearchName& b) { return a.key < b.key; };
  // The shared levels of the search rely on this order.
  std::sort(order.begin(), order.end(), byKey);
}

std::size_t sharedLevels(const stationtext::GrowingArray<namekeys::PrefixKey>& keys,
                         const namekeys::PrefixKey& low, const namekeys::PrefixKey& high,
                         std::size_t& span) {
  // While the key at a level lies below the group's lowest name's or above its highest name's,
  // every name of the group takes the same turn there, and the level needs no comparison of its
  // own for each of them.
  std::size_t shared = 0;
  while (span > 1) {
    const std::size_t half = span / 2;
    const namekeys::PrefixKey& probe = keys[shared + half];
    if (probe < low) {
      shared += half;
    } else if (!(high < probe)) {
      break;
    }
    span -= half;
  }
  return shared;
}

}  // namespace stationdiff::nameindex
