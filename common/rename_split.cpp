// Splitting names into lower-cased words, each distinct word numbered through a name table.
#include "rename_words.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "name_table.hpp"

namespace stationtext {
namespace {

// Each byte as words hold it, or 0 for a byte that separates words: ASCII letters are
// lower-cased, ASCII digits and bytes from 0x80 up kept, and every other byte separates.
constexpr std::array<unsigned char, 256> kWordByte = [] {
  std::array<unsigned char, 256> bytes{};
  for (unsigned c = 0; c < 256; ++c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c >= 0x80) bytes[c] = c;
    if (c >= 'A' && c <= 'Z') bytes[c] = c - 'A' + 'a';
  }
  return bytes;
}();

// How many bytes `a` and `b` begin with alike; eight at a time while they agree.
std::size_t sharedPrefix(std::string_view a, std::string_view b) {
  const std::size_t most = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (std::uint64_t x, y; i + 8 <= most; i += 8) {
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < most && a[i] == b[i])
    ++i;
  return i;
}

// The distinct words, numbered from 0 in the order first seen, found through a name table (its
// hash keyed for the run), their texts kept by number.
class WordTable {
 public:
  // Words looked up together at most: enough for the cache misses of their slots to overlap.
  static constexpr std::size_t kBatch = 64;

  // Sets numbers[i] to the number of word i of `count` <= kBatch words, which lie back to back
  // in `bytes`, word i ending at ends[i]. A new word is copied.
  void numberAll(const char* bytes, const std::uint16_t* ends, std::size_t count,
                 std::uint32_t* numbers) {
    std::uint64_t hashes[kBatch];
    for (std::size_t i = 0, start = 0; i < count; start = ends[i++]) {
      hashes[i] = numbers_.hash(std::string_view(bytes + start, ends[i] - start));
      numbers_.prefetchSlot(hashes[i]);
    }
    for (std::size_t i = 0, start = 0; i < count; start = ends[i++]) {
      const std::string_view word(bytes + start, ends[i] - start);
      if (texts_.size() >= kMostWords || texts_.bytes.size() + word.size() >= UINT32_MAX)
        throw std::bad_alloc();
      const auto [number, added] =
          numbers_.insert(word, static_cast<std::uint32_t>(texts_.size()), hashes[i]);
      if (added) {
        texts_.bytes.insert(texts_.bytes.end(), word.begin(), word.end());
        texts_.starts.push_back(static_cast<std::uint32_t>(texts_.bytes.size()));
      }
      numbers[i] = *number;
    }
    numbers_.settle();
  }
  WordTexts& texts() { return texts_; }

 private:
  // Words at most: a word number leaves a bit free.
  static constexpr std::size_t kMostWords = std::size_t{1} << 30;

  NameTable<std::uint32_t> numbers_;
  WordTexts texts_;
};

// Splits names into words, and numbers each word through the table, in batches. A word that
// ends within the bytes a name shares with the name before it is that name's word at the same
// place, and takes its number without being looked up: names of one list often begin alike.
class Splitter {
 public:
  explicit Splitter(std::vector<std::uint32_t>& nameWords) : nameWords_(nameWords) {}

  // Appends a place for each word of `name`, up to RenameWords::kMaxWords, to nameWords; the
  // numbers are there once finish() has returned.
  void add(std::string_view name) {
    // The words of the name before that end within the bytes shared with it are this name's
    // first words; the rest is split from the end of the last of them.
    const std::size_t same = sharedPrefix(name, previous_);
    const bool equal = same == name.size() && same == previous_.size();
    const Words& before = words_[at_ ^ 1];
    Words& now = words_[at_];
    std::size_t count = 0;  // of the name's words
    for (; count < before.count &&
           (before.ends[count] < same || (equal && before.ends[count] == same));
         ++count) {
      now.ends[count] = before.ends[count];
      now.sources[count] = before.sources[count];
      copy(nameWords_.size(), now.sources[count]);
    }
    std::size_t end = batched_ == 0 ? 0 : batchEnds_[batched_ - 1];
    std::size_t length = 0;  // of the word at hand
    for (std::size_t i = count == 0 ? 0 : now.ends[count - 1];
         i <= name.size() && count < kMaxWords; ++i) {
      const unsigned char byte =
          i < name.size() ? kWordByte[static_cast<unsigned char>(name[i])] : 0;
      if (byte != 0) {
        if (length < kMaxWordBytes) bytes_[end + length++] = static_cast<char>(byte);
      } else if (length != 0) {
        end += length;
        batchEnds_[batched_] = static_cast<std::uint16_t>(end);
        places_[batched_++] = nameWords_.size();
        now.sources[count] = nameWords_.size();
        nameWords_.push_back(0);
        now.ends[count++] = i;
        length = 0;
      }
    }
    previous_ = name;
    now.count = count;
    at_ ^= 1;
    if (batched_ + kMaxWords > kBatch || copies_ + kMaxWords > kBatch) flush();
  }

