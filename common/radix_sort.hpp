// Sorting by unsigned integer keys a digit at a time, for arrays large enough that comparing
// costs more than passing over them a few times.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace stationtext {

// Sorts `items` by keyOf(item), an unsigned integer below 2^bits, keeping the order of items
// whose keys are equal: one pass per 16-bit digit, the lowest first, into a second array. A
// digit that all keys share costs no pass.
template <typename T, typename KeyOf>
void radixSort(std::vector<T>& items, int bits, KeyOf keyOf) {
  // Two passes sort a 32-bit key, and a pass's counts (half a megabyte) stay in the cache.
  constexpr int kDigitBits = 16;
  constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << kDigitBits) - 1;
  std::vector<T> other(items.size());
  std::vector<std::size_t> starts(std::size_t{1} << kDigitBits);
  for (int shift = 0; shift < bits; shift += kDigitBits) {
    const auto digit = [&](const T& item) {
      return static_cast<std::size_t>(std::uint64_t{keyOf(item)} >> shift & kDigitMask);
    };
    std::fill(starts.begin(), starts.end(), 0);
    for (const T& item : items)
      ++starts[digit(item)];
    if (!items.empty() && starts[digit(items.front())] == items.size()) continue;
    std::size_t sum = 0;
    for (std::size_t& start : starts)
      sum += std::exchange(start, sum);
    for (const T& item : items)
      other[starts[digit(item)]++] = item;
    items.swap(other);
  }
}

}  // namespace stationtext
