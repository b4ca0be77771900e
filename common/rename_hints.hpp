// Rename hints: which of the names gone from a register most likely live on as one of the new
// names, judged by the words the two share.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace stationtext {

// A gone name and the new name it most likely became, as positions in the two lists.
struct RenameHint {
  std::size_t gone;
  std::size_t fresh;
};

// Pairs gone names with new names they most likely became: one to one, none when in doubt.
// Returned in the order of `gone`.
//
// Names are compared by their words (see RenameWords): letter case aside for ASCII letters,
// every byte that is not a letter, a digit or from 0x80 up separating words. Two names match
// where words are equal, where two adjacent words of one are one word of the other
// ("Groß Düngen", "Großdüngen") and where a word abbreviates one of the other ("Str",
// "Straße"). A word weighs the less, the more of the names in both lists hold it. A pair's score
// is the weight of the words they match over the weight of all their words, from 0 to 1.
//
// A gone name and a new name are paired when each is the other's best, by a score high
// enough, and clearly ahead of the runner-up on both sides: where the best is not clearly
// better, no hint is given. A name without words gets none. The work is bounded per name:
// words held by many new names are not followed to find candidates, and only the likeliest
// few candidates of a name are scored in full. The result does not depend on the hash key
// drawn for the run.
//
// Throws std::bad_alloc when memory runs out.
std::vector<RenameHint> findRenames(std::span<const std::string_view> gone,
                                    std::span<const std::string_view> fresh);

}  // namespace stationtext
