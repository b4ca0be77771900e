// Sorting a caller's records by name and then finding names among them. The index sees names
// only, through a projection of the records that each call is given, and answers with places
// and positions; how it gets there (integer keys of the names, a key sort, batched binary
// searches) is its own business.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "big_memory.hpp"
#include "name_batch.hpp"
#include "name_search.hpp"
#include "name_sort.hpp"
#include "places.hpp"

namespace stationdiff {

class NameIndex {
 public:
  // What match() reports for a name that no record has.
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
  // Names searched together: sorting a batch lets each search find most of its path in the
  // cache from the one before. A batch holds a name for every kNamesPerSought names of the
  // register, within these bounds: a smaller register's paths are cached with fewer, and a
  // larger batch only adds to the peak memory.
  static constexpr std::size_t kBatchNames = 131072;
  static constexpr std::size_t kNamesPerSought = 8;
  // Bytes of the batch's names per name: about what names take.
  static constexpr std::size_t kBatchBytesPerName = 32;

  // Sorts `records` by the names that name(record) gives (a std::string_view), as compareNames
  // orders names; records of one name end up next to each other, in no fixed order. Keeps the
  // names' keys for match(). Fewer than 2^32 records.
  template <typename Record, typename Projection = std::identity>
  void sort(std::span<Record> records, Projection name = {}) {
    const Names<Record, Projection> names{records, name};
    {
      stationtext::GrowingArray<std::uint32_t> place = nameindex::sortPlaces(names);
      moveToPlaces(records, std::span(place.data(), place.size()));
    }
    nameindex::keysInOrder(names, sorted_.keys);
  }

  // Looks up each name that next(name) gives (it returns false when there is none left) among
  // the records `sorted`, those that the last sort() sorted: calls
  // found(name, at) once for each time the name was given, in no particular order, with the
  // position of the first record of that name, or kNotFound. A view handed to found() is valid
  // during the call only.
  template <typename Record, typename Projection, typename Next, typename Found>
  void match(std::span<const Record> sorted, Projection name, Next next, Found found) const {
    assert(sorted.size() == sorted_.keys.size());
    const Names<const Record, Projection> stations{sorted, name};
    const std::size_t batchNames =
        std::clamp(sorted.size() / kNamesPerSought, nameindex::kLanes, kBatchNames);
    stationtext::NameBatch<> batch(batchNames, batchNames * kBatchBytesPerName);
    std::vector<nameindex::SearchName> order;
    order.reserve(batchNames);
    std::array<std::string_view, nameindex::kLanes> text;
    std::array<std::size_t, nameindex::kLanes> at;
    while (batch.refill(next)) {
      nameindex::sortBatch(batch, order);
      for (std::size_t group = 0; group < order.size(); group += nameindex::kLanes) {
        const std::size_t lanes = std::min(nameindex::kLanes, order.size() - group);
        for (std::size_t g = 0; g < lanes; ++g)
          text[g] = batch.name(order[group + g].index);
        nameindex::findGroup(sorted_, stations, &order[group], text.data(), lanes, at.data(),
                             kNotFound);
        for (std::size_t g = 0; g < lanes; ++g)
          found(text[g], at[g]);
      }
    }
  }

 private:
  // The names of a call's records, as the sort and the search read them.
  template <typename Record, typename Projection>
  struct Names {
    std::span<Record> records;
    Projection projection;

    std::size_t size() const { return records.size(); }
    std::string_view operator[](std::size_t i) const { return std::invoke(projection, records[i]); }
    // Asks for the memory of records[i], which reading its name needs first.
    void prefetch(std::size_t i) const { places::prefetchItem(records[i]); }
  };

  nameindex::SortedNames sorted_;
};

}  // namespace stationdiff
