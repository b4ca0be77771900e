// Sorting by 64-bit name keys: most significant byte first, in place, which on names that
// share their first letters does far fewer comparisons than a comparison sort alone.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace stationtext::namekeys {

namespace detail {

// Below this many elements, std::sort costs less than another counting pass over 256 buckets.
constexpr std::ptrdiff_t kSmallSort = 64;

// sortByKeyBytes() from the key's byte at `shift` (56, 48, ... 0) on.
template <typename It, typename KeyOf, typename Less>
void sortFromKeyByte(It first, It last, KeyOf keyOf, Less less, int shift) {
  const auto digit = [&](const auto& element) {
    return static_cast<std::size_t>((keyOf(element) >> shift) & 0xff);
  };
  for (; shift >= 0; shift -= 8) {
    const std::ptrdiff_t n = last - first;
    if (n <= kSmallSort) break;
    std::array<std::ptrdiff_t, 256> count{};
    for (It it = first; it != last; ++it)
      ++count[digit(*it)];
    if (count[digit(*first)] == n) continue;

    std::array<std::ptrdiff_t, 256> next{}, end{};
    std::ptrdiff_t sum = 0;
    for (std::size_t b = 0; b < 256; ++b) {
      next[b] = sum;
      sum += count[b];
      end[b] = sum;
    }
    // Each element is moved straight into its bucket: take the one at a bucket's next free
    // place, and swap it along the buckets it belongs to until one that belongs here turns up.
    for (std::size_t b = 0; b < 256; ++b) {
      while (next[b] < end[b]) {
        auto moving = std::move(first[next[b]]);
        for (std::size_t d = digit(moving); d != b; d = digit(moving)) {
          std::swap(moving, first[next[d]++]);
        }
        first[next[b]++] = std::move(moving);
      }
    }
    for (std::size_t b = 0; b < 256; ++b) {
      if (count[b] > 1)
        sortFromKeyByte(first + (end[b] - count[b]), first + end[b], keyOf, less, shift - 8);
    }
    return;
  }
  std::sort(first, last, less);
}

}  // namespace detail

// Sorts [first, last) by `less`, where keyOf(element) is a 64-bit key whose order agrees with
// `less`: a smaller key means a smaller element, and equal keys leave the order to `less`.
// The elements are spread into 256 buckets by the key's first byte and each bucket is
// sorted on by the next byte; a small bucket, or one whose key bytes are used up, is finished
// with std::sort. A byte that all elements share costs one counting pass and no moves.
template <typename It, typename KeyOf, typename Less>
void sortByKeyBytes(It first, It last, KeyOf keyOf, Less less) {
  detail::sortFromKeyByte(first, last, keyOf, less, 56);
}

}  // namespace stationtext::namekeys
