// The word census: how many distinct whitespace-separated words a text file holds.
#pragma once

#include <cstddef>

#include "line_reader.hpp"

namespace stationdiff {

// Sets `count` to the number of distinct words in the file at `path`: 0 when it cannot be
// opened or is a directory (the outcome then says why), which is no failure. Memory is the distinct
// words, each held once, and one block of the file, whatever its lines hold.
stationtext::ReadOutcome countDistinctWords(
    const char* path, std::size_t& count, std::size_t blocksize = stationtext::LineReader::kBlock);

}  // namespace stationdiff
