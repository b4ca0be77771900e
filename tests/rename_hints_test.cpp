// Rename hints: a table of gone and new names that must or must not pair, a row per rule and
// each rule both ways; lists in which every gone name has one plain successor; and random lists,
// whose hints must be one to one, in range and the same whatever the hash key.
#include "rename_hints.hpp"

#include "rename_words.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using stationtext::findRenames;
using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;

Pairs hintsOf(const std::vector<std::string_view>& gone,
              const std::vector<std::string_view>& fresh) {
  Pairs pairs;
  for (const stationtext::RenameHint& hint : findRenames(gone, fresh))
    pairs.emplace_back(hint.gone, hint.fresh);
  return pairs;
}

struct Row {
  const char* rule;
  std::vector<std::string_view> gone;
  std::vector<std::string_view> fresh;
  Pairs hints;  // (gone, new) positions, in the order of `gone`
};

// "Hbf" in many new names says less than the one "Roschwitz".
const std::vector<std::string_view> kHbf{"Bernburg Hbf",  "Bernburg-Roschwitz", "Stendal Hbf",
                                         "Merseburg Hbf", "Halle Hbf",          "Gera Hbf"};
const std::vector<std::string_view> kMitte{"Mitte Bahnhof", "Rathaus Süd", "Mitte A", "Mitte B",
                                           "Mitte C",       "Mitte D",     "Mitte E", "Mitte F"};
const Row kRows[] = {
    {"punctuation and case only separate words",
     {"Berlin-Gesundbrunnen", "Zwickau"},
     {"Hamburg Dammtor", "berlin gesundbrunnen"},
     {{0, 1}}},
    {"... the other way", {"HALLE (SAALE) HBF"}, {"Hallein", "Halle/Saale-Hbf."}, {{0, 1}}},
    {"a word added", {"Blumenkamp", "Zwickau"}, {"Wesel-Blumenkamp"}, {{0, 0}}},
    {"a word dropped", {"Altdorf West (b Nürnberg)"}, {"Altdorf West", "Erlangen"}, {{0, 0}}},
    {"a common word added weighs less than a rare one", {"Bernburg"}, kHbf, {{0, 0}}},
    {"a common word dropped weighs less than a rare one", kHbf, {"Bernburg"}, {{0, 0}}},
    {"words joined", {"Groß Ammensleben Nord", "Groß Düngen"}, {"Großdüngen"}, {{1, 0}}},
    {"a word split", {"Großdüngen"}, {"Groß Ammensleben", "Groß Düngen"}, {{0, 1}}},
    {"only words not matched already are joined", {"Ob Au"}, {"Au Obau", "Ob Au Nord"}, {{0, 1}}},
    {"words abbreviated",
     {"Friedrich-Ebert-Straße"},
     {"Ebert-Platz", "Friedr.-Ebert-Str."},
     {{0, 1}}},
    {"an abbreviation written out", {"Hauptstr."}, {"Hauptbahnhof", "Hauptstraße"}, {{0, 1}}},
    {"two letters and numbers abbreviate nothing", {"Am", "170"}, {"Amsel", "1700"}, {}},
    {"a word many names hold says little", {"Mitte Rathaus"}, kMitte, {{0, 1}}},
    {"... on the gone side too", kMitte, {"Mitte Rathaus"}, {{1, 0}}},
    {"too little in common", {"Sylbach"}, {"Bad Salzuflen-Sylbach (Lippe) Nord", "Erlangen"}, {}},
    {"... the other way", {"Bad Salzuflen-Sylbach (Lippe) Nord"}, {"Erlangen", "Sylbach"}, {}},
    {"nothing in common", {"Eisenbach", "Urmitz"}, {"Matzenbach", "Mülheim-Kärlich"}, {}},
    {"a tie between new names", {"Lindau Hbf"}, {"Lindau-Insel", "Lindau-Reutin"}, {}},
    {"a tie between gone names", {"Lindau-Insel", "Lindau-Reutin"}, {"Lindau Hbf"}, {}},
    {"a name alone takes the new name", {"Nordstadt"}, {"Nordstadt-Markt (West)"}, {{0, 0}}},
    {"... but not from a clearly better one",
     {"Nordstadt", "Nordstadt Markt"},
     {"Nordstadt-Markt (West)"},
     {{1, 0}}},
    {"names without words", {"", "---", "Bahnhof"}, {"", "( )", "Bahnhof Süd"}, {{2, 2}}},
    {"bytes from 0x80 keep their case, NUL separates words",
     {"ÖLBERG", "Ölweg", std::string_view("Alpha\0Beta", 10)},
     {"Ölberg Süd", "ölweg Nord", "Alpha Beta"},
     {{0, 0}, {2, 2}}},
};

TEST(RenameHints, PairWhatTheRulesPairAndNothingElse) {
  for (const Row& row : kRows)
    EXPECT_EQ(row.hints, hintsOf(row.gone, row.fresh)) << row.rule;
  EXPECT_TRUE(findRenames({}, {}).empty());
}

