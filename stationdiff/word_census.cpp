// The word census: how many distinct whitespace-separated words a text file holds.
#include "word_census.hpp"

#include "name_arena.hpp"
#include "name_table.hpp"

namespace stationdiff {

stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count,
                                            std::size_t blocksize) {
  count = 0;
  stationtext::InputFile in = stationtext::InputFile::open(path);
  if (!in) return {};
  stationtext::LineReader reader(in.file.get(), blocksize);
  stationtext::NameTable<stationtext::NoValue> words;
  stationtext::NameArena arena;
  words.addAll([&](std::string_view& word) { return reader.nextWord(word); }, arena);
  count = words.size();
  return reader.outcome(path);
}

}  // namespace stationdiff
