// Candidate pairs for rename hints: gathered through the words of each gone name, the likeliest
// scored in a second pass that asks for the new names' words ahead of use.
#include "rename_pairs.hpp"

#include <algorithm>
#include <array>
#include <new>
#include <span>
#include <vector>

namespace stationtext {
namespace {

using Words = std::span<const std::uint32_t>;

// A word held by more new names than this is not followed to find candidates: a name reached
// only through it would have as many rivals that share it, and following it costs that many
// steps per gone name.
constexpr std::size_t kMaxHolders = 32;
// Candidate steps per gone name at most, so that no name costs more than a bounded time.
constexpr std::size_t kMaxSteps = 256;
// Abbreviations of a gone word followed at most, longest first: a word is rarely abbreviated
// in more than a few lengths.
constexpr std::size_t kMaxShorter = 3;
// Candidates scored in full per gone name, the best by the estimate: more than two, so that the
// best and the runner-up are scored even where the estimate orders them wrongly.
constexpr std::size_t kScored = 4;
// How far ahead, in names or pairs, each step of asking for memory ahead of use runs: a few
// times the work of one name, which is about what a miss costs.
constexpr std::size_t kAhead = 4;
// Credits in quarters of a word's weight: equal words and joined words count whole; an
// abbreviation counts three quarters, as it may stand for another word than the one it begins.
constexpr std::uint32_t kWhole = 4;
constexpr std::uint32_t kAbbreviated = 3;

// The words two names have in common, each word counted once: equal words first, then two
// adjacent words of one name that are one word of the other, then abbreviations.
class Matching {
 public:
  Matching(const RenameWords& words, Words a, Words b) : words_(words), a_(a), b_(b) {}

  // The weight of the matched words of both names, in quarters.
  std::uint64_t shared() {
    pair([](std::uint32_t x, std::uint32_t y) { return x == y; }, kWhole);
    joined(a_, usedA_, b_, usedB_);
    joined(b_, usedB_, a_, usedA_);
    pair(
        [this](std::uint32_t x, std::uint32_t y) {
          return x < y ? words_.abbreviates(x, y) : words_.abbreviates(y, x);
        },
        kAbbreviated);
    return matched_;
  }

 private:
  static bool used(std::uint32_t mask, std::size_t i) { return (mask >> i & 1) != 0; }

  // Matches each word of a_ with the first word of b_ that `same` accepts, of those left.
  template <typename Same>
  void pair(Same same, std::uint32_t credit) {
    for (std::size_t i = 0; i < a_.size(); ++i) {
      for (std::size_t j = 0; j < b_.size() && !used(usedA_, i); ++j) {
        if (used(usedB_, j) || !same(a_[i], b_[j])) continue;
        usedA_ |= std::uint32_t{1} << i;
        usedB_ |= std::uint32_t{1} << j;
        matched_ += credit * (std::uint64_t{words_.weight(a_[i])} + words_.weight(b_[j]));
      }
    }
  }

  // Matches two adjacent words of `x` left with a word of `y` left that is the two joined.
  void joined(Words x, std::uint32_t& usedX, Words y, std::uint32_t& usedY) {
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
      for (std::size_t j = 0; j < y.size() && !used(usedX, i) && !used(usedX, i + 1); ++j) {
        if (used(usedY, j) || !words_.joins(x[i], x[i + 1], y[j])) continue;
        usedX |= std::uint32_t{3} << i;
        usedY |= std::uint32_t{1} << j;
        matched_ += kWhole * (std::uint64_t{words_.weight(x[i])} + words_.weight(x[i + 1]) +
                              words_.weight(y[j]));
      }
    }
  }

  const RenameWords& words_;
  Words a_, b_;
  std::uint32_t usedA_ = 0, usedB_ = 0;  // bit i: word i is matched
  std::uint64_t matched_ = 0;
};

// How alike gone name `g` and name `n` are.
std::uint32_t score(const RenameWords& words, std::size_t g, std::size_t n) {
  const std::uint64_t total = kWhole * (std::uint64_t{words.nameWeight(g)} + words.nameWeight(n));
  if (total == 0) return 0;
  const std::uint64_t matched = Matching(words, words.words(g), words.words(n)).shared();
  return static_cast<std::uint32_t>((matched << kScoreBits) / total);
}

// The new names that a gone name reaches through its words, each with an estimate of the weight
// the two share: what equal and abbreviated words would give, not checked one against one.
class Candidates {
 public:
  Candidates(const RenameWords& words, std::size_t freshCount)
      : words_(words), estimate_(freshCount) {}