TEST(RenameHints, WordBytesAndSeparatorsAtTheEdgesOfTheirRanges) {
  // "x?y" is one word when ? is a word byte, and then pairs with "x?y Nord"; when ? separates,
  // it is "x y" and pairs with that.
  for (const char byte : std::string_view("09azAZ\x80\xff/:`{@[\x7f")) {
    const bool wordByte = std::string_view("09azAZ\x80\xff").find(byte) != std::string_view::npos;
    const std::string gone = std::string("x") + byte + "y", named = gone + " Nord";
    EXPECT_EQ((Pairs{{0, wordByte ? 1u : 0u}}), hintsOf({gone}, {"x y", named}))
        << "byte " << static_cast<int>(static_cast<unsigned char>(byte));
  }
}

// A word of five letters for each number below 26^5, none the beginning of another.
std::string wordFor(std::size_t n) {
  std::string word(5, 'a');
  for (char& c : word) {
    c = static_cast<char>('a' + n % 26);
    n /= 26;
  }
  return word;
}

TEST(RenameWords, OneWordOneNumberInByteOrderAsTheTableGrows) {
  // Each word in two gone names and, in capitals, in a new name: the table grows while it looks
  // up words it holds.
  constexpr std::size_t kWords = 20000;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < kWords; ++i)
    names.push_back(wordFor(i * 7919) + " " + wordFor((i + 1) * 7919));
  for (std::size_t i = 0; i < kWords; ++i) {
    std::string name = names[i];
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c ^ 0x20; });
    names.push_back(name);
  }
  const std::vector<std::string_view> views(names.begin(), names.end());
  const std::span<const std::string_view> all(views);
  const stationtext::RenameWords words(all.first(kWords), all.last(kWords));
  for (std::size_t i = 0; i < kWords; ++i) {
    const auto gone = words.words(i), fresh = words.words(kWords + i);
    ASSERT_EQ(2u, gone.size());
    EXPECT_TRUE(std::equal(gone.begin(), gone.end(), fresh.begin(), fresh.end())) << i;
    if (i + 1 < kWords) {
      EXPECT_EQ(gone[1], words.words(i + 1)[0]) << i;
    }
    EXPECT_EQ(wordFor(i * 7919) < wordFor((i + 1) * 7919), gone[0] < gone[1]) << i;
  }
}

TEST(RenameHints, EveryGoneNameFindsItsOneSuccessor) {
  // Enough distinct words that the word table grows in the middle of its batches; each gone name
  // of two words lives on in one new name that adds a third, among as many unrelated new names.
  constexpr std::size_t kNames = 4000;
  std::mt19937 random(11);
  std::vector<std::size_t> numbers(5 * kNames);
  for (std::size_t i = 0; i < numbers.size(); ++i)
    numbers[i] = i * 7919 % 11881376;  // 26^5, prime to 7919
  std::vector<std::string> goneNames, freshNames(2 * kNames);
  std::vector<std::size_t> successor(2 * kNames);  // the first kNames are the gone names'
  for (std::size_t f = 0; f < successor.size(); ++f)
    successor[f] = f;
  std::shuffle(successor.begin(), successor.end(), random);
  for (std::size_t g = 0; g < kNames; ++g) {
    goneNames.push_back(wordFor(numbers[3 * g]) + " " + wordFor(numbers[3 * g + 1]));
    freshNames[successor[g]] = goneNames[g] + "-" + wordFor(numbers[3 * g + 2]);
  }
  for (std::size_t f = 0, n = 3 * kNames; f < freshNames.size(); ++f) {
    if (freshNames[f].empty()) freshNames[f] = wordFor(numbers[n++]);
  }
  const std::vector<std::string_view> gone(goneNames.begin(), goneNames.end());
  const std::vector<std::string_view> fresh(freshNames.begin(), freshNames.end());
  Pairs expected;
  for (std::size_t g = 0; g < kNames; ++g)
    expected.emplace_back(g, successor[g]);
  EXPECT_EQ(expected, hintsOf(gone, fresh));
}

TEST(RenameHints, RandomListsGiveOneToOneHintsInRangeWhateverTheKey) {
  // Names of a few words from a small vocabulary, so that words are shared by many names,
  // candidates tie, abbreviate and join one another.
  const char* const vocabulary[] = {
      "nord",   "nordbahnhof", "bahnhof", "bahn", "hof",        "mitte", "MITTE", "str",
      "straße", "12",          "1",       "a",    "\xc3\x96st", "",      "-",     "Am"};
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> names(random() % 40);
    for (std::string& name : names) {
      for (std::size_t w = random() % 5; w > 0; --w)
        name += std::string(vocabulary[random() % std::size(vocabulary)]) + " ";
    }
    const std::size_t split = names.empty() ? 0 : random() % names.size();
    const std::vector<std::string_view> gone(names.begin(), names.begin() + split);
    const std::vector<std::string_view> fresh(names.begin() + split, names.end());
    const Pairs hints = hintsOf(gone, fresh);
    std::vector<bool> goneUsed(gone.size()), freshUsed(fresh.size());
    for (std::size_t i = 0; i < hints.size(); ++i) {
      const auto [g, f] = hints[i];
      ASSERT_LT(g, gone.size());
      ASSERT_LT(f, fresh.size());
      EXPECT_FALSE(goneUsed[g] || freshUsed[f]) << "round " << round;
      goneUsed[g] = freshUsed[f] = true;
      if (i > 0) {
        EXPECT_LT(hints[i - 1].first, g);
      }
    }
    EXPECT_EQ(hints, hintsOf(gone, fresh)) << "round " << round;
  }
}

}  // namespace
