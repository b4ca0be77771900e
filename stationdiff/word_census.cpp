// The word census: how many distinct whitespace-separated words a text file holds.
#include "word_census.hpp"

#include <array>
#include <cstring>
#include <utility>

#include "name_arena.hpp"
#include "name_table.hpp"

namespace stationdiff {

std::uint64_t WordHash::operator()(std::string_view word) const {
  std::uint64_t h = word.size() * 0x9e3779b97f4a7c15u;
  std::size_t i = 0;
  for (; i + 8 <= word.size(); i += 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, word.data() + i, sizeof chunk);
    h = (h ^ chunk) * 0xff51afd7ed558ccdu;
    h ^= h >> 32;
  }
  std::uint64_t tail = 0;
  for (int shift = 0; i < word.size(); ++i, shift += 8)
    tail |= std::uint64_t{static_cast<unsigned char>(word[i])} << shift;
  h = (h ^ tail) * 0xc4ceb9fe1a85ec53u;
  h ^= h >> 29;
  h *= 0xff51afd7ed558ccdu;
  return h ^ (h >> 32);
}

stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count) {
  count = 0;
  stationtext::InputFile in = stationtext::InputFile::open(path);
  if (!in) return {};
  struct Nothing {};
  stationtext::NameTable<Nothing, WordHash> be;
  stationtext::NameArena words;
  stationtext::LineReader reader(in.file.get());
  // Up to kAhead words of a line are hashed and their slots asked for before any of them is
  // looked up, so that the cache misses of the look-ups overlap. The words are views of the
  // line: nothing is copied for that.
  constexpr std::size_t kAhead = 64;  // more than most lines hold; 1.5 KiB stays in the L1 cache
  std::array<std::pair<std::string_view, std::uint64_t>, kAhead> ahead;
  std::string_view line;
  while (reader.next(line)) {
    for (std::size_t pos = 0, taken = kAhead; taken == kAhead;) {
      for (taken = 0; taken < kAhead; ++taken) {
        const std::string_view word = stationtext::nextToken(line, pos);
        if (word.empty()) break;
        ahead[taken] = {word, be.hashOf(word)};
        be.prefetch(ahead[taken].second);
      }
      for (std::size_t i = 0; i < taken; ++i)
        be.add(ahead[i].first, ahead[i].second, {}, words);
    }
  }
  count = be.size();
  return reader.outcome(path);
}

}  // namespace stationdiff
