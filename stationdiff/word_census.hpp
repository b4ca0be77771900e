// The word census: how many distinct whitespace-separated words a text file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_reader.hpp"

namespace stationdiff {

// A set of distinct words: open addressing over a table of 8-byte slots, the words' bytes kept
// back to back, each after its length. A slot holds where its word starts and the top bits of
// the word's hash, so that a look-up touches one slot of a table small enough for the cache
// and reads a word's bytes only when those bits match.
class WordSet {
 public:
  std::size_t size() const { return count_; }
  // Adds `word` unless it is there; true when it was not.
  bool insert(std::string_view word);

 private:
  // The table starts this large, so that a small text never grows it.
  static constexpr std::size_t kMinSlots = 1024;
  // A slot is 0 when empty, else the tag bits of the hash above the word's offset + 1.
  static constexpr int kOffsetBits = 40;  // 1 TiB of distinct words
  static constexpr std::uint64_t kTagMask = ~std::uint64_t{0} << kOffsetBits;

  std::string_view wordAt(std::uint64_t slot) const;
  static std::uint64_t hashOf(std::string_view word);
  void grow();

  std::vector<std::uint64_t> slots_;
  std::string bytes_;
  std::size_t count_ = 0;
};

// Sets `count` to the number of distinct words in the file at `path`: 0 when it cannot be
// opened or is a directory, which is no failure.
stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count);

}  // namespace stationdiff