  // Gathers the candidates of gone name `g` and returns the kScored best by estimate over the
  // weight of both names (fewer when there are fewer), ties to the first new name. Asks for
  // what the names after `g` will need.
  std::span<const std::uint32_t> likeliest(std::size_t g) {
    for (const std::uint32_t f : touched_)
      estimate_[f] = 0;
    touched_.clear();
    steps_ = 0;
    const std::size_t goneCount = words_.goneCount();
    if (g + 2 * kAhead < goneCount) {
      for (const std::uint32_t w : words_.words(g + 2 * kAhead))
        words_.prefetchWord(w);
    }
    if (g + kAhead < goneCount) {
      for (const std::uint32_t w : words_.words(g + kAhead))
        words_.prefetchHolders(w);
    }
    const Words own = words_.words(g);
    for (const std::uint32_t w : own)
      follow(words_.freshWith(w), kWhole * 2 * words_.weight(w));
    for (const std::uint32_t w : own) {
      follow(words_.freshWithLonger(w), kAbbreviated * 2 * words_.weight(w));
      std::uint32_t s = w;
      for (std::size_t k = 0; k < kMaxShorter && (s = words_.shorter(s)) != RenameWords::kNoWord;
           ++k)
        follow(words_.freshWith(s), kAbbreviated * (words_.weight(s) + words_.weight(w)));
    }
    return choose(g);
  }

 private:
  void follow(std::span<const std::uint32_t> names, std::uint32_t credit) {
    if (names.size() > kMaxHolders || steps_ + names.size() > kMaxSteps) return;
    steps_ += names.size();
    for (const std::uint32_t f : names) {
      if (estimate_[f] == 0) {
        touched_.push_back(f);
        words_.prefetchName(words_.goneCount() + f);
      }
      estimate_[f] += credit;
    }
  }

  std::span<const std::uint32_t> choose(std::size_t g) {
    const std::size_t goneCount = words_.goneCount();
    const auto ahead = [&](std::uint32_t f, std::uint32_t than) {
      const std::uint64_t a = std::uint64_t{estimate_[f]} *
                              (words_.nameWeight(g) + words_.nameWeight(goneCount + than));
      const std::uint64_t b = std::uint64_t{estimate_[than]} *
                              (words_.nameWeight(g) + words_.nameWeight(goneCount + f));
      return a != b ? a > b : f < than;
    };
    std::size_t count = 0;
    for (const std::uint32_t f : touched_) {
      std::size_t at = count;
      if (at == kScored) {
        if (!ahead(f, best_[kScored - 1])) continue;
        --at;
      }
      for (; at > 0 && ahead(f, best_[at - 1]); --at)
        best_[at] = best_[at - 1];
      best_[at] = f;
      count = std::min(count + 1, kScored);
    }
    return {best_.data(), count};
  }

  const RenameWords& words_;
  std::vector<std::uint32_t> estimate_;  // per new name; 0 when not reached
  std::vector<std::uint32_t> touched_;   // the new names reached, in the order first reached
  std::size_t steps_ = 0;
  std::array<std::uint32_t, kScored> best_{};
};

}  // namespace

std::vector<ScoredPair> scoredPairs(const RenameWords& words, std::size_t freshCount) {
  std::vector<ScoredPair> pairs;
  const std::size_t goneCount = words.goneCount();
  pairs.reserve(goneCount * kScored);  // only what is used is ever touched
  {
    Candidates candidates(words, freshCount);
    for (std::size_t g = 0; g < goneCount; ++g) {
      for (const std::uint32_t f : candidates.likeliest(g))
        pairs.push_back({static_cast<std::uint32_t>(g), f, 0});
      if (pairs.size() >= UINT32_MAX - kScored) throw std::bad_alloc();
    }
  }
  // Each pair's new name is asked for in three steps ahead of its scoring: where its words
  // are, its words, and what is known of each word; and what is known of its gone name's words.
  const auto fresh = [&](std::size_t p) { return goneCount + pairs[p].fresh; };
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    if (p + 3 * kAhead < pairs.size()) words.prefetchName(fresh(p + 3 * kAhead));
    if (p + 2 * kAhead < pairs.size()) words.prefetchWords(fresh(p + 2 * kAhead));
    if (p + kAhead < pairs.size()) {
      for (const std::uint32_t w : words.words(fresh(p + kAhead)))
        words.prefetchWord(w);
      for (const std::uint32_t w : words.words(pairs[p + kAhead].gone))
        words.prefetchWord(w);
    }
    pairs[p].score = score(words, pairs[p].gone, fresh(p));
  }
  return pairs;
}

}  // namespace stationtext
