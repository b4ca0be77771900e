// The word census: how many distinct whitespace-separated words a text file holds.
#include "word_census.hpp"

#include "name_arena.hpp"
#include "name_table.hpp"

#include <utility>

namespace stationdiff {

stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count,
                                            std::size_t blocksize) {
  count = 0;
  stationtext::InputFile in = stationtext::InputFile::open(path);
  if (!in) return in.outcome(path);
  stationtext::LineReader reader(in.file.get(), blocksize);
  stationtext::NameTable<stationtext::NoValue> words;
  stationtext::NameArena arena;
  words.addAll([&](std::string_view& word) { return reader.nextWord(word); },
               [&](std::string_view word) {
                 // A word of a block or more lies alone at the start of the reader's block: the
                 // arena takes that block over, so that the word is held once, not copied.
                 if (word.size() < blocksize || !reader.holds(word)) return arena.keep(word);
                 stationtext::LineReader::Kept kept = reader.handOver(word);
                 return arena.adopt(std::move(kept.block), kept.piece);
               });
  count = words.size();
  return reader.outcome(path);
}

}  // namespace stationdiff
