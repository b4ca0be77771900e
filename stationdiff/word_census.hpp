// The word census: how many distinct whitespace-separated words a text file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "line_reader.hpp"

namespace stationdiff {

// The census's hash of a word: eight bytes at a time, each step a multiply, with a final mix so
// that every bit depends on every byte. On short words, nearly all of them repeated, it costs
// less than the standard string hash, whose quality the census does not need.
struct WordHash {
  std::uint64_t operator()(std::string_view word) const;
};

// Sets `count` to the number of distinct words in the file at `path`: 0 when it cannot be
// opened or is a directory, which is no failure.
stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count);

}  // namespace stationdiff
