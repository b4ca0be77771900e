// Stands in for libFuzzer in builds without it: runs the fuzz target on N inputs made from a
// seed (--generate N SEED two-file|one-file: a register, then its update lines or, split by
// "%%%\n", an update list and a census text).
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using namespace std::literals;

// Inputs made of the pieces where the readers, the name sort and the reports have edge cases.
struct Generator {
  std::mt19937 rng;  // the standard fixes its sequence: a seed makes the same inputs everywhere
  std::size_t below(std::size_t n) { return rng() % n; }
  std::string pick(std::initializer_list<std::string_view> items) {
    return std::string(items.begin()[below(items.size())]);
  }

  // The parts joined: unlike the operands of +, a braced list is evaluated in order, which keeps
  // the inputs of a seed the same with every compiler.
  static std::string cat(std::initializer_list<std::string> parts) {
    return std::accumulate(parts.begin(), parts.end(), std::string());
  }

  // Between words: the six whitespace bytes, alone and mixed.
  std::string blank() { return pick({" ", " ", "\t", "\v", "\f", "\r", "  ", " \t\r "}); }
  // Names that share their first 7, 14 and 21 bytes (the lengths of the name keys' chunks) or
  // are prefixes of each other, with NUL, bytes of 0x80 and above, a byte-order mark, two words.
  std::string name() {
    return cat({pick({""sv, "B"sv, "Abcdefg"sv, "Abcdefghijklmn"sv, "Abcdefghijklmnopqrstu"sv,
                      "Abcdefghijklmnopqrstuvwxyz0"sv, "\u00c1rok"sv, "\ufeffAb"sv}),
                below(4) ? pick({""sv, "a"sv, "b"sv, "B"sv, "\0"sv, "\xff"sv}) : blank() + "Gate"});
  }
  // Few small codes, so that many stations share one, and codes with signs, leading zeros, at
  // and past the 32-bit limits, or no number at all.
  std::string code() {
    return below(4) ? std::to_string(below(3))
                    : pick({"+1", "-1", "007", "-0", "2147483647", "-2147483648", "2147483648",
                            "-2147483649", "-21474836480", "99999999999", "x", "+", "-"});
  }

  std::string input(bool twoFiles) {
    std::string text = files(twoFiles);
    // Now and then a file of blanks only, or one whose last line does not end.
    if (below(40) == 0) return pick({"", " \n\t\r\n"});
    if (below(6) == 0 && !text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  std::string files(bool twoFiles) {
    const std::string eol = below(4) ? "\n" : "\r\n";
    // A crowd: more stations than std::sort sorts by insertion (16), most of them sharing a code.
    const bool crowd = below(3) == 0;
    const std::size_t n = crowd ? 20 + below(24) : below(8);
    const std::string count = std::to_string(n);
    std::string reg = pick({count, count, count, std::to_string(n + 2), std::to_string(n / 2), "-1",
                            "0", "2147483647", "99999999999", "x", "\ufeff" + count, "+" + count,
                            "\n \t\n" + count + " stations"}) +
                      eol;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i) {
      names.push_back(crowd && below(4) ? cat({name(), blank(), std::to_string(i)}) : name());
      if (below(10) == 0) reg += pick({"", " ", "\t\r"}) + eol;  // an empty station
      reg += cat({below(6) ? "" : blank(), crowd && below(8) ? "5" : code(),
                  below(6) ? blank() : "", names.back(), below(8) ? "" : blank(), eol});
    }
    // Update lines: short and blank ones, names of the register (some repeated) and others.
    std::string updates, census;
    for (std::size_t k = below(14); k-- > 0;) {
      const std::size_t kind = below(6);
      updates += (kind < 2                     ? pick({"", "x", "xy", " x", "\t", " \v\f "})
                  : kind < 4 && !names.empty() ? names[below(names.size())]
                                               : name()) +
                 eol;
    }
    for (std::size_t k = below(6); k-- > 0;)
      census += cat({name(), below(2) ? blank() : eol});
    if (!twoFiles) return reg + updates;
    const std::size_t parts = 1 + below(3);  // the others are missing files
    return reg + (parts > 1 ? "%%%\n" + updates : "") + (parts > 2 ? "%%%\n" + census : "");
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || argv[1] != "--generate"sv) return 2;
  Generator generator{std::mt19937(static_cast<std::uint32_t>(std::stoul(argv[3])))};
  const std::size_t count = std::stoul(argv[2]);
  for (std::size_t k = 0; k < count; ++k) {
    const std::string bytes = generator.input(argv[4] == "two-file"sv);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs passed\n", count);
  return count == 0 ? 1 : 0;  // a run of nothing would pass without testing anything
}
