// The integer keys that sort and search the register must order names exactly as
// compStationNames does: bytes as unsigned values, a prefix first.
#include "name_keys.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "time_table.hpp"

using namespace std::string_literals;

namespace {

// The order the keys give: prefix keys first, then the next chunks while they tie.
bool keyOrder(const std::string& a, const std::string& b) {
  for (std::size_t offset = 0;; offset += 2 * namekeys::kChunk) {
    const namekeys::PrefixKey ka =
        namekeys::prefixKey(std::string_view(a).substr(std::min(offset, a.size())));
    const namekeys::PrefixKey kb =
        namekeys::prefixKey(std::string_view(b).substr(std::min(offset, b.size())));
    if (ka != kb) return ka < kb;
    if (!namekeys::tieGoesOn(ka)) return false;
  }
}

}  // namespace

TEST(NameKeys, OrderNamesLikeTheirBytes) {
  NameArena arena;
  const ArenaScope scope(arena);
  const std::vector<std::string> names = {"",
                                          "a",
                                          "a\0"s,
                                          "a\0\0"s,
                                          "ab",
                                          "abcdef",
                                          "abcdefg",
                                          "abcdefg\0"s,
                                          "abcdefgh",
                                          "abcdefgi",
                                          "abcdefghijklm",
                                          "abcdefghijklmn",
                                          "abcdefghijklmn\0"s,
                                          "abcdefghijklmno",
                                          "abcdefghijklmnop",
                                          "abcdefghijklmnoq",
                                          "\x7f",
                                          "\x80",
                                          "\xff",
                                          "\xff\xff\xff\xff\xff\xff\xff",
                                          "\xff\xff\xff\xff\xff\xff\xff\xff",
                                          "Sz\xc3\xa9kesfeh\xc3\xa9rv\xc3\xa1r A",
                                          "Sz\xc3\xa9kesfeh\xc3\xa9rv\xc3\xa1r B",
                                          "North",
                                          "North Gate"};
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      const elem ea(0, StationName(a), false);
      const elem eb(0, StationName(b), false);
      EXPECT_EQ(compStationNames(ea, eb), keyOrder(a, b)) << '"' << a << "\" vs \"" << b << '"';
    }
  }
}
