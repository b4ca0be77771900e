// Rename hints: the scored candidate pairs paired off one to one, the best pair first, where
// both sides agree clearly.
#include "rename_hints.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "radix_sort.hpp"
#include "rename_pairs.hpp"
#include "rename_words.hpp"

namespace stationtext {
namespace {

// The least score of a hint: the matched words must be at least three tenths of the weight of
// both names. That lets the words that differ weigh up to about four and a half times the
// words kept (counted once), as when a one-word name gains a town and loses a district
// qualifier; below it, what differs says more than what is shared.
constexpr std::uint32_t kMinScore = kFullScore / 10 * 3;
// The runner-up may score at most four fifths of the best, on either side: closer than that,
// the choice is in doubt.
constexpr std::uint32_t kRivalNumerator = 4;
constexpr std::uint32_t kRivalDenominator = 5;

// The pairs of each name of one side, by their numbers, name after name.
class PairsOf {
 public:
  PairsOf(const std::vector<ScoredPair>& pairs, std::size_t names, std::uint32_t ScoredPair::*side)
      : starts_(names + 1), numbers_(pairs.size()) {
    for (const ScoredPair& pair : pairs)
      ++starts_[pair.*side];
    for (std::size_t n = 1; n <= names; ++n)
      starts_[n] += starts_[n - 1];
    for (std::size_t p = pairs.size(); p-- > 0;)
      numbers_[--starts_[pairs[p].*side]] = static_cast<std::uint32_t>(p);
  }
  std::span<const std::uint32_t> of(std::size_t name) const {
    return {numbers_.data() + starts_[name], numbers_.data() + starts_[name + 1]};
  }

 private:
  std::vector<std::uint32_t> starts_, numbers_;
};

// Pairs off names from the scored pairs, the best pair first, while both its names are free:
// the pair becomes a hint when its score is high enough and no rival on either side comes
// close, a rival being another pair of one of its names whose other name is not paired yet.
// Otherwise both names are left in doubt, so that neither gets a lesser partner. Each name is
// decided once, so each name's pairs are looked through once.
std::vector<RenameHint> pairOff(std::vector<ScoredPair>& pairs, std::size_t goneCount,
                                std::size_t freshCount) {
  // A pair that scores no more than four fifths of the least score is neither a hint nor a
  // rival that puts one in doubt.
  std::erase_if(pairs, [](const ScoredPair& pair) {
    return std::uint64_t{pair.score} * kRivalDenominator <=
           std::uint64_t{kMinScore} * kRivalNumerator;
  });
  // The pairs by score, the best first, and in the order they come for equal scores: as keys
  // of the score's distance from the full score above the pair's number.
  std::vector<std::uint64_t> order(pairs.size());
  for (std::size_t p = 0; p < pairs.size(); ++p)
    order[p] = std::uint64_t{kFullScore - pairs[p].score} << 32 | p;
  radixSort(order, kScoreBits + 1, [](std::uint64_t key) { return key >> 32; });
  const PairsOf byGone(pairs, goneCount, &ScoredPair::gone);
  const PairsOf byFresh(pairs, freshCount, &ScoredPair::fresh);
  enum State : std::uint8_t { kFree, kPaired, kInDoubt };
  std::vector<State> goneState(goneCount, kFree), freshState(freshCount, kFree);
  std::vector<RenameHint> hints;
  for (const std::uint64_t key : order) {
    const auto p = static_cast<std::uint32_t>(key);
    const ScoredPair& pair = pairs[p];
    if (pair.score < kMinScore) break;
    if (goneState[pair.gone] != kFree || freshState[pair.fresh] != kFree) continue;
    std::uint32_t rival = 0;
    for (const std::uint32_t q : byGone.of(pair.gone)) {
      if (q != p && freshState[pairs[q].fresh] != kPaired) rival = std::max(rival, pairs[q].score);
    }
    for (const std::uint32_t q : byFresh.of(pair.fresh)) {
      if (q != p && goneState[pairs[q].gone] != kPaired) rival = std::max(rival, pairs[q].score);
    }
    const bool sure =
        std::uint64_t{rival} * kRivalDenominator <= std::uint64_t{pair.score} * kRivalNumerator;
    goneState[pair.gone] = freshState[pair.fresh] = sure ? kPaired : kInDoubt;
    if (sure) hints.push_back({pair.gone, pair.fresh});
  }
  std::sort(hints.begin(), hints.end(),
            [](const RenameHint& a, const RenameHint& b) { return a.gone < b.gone; });
  return hints;
}

}  // namespace

std::vector<RenameHint> findRenames(std::span<const std::string_view> gone,
                                    std::span<const std::string_view> fresh) {
  std::vector<ScoredPair> pairs;
  {
    const RenameWords words(gone, fresh);  // let go before pairing off, which needs only pairs
    pairs = scoredPairs(words, fresh.size());
  }
  return pairOff(pairs, gone.size(), fresh.size());
}

}  // namespace stationtext
