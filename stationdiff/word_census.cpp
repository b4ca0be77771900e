// The word census: how many distinct whitespace-separated words a text file holds.
#include "word_census.hpp"

#include <utility>

#include "name_table.hpp"

namespace stationdiff {

stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count,
                                            std::size_t blocksize) {
  count = 0;
  stationtext::InputFile in = stationtext::InputFile::open(path);
  if (!in) return in.outcome(path);
  stationtext::LineReader reader(in.file.get(), blocksize);
  stationtext::NameTable<> words;
  // A word of a block or more lies alone at the start of the reader's block: when it is new, the
  // table takes that block over, so that the word is held once, not copied.
  const auto next = [&](std::string_view& word) {
    while (reader.nextWord(word)) {
      if (word.size() < blocksize || !reader.holds(word)) return true;
      if (words.find(word) != nullptr) continue;
      stationtext::LineReader::Kept kept = reader.handOver(word);
      words.insertHeld(kept.piece, {}, std::move(kept.block));
    }
    return false;
  };
  for (stationtext::HashedBatch<decltype(words), stationtext::NoValue> batch(words);
       batch.refill(next);) {
    for (std::size_t i = 0; i < batch.size(); ++i)
      words.insert(batch.name(i), {}, batch.hash(i));
  }
  count = words.size();
  return reader.outcome(path);
}

}  // namespace stationdiff
