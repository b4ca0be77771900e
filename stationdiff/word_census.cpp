// The word census: how many distinct whitespace-separated words a text file holds.
#include "word_census.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace stationdiff {

bool WordSet::insert(std::string_view word) {
  if (2 * (count_ + 1) > slots_.size()) grow();
  const std::uint64_t hash = hashOf(word);
  const std::uint64_t tag = hash & kTagMask;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const std::uint64_t slot = slots_[at];
    if (slot == 0) {
      // Offsets have kOffsetBits bits: more distinct text than that is treated like running
      // out of memory, which it would be long before on any machine this runs on.
      if (bytes_.size() + sizeof(std::uint64_t) + word.size() >= (std::uint64_t{1} << kOffsetBits))
        throw std::bad_alloc();
      slots_[at] = tag | (bytes_.size() + 1);
      const std::uint64_t length = word.size();
      bytes_.append(reinterpret_cast<const char*>(&length), sizeof length);
      bytes_.append(word);
      ++count_;
      return true;
    }
    if ((slot & kTagMask) == tag && wordAt(slot) == word) return false;
  }
}

std::string_view WordSet::wordAt(std::uint64_t slot) const {
  const std::size_t offset = (slot & ~kTagMask) - 1;
  std::uint64_t length;
  std::memcpy(&length, bytes_.data() + offset, sizeof length);
  return std::string_view(bytes_).substr(offset + sizeof length, length);
}

// Eight bytes at a time, each step a multiply, with a final mix so that both the low bits (the
// table position) and the high bits (the tag) depend on every byte.
std::uint64_t WordSet::hashOf(std::string_view word) {
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

void WordSet::grow() {
  std::vector<std::uint64_t> old(std::max(kMinSlots, 2 * slots_.size()));
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const std::uint64_t slot : old) {
    if (slot == 0) continue;
    std::size_t at = hashOf(wordAt(slot)) & mask;
    while (slots_[at] != 0)
      at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

stationtext::ReadOutcome countDistinctWords(const char* path, std::size_t& count) {
  count = 0;
  stationtext::InputFile in = stationtext::InputFile::open(path);
  if (!in) return {};
  WordSet be;
  stationtext::LineReader reader(in.file.get());
  std::string_view line;
  while (reader.next(line))
    stationtext::forEachToken(line, [&](std::string_view word) { be.insert(word); });
  count = be.size();
  return reader.outcome(path);
}

}  // namespace stationdiff
