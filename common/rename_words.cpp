// What is known of the words of the names: their byte order, what each abbreviates, their
// weights and the new names that hold them.
#include "rename_words.hpp"

#include <algorithm>
#include <bit>
#include <new>
#include <utility>

#include "radix_sort.hpp"

namespace stationtext {
namespace {

// log2(v) for v >= 1, in units of 2^-kWeightBits, from integer steps alone, so that every
// platform gets the same weights: the whole part from the bit width, each fraction bit from
// squaring the mantissa. Rounds down, and never decreases as v grows.
std::uint32_t log2Fixed(std::uint64_t v) {
  const int whole = std::bit_width(v) - 1;
  std::uint64_t mantissa = (v << (63 - whole)) >> 32;  // in [1, 2), 31 fraction bits
  std::uint32_t fraction = 0;
  for (int bit = RenameWords::kWeightBits - 1; bit >= 0; --bit) {
    mantissa = (mantissa * mantissa) >> 31;
    if (mantissa >> 32 != 0) {
      mantissa >>= 1;
      fraction |= std::uint32_t{1} << bit;
    }
  }
  return static_cast<std::uint32_t>(whole) << RenameWords::kWeightBits | fraction;
}

bool isNumber(std::string_view word) {
  return word[0] >= '0' && word[0] <= '9';
}

// Weights are worked out once for each number of holders below this.
constexpr std::uint32_t kFewHolders = 64;

}  // namespace

RenameWords::RenameWords(std::span<const std::string_view> gone,
                         std::span<const std::string_view> fresh)
    : goneCount_(gone.size()) {
  std::vector<std::uint32_t> holders;
  {
    const WordTexts seen = split(gone, fresh);
    holders = renumber(sortWords(seen));
  }
  linkAbbreviations();
  weigh(holders);
  indexFresh();
}

// Orders the words by their bytes, then the numbers in the order first seen, and keeps them in
// that order. Returns each word's place in it, by the number it was seen with.
std::vector<std::uint32_t> RenameWords::sortWords(const WordTexts& seen) {
  // The first eight bytes read as one number order most words without comparing them: a word
  // holds no NUL byte, so a shorter one reads as its bytes padded with zeros.
  struct Keyed {
    std::uint64_t head;
    std::uint32_t number;
  };
  std::vector<Keyed> order;
  order.reserve(seen.size());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    const std::string_view text = seen[i];
    std::uint64_t head = 0;
    for (std::size_t b = 0; b < 8; ++b)
      head = head << 8 | (b < text.size() ? static_cast<unsigned char>(text[b]) : 0);
    if (!isNumber(text)) order.push_back({head, static_cast<std::uint32_t>(i)});
  }
  radixSort(order, 64, [](const Keyed& keyed) { return keyed.head; });
  for (auto run = order.begin(); run != order.end();) {  // words alike in their first bytes
    const auto end =
        std::find_if(run, order.end(), [&](const Keyed& keyed) { return keyed.head != run->head; });
    std::sort(run, end,
              [&seen](const Keyed& a, const Keyed& b) { return seen[a.number] < seen[b.number]; });
    run = end;
  }
  sorted_ = static_cast<std::uint32_t>(order.size());
  std::vector<std::uint32_t> place(seen.size());
  texts_.bytes.reserve(seen.bytes.size());
  texts_.starts.reserve(seen.starts.size());
  const auto keep = [&](std::uint32_t number) {
    place[number] = static_cast<std::uint32_t>(texts_.size());
    const std::string_view text = seen[number];
    texts_.bytes.insert(texts_.bytes.end(), text.begin(), text.end());
    texts_.starts.push_back(static_cast<std::uint32_t>(texts_.bytes.size()));
  };
  for (const Keyed& keyed : order)
    keep(keyed.number);
  for (std::uint32_t number = 0; number < seen.size(); ++number) {
    if (isNumber(seen[number])) keep(number);
  }
  return place;
}

