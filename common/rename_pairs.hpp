// Candidate pairs for rename hints: for each gone name, the new names it most likely became,
// found through the words they share and scored by how their words match.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rename_words.hpp"

namespace stationtext {

// Scores run from 0 to kFullScore: the weight of the words that two names match over the
// weight of all their words, exactly in these units, so that every platform agrees.
inline constexpr int kScoreBits = 24;
inline constexpr std::uint32_t kFullScore = std::uint32_t{1} << kScoreBits;

// A gone name, a new name numbered from 0 among the new names, and how alike they are.
struct ScoredPair {
  std::uint32_t gone;
  std::uint32_t fresh;
  std::uint32_t score;
};

// For each gone name, in their order, the few new names that it most likely became, with their
// scores: of the new names that hold one of its words, or a word that one of its words
// abbreviates or is abbreviated by, those that an estimate of the shared weight puts first.
// Words held by many new names are not followed, and each gone name takes a bounded number of
// steps, so the work grows with the number of names only.
//
// Words match when they are equal, when two adjacent words of one name are one word of the
// other, and, for three quarters of their weight, when one abbreviates the other; each word
// matches once.
//
// Throws std::bad_alloc when memory runs out.
std::vector<ScoredPair> scoredPairs(const RenameWords& words, std::size_t freshCount);

}  // namespace stationtext
