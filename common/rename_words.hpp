// The words that rename hints compare: the gone and the new names split into lower-cased
// words, each word weighed by how rare it is in the two lists, and which words abbreviate which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace stationtext {

// Distinct words back to back, and where each one starts; one more start, where the last ends.
struct WordTexts {
  std::vector<char> bytes;
  std::vector<std::uint32_t> starts{0};

  std::size_t size() const { return starts.size() - 1; }
  std::string_view operator[](std::size_t word) const {
    return {bytes.data() + starts[word], starts[word + 1] - starts[word]};
  }
};

// The gone names and the new names as words. A word is a longest run of ASCII letters, ASCII
// digits and bytes from 0x80 up, its ASCII letters lower-cased; every other byte (blanks,
// punctuation, hyphens, slashes, parentheses, control bytes) only separates words. Names are
// numbered gone names first, then new names. Words are numbered by their byte order, so that
// the words that begin with a word follow it directly, except numbers (words that begin with a
// digit), which abbreviate nothing and are abbreviated by nothing: they come after all other
// words, in the order first seen, unsorted. Nothing here depends on the hash key of the run.
class RenameWords {
 public:
  // No word: the shorter() of a word that has no abbreviation among the words.
  static constexpr std::uint32_t kNoWord = UINT32_MAX;
  // A name's words after this many are left out, so that comparing two names takes a bounded
  // time; station names have far fewer.
  static constexpr std::size_t kMaxWords = 16;
  // Only the first bytes of a longer word are kept: no place name is that long, and it bounds
  // what a word costs to keep and to compare, and how many words can begin one another.
  static constexpr std::size_t kMaxWordBytes = 64;
  // An abbreviation is at least this many bytes long: shorter words ("am", "b") begin too many
  // unrelated words.
  static constexpr std::size_t kMinAbbreviation = 3;
  // Weights count in units of 2^-kWeightBits of a bit: about a thousandth, finer than any
  // difference of rarity that should decide a hint, and 32 bits hold a name's weight.
  static constexpr int kWeightBits = 10;

  // Throws std::bad_alloc when memory runs out or the names are more than 32-bit numbers count.
  RenameWords(std::span<const std::string_view> gone, std::span<const std::string_view> fresh);

  std::size_t goneCount() const { return goneCount_; }
  // The words of name `name`, in the order they come in it, repeats included.
  std::span<const std::uint32_t> words(std::size_t name) const {
    return {nameWords_.data() + names_[name].start, nameWords_.data() + names_[name + 1].start};
  }
  // How much a word says: log2(1 + n / h) for n names with words, h of which hold it, in the
  // units above: about log2(n / h) for a rare word, one bit for a word that every name holds,
  // so that in a short list no word weighs nothing. The same on every platform: integers only.
  std::uint32_t weight(std::uint32_t word) const { return words_[word].weight; }
  // The weight of a name's words, repeats included.
  std::uint32_t nameWeight(std::size_t name) const { return names_[name].weight; }

  // True when `a` abbreviates `b`: `b` is longer and begins with `a`, which is at least
  // kMinAbbreviation bytes long and does not begin with a digit (numbers abbreviate nothing).
  bool abbreviates(std::uint32_t a, std::uint32_t b) const {
    return a < b && abbreviation(a) && b < longerEnd(a);
  }
  // True when `whole` is `first` and `second` written as one word. A whole that begins with a
  // word other than a number lies within that word's range; one that begins with a number is a
  // number.
  bool joins(std::uint32_t first, std::uint32_t second, std::uint32_t whole) const {
    const bool mayBegin =
        first < sorted_ ? first < whole && whole < longerEnd(first) : whole >= sorted_;
    return mayBegin && spells(first, second, whole);
  }
  // The longest word that abbreviates `word`, or kNoWord.
  std::uint32_t shorter(std::uint32_t word) const { return words_[word].shorter; }

  // The new names that hold `word`, each once, numbered from 0 among the new names.
  std::span<const std::uint32_t> freshWith(std::uint32_t word) const {
    return freshBetween(word, word + 1);
  }
  // The new names that hold a word that `word` abbreviates, a name as often as such words are
  // in it.
  std::span<const std::uint32_t> freshWithLonger(std::uint32_t word) const {
    if (!abbreviation(word)) return {};
    return freshBetween(word + 1, longerEnd(word));
  }

  // Ask for what is known of a name (its weight, where its words are), a name's words, what is
  // known of a word, or the new names that hold a word, ahead of use.
  void prefetchName(std::size_t name) const { __builtin_prefetch(&names_[name]); }
  void prefetchWords(std::size_t name) const {
    __builtin_prefetch(nameWords_.data() + names_[name].start);
  }
  void prefetchWord(std::uint32_t word) const { __builtin_prefetch(&words_[word]); }
  void prefetchHolders(std::uint32_t word) const {
    __builtin_prefetch(freshNames_.data() + words_[word].freshStart);
  }

 private:
  // What a name is found by.
  struct Name {
    std::uint32_t start;   // where its words start in nameWords_
    std::uint32_t weight;  // of its words
  };
  // What is known of a word, together, so that one cache line holds it.
  struct Word {
    std::uint32_t weight;
    // The first word after those that begin with it, and kAbbreviation when it may abbreviate
    // them.
    std::uint32_t longerEnd;
    std::uint32_t shorter;
    std::uint32_t freshStart;  // where its new names start in freshNames_
  };
  // The bit of Word::longerEnd that marks a word that may abbreviate others (word numbers are
  // less).
  static constexpr std::uint32_t kAbbreviation = std::uint32_t{1} << 31;
  bool abbreviation(std::uint32_t word) const {
    return (words_[word].longerEnd & kAbbreviation) != 0;
  }
  std::uint32_t longerEnd(std::uint32_t word) const {
    return words_[word].longerEnd & ~kAbbreviation;
  }

  bool spells(std::uint32_t first, std::uint32_t second, std::uint32_t whole) const;
  std::span<const std::uint32_t> freshBetween(std::uint32_t first, std::uint32_t end) const {
    return {freshNames_.data() + words_[first].freshStart,
            freshNames_.data() + words_[end].freshStart};
  }
  WordTexts split(std::span<const std::string_view> gone, std::span<const std::string_view> fresh);
  std::vector<std::uint32_t> sortWords(const WordTexts& seen);
  std::vector<std::uint32_t> renumber(const std::vector<std::uint32_t>& place);
  void linkAbbreviations();
  void weigh(const std::vector<std::uint32_t>& holders);
  void indexFresh();

  std::size_t goneCount_;
  std::uint32_t sorted_ = 0;              // the words before the numbers
  std::vector<Name> names_;               // per name, and one more where the words end
  std::vector<std::uint32_t> nameWords_;  // every name's words, name after name
  // Per word, in the order of their numbers; words_ has one more, where new names end.
  WordTexts texts_;
  std::vector<Word> words_;
  std::vector<std::uint32_t> freshNames_;
};

}  // namespace stationtext