  // Numbers the words left, and returns the distinct words by number.
  WordTexts finish() {
    flush();
    return std::move(table_.texts());
  }

 private:
  static constexpr std::size_t kMaxWords = RenameWords::kMaxWords;
  static constexpr std::size_t kMaxWordBytes = RenameWords::kMaxWordBytes;
  static constexpr std::size_t kBatch = WordTable::kBatch;
  static_assert(kBatch > kMaxWords && kBatch * kMaxWordBytes <= UINT16_MAX);

  // Appends a word that takes the number of nameWords[from], an earlier word of the batch or
  // before it: now when it is known, otherwise once the batch is numbered.
  void copy(std::size_t to, std::size_t from) {
    if (from < pending_) {
      nameWords_.push_back(nameWords_[from]);
    } else {
      nameWords_.push_back(0);
      copied_[copies_++] = {to, from};
    }
  }

  void flush() {
    std::uint32_t numbers[kBatch];
    table_.numberAll(bytes_, batchEnds_, batched_, numbers);
    for (std::size_t i = 0; i < batched_; ++i)
      nameWords_[places_[i]] = numbers[i];
    for (std::size_t c = 0; c < copies_; ++c)  // in order: a copy's source comes before it
      nameWords_[copied_[c].first] = nameWords_[copied_[c].second];
    batched_ = copies_ = 0;
    pending_ = nameWords_.size();
  }

  WordTable table_;
  std::vector<std::uint32_t>& nameWords_;
  // The batch: its words lower-cased back to back, where each ends and its place in nameWords;
  // the copies waiting for it; and the place from which nameWords waits for it.
  char bytes_[kBatch * kMaxWordBytes];
  std::uint16_t batchEnds_[kBatch];
  std::size_t places_[kBatch];
  std::size_t batched_ = 0;
  std::pair<std::size_t, std::size_t> copied_[kBatch];
  std::size_t copies_ = 0;
  std::size_t pending_ = 0;
  // The words of a name: how many, where each ends in it and the place in nameWords whose
  // number each takes (its own, or that of the word it was copied from, so that a word that
  // many names in a row begin with is looked up once).
  struct Words {
    std::size_t count = 0;
    std::array<std::size_t, kMaxWords> ends{};
    std::array<std::size_t, kMaxWords> sources{};
  };
  std::string_view previous_;  // the name before
  Words words_[2];             // of the name at hand, words_[at_], and of the name before
  int at_ = 0;
};

}  // namespace

// Names asked for ahead of splitting them: about as many misses as a core keeps in flight.
constexpr std::size_t kAheadNames = 8;

// Splits every name into words and numbers each distinct word in the order first seen.
// Returns the words by those numbers.
WordTexts RenameWords::split(std::span<const std::string_view> gone,
                             std::span<const std::string_view> fresh) {
  if (gone.size() + fresh.size() >= UINT32_MAX) throw std::bad_alloc();
  names_.reserve(gone.size() + fresh.size() + 1);
  names_.push_back({0, 0});
  std::size_t most = 0;  // words at most: each takes a byte and a separator
  for (const auto list : {gone, fresh}) {
    for (const std::string_view name : list)
      most += std::min(kMaxWords, (name.size() + 1) / 2);
  }
  nameWords_.reserve(most);  // only what is used is ever touched
  Splitter splitter(nameWords_);
  for (const auto list : {gone, fresh}) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      // The names may lie anywhere in the caller's memory: each is asked for a few names ahead.
      if (i + kAheadNames < list.size()) __builtin_prefetch(list[i + kAheadNames].data());
      splitter.add(list[i]);
      if (nameWords_.size() >= UINT32_MAX) throw std::bad_alloc();
      names_.push_back({static_cast<std::uint32_t>(nameWords_.size()), 0});
    }
  }
  return splitter.finish();
}

}  // namespace stationtext