// Gives each word of the names its place, and counts the names that hold each word and the new
// names that hold it (into words_). Returns the holders, by place.
std::vector<std::uint32_t> RenameWords::renumber(const std::vector<std::uint32_t>& place) {
  words_.assign(texts_.size() + 1, Word{});
  std::vector<std::uint32_t> holders(texts_.size());
  for (std::size_t n = 0; n + 1 < names_.size(); ++n) {
    std::uint32_t* const first = nameWords_.data() + names_[n].start;
    std::uint32_t* const end = nameWords_.data() + names_[n + 1].start;
    for (std::uint32_t* at = first; at != end; ++at) {
      *at = place[*at];
      if (std::find(first, at, *at) != at) continue;  // counted already for this name
      ++holders[*at];
      if (n >= goneCount_) ++words_[*at].freshStart;
    }
  }
  return holders;
}

// For each word but the numbers, the range of the words that begin with it, which follow it in
// byte order, whether it may abbreviate them, and the longest word that abbreviates it: one
// pass, with the words that begin the word at hand on a stack.
void RenameWords::linkAbbreviations() {
  std::vector<std::uint32_t> open;  // each begins the next, and all begin the word at hand
  for (std::uint32_t w = 0; w < sorted_; ++w) {
    while (!open.empty() && !texts_[w].starts_with(texts_[open.back()])) {
      words_[open.back()].longerEnd |= w;
      open.pop_back();
    }
    words_[w].shorter = kNoWord;
    if (!open.empty()) {
      const std::uint32_t begins = open.back();
      words_[w].shorter = abbreviation(begins) ? begins : words_[begins].shorter;
    }
    if (texts_[w].size() >= kMinAbbreviation) words_[w].longerEnd = kAbbreviation;
    open.push_back(w);
  }
  for (const std::uint32_t w : open)
    words_[w].longerEnd |= sorted_;
  for (std::uint32_t w = sorted_; w < texts_.size(); ++w) {
    words_[w].longerEnd = w + 1;
    words_[w].shorter = kNoWord;
  }
}

// The weight of each word from the number of names that hold it, and of each name.
void RenameWords::weigh(const std::vector<std::uint32_t>& holders) {
  std::uint64_t named = 0;  // names with words
  for (std::size_t n = 0; n + 1 < names_.size(); ++n)
    named += names_[n].start != names_[n + 1].start;
  // Most words are held by a few names: their weights are worked out once.
  std::uint32_t few[kFewHolders];
  for (std::uint32_t h = 1; h < kFewHolders; ++h)
    few[h] = log2Fixed(named + h) - log2Fixed(h);
  for (std::size_t w = 0; w < texts_.size(); ++w) {
    const std::uint32_t h = holders[w];
    words_[w].weight = h < kFewHolders ? few[h] : log2Fixed(named + h) - log2Fixed(h);
  }
  for (std::size_t n = 0; n + 1 < names_.size(); ++n) {
    std::uint32_t sum = 0;
    for (const std::uint32_t w : words(n))
      sum += words_[w].weight;
    names_[n].weight = sum;
  }
}

// The new names of each word, word after word, each name once per word: from their counts,
// summed into where each word's names end, and filled from there backwards, which moves each
// end to where the word's names start.
void RenameWords::indexFresh() {
  for (std::size_t w = 1; w < words_.size(); ++w)
    words_[w].freshStart += words_[w - 1].freshStart;
  freshNames_.resize(words_.back().freshStart);
  for (std::size_t n = goneCount_; n + 1 < names_.size(); ++n) {
    const auto list = words(n);
    for (auto at = list.begin(); at != list.end(); ++at) {
      if (std::find(list.begin(), at, *at) == at)
        freshNames_[--words_[*at].freshStart] = static_cast<std::uint32_t>(n - goneCount_);
    }
  }
}

// True when `whole` is `first` followed by `second`.
bool RenameWords::spells(std::uint32_t first, std::uint32_t second, std::uint32_t whole) const {
  const std::string_view a = texts_[first], b = texts_[second], joined = texts_[whole];
  return a.size() + b.size() == joined.size() && joined.starts_with(a) && joined.ends_with(b);
}

}  // namespace stationtext
