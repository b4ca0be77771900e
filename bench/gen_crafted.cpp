// gen_crafted: writes the crafted inputs of bench/crafted.sh, each beside a random twin or alone.
//
//   gen_crafted KIND SEED OUTDIR SIZE [SIZE2]
//
//   census-flood N     be.txt: N distinct 16-byte words that all get one 64-bit value under the
//                      word census's former hash (below); bemenet.txt of one station, empty
//                      frissites.txt
//   census-random N    the same layout and size with random distinct words
//   onefile-flood N    F.IN: N stations "<i> <name>" (codes 1..N) whose 16-byte names all get one
//                      value under std::hash<std::string_view>, then update lines naming every
//                      second station and N/4 new names with that value too, shuffled
//   onefile-random N   the same layout and size with random distinct names
//   blanks M M2        be.txt of M line ends; bemenet.txt and F.IN of M2 blank lines, then a
//                      register of two stations and two update lines
//   one-line BYTES     be.txt: about BYTES of words of 8-12 letters on one line, drawn from a
//                      vocabulary of BYTES/100 words (at most 1M)
//   lying-blanks BYTES F.IN: the count 2147483647, then BYTES of blank lines
//   lying-repeat BYTES F.IN: the count 2147483647, then about BYTES of one station line
//   bom-line BYTES     bemenet.txt and F.IN whose first line is a byte-order mark, a word and
//                      BYTES more of words before its end; then stations and update lines
//   endless 0          bemenet.txt and F.IN: links to /dev/zero, which never ends
//   long-word BYTES    be.txt: one word of BYTES bytes
//   shared-code N      F.IN: N stations of random names that all have the code 7, no updates
//   same-name N LEN    bemenet.txt: N stations all named one LEN-byte name, which
//                      frissites.txt names; same-random N LEN: N random LEN-byte names instead
//   onefile-distinct N F.IN: N stations of distinct 15-byte names, all of the code 7, no updates
//   two-named N        bemenet.txt: N stations "<i> <name>" of distinct 15-byte names;
//                      frissites.txt names every one of them, shuffled
//   onefile-new N      F.IN: a register of 0 stations, then N distinct 15-byte update names
//   census-distinct N  be.txt: N distinct 15-byte words, ten to a line; a register of one
//                      station, empty frissites.txt
//   three-words N LEN  be.txt: N words, each one of three distinct random LEN-byte words drawn
//                      at random, each followed by a space or a line end drawn at random; a
//                      register of one station, empty frissites.txt
//   onefile-same N LEN F.IN: N stations "<i> <name>" all named one LEN-byte name of random
//                      letters, then N update lines naming it
//   onefile-ones N LEN the same with a name of LEN bytes 0x01
//   renames N          bemenet.txt: N stations "<i> w1 w2 w3 w4 w5 w6 <i>" (six random words
//                      shared by all); frissites.txt: N names "w1 w2 w3 w4 w5 w6 <N+j>", the j
//                      from 1 to N shuffled, so that no name is the register's; F.IN: the same
//                      register and update lines in one file
//
// Words and names are made of the 250 bytes that are not whitespace (space, \t, \n, \v, \f, \r).
// The output is a pure function of the arguments. Built by bench/crafted.sh with
// `g++ -O2 -std=c++20`; not part of the programs.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "gen_crafted: %s\n", what.c_str());
  std::exit(1);
}

// splitmix64: small, fast and the same everywhere.
struct Rng {
  std::uint64_t s;
  std::uint64_t next() {
    std::uint64_t z = (s += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }
  std::uint64_t below(std::uint64_t bound) {
    __extension__ using Wide = unsigned __int128;
    return static_cast<std::uint64_t>((static_cast<Wide>(next()) * bound) >> 64);
  }
};

bool isBlank(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The inverse of an odd number modulo 2^64 (Newton's iteration doubles the correct bits).
constexpr std::uint64_t inverse(std::uint64_t a) {
  std::uint64_t x = a;
  for (int i = 0; i < 5; ++i)
    x *= 2 - a * x;
  return x;
}

std::uint64_t load(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// ---- the word census's former hash, as it was; for a 16-byte word the tail is empty.
constexpr std::uint64_t kCensusLen = 0x9e3779b97f4a7c15u, kCensusMul = 0xff51afd7ed558ccdu;
std::uint64_t censusHash(std::string_view word) {
  std::uint64_t h = word.size() * kCensusLen;
  std::size_t i = 0;
  for (; i + 8 <= word.size(); i += 8) {
    h = (h ^ load(word.data() + i)) * kCensusMul;
    h ^= h >> 32;
  }
  std::uint64_t tail = 0;
  for (int shift = 0; i < word.size(); ++i, shift += 8)
    tail |= std::uint64_t{static_cast<unsigned char>(word[i])} << shift;
  h = (h ^ tail) * 0xc4ceb9fe1a85ec53u;
  h ^= h >> 29;
  h *= kCensusMul;
  return h ^ (h >> 32);
}
// The second block that brings the state after the first block, `first`, to `target`: each
// block step is a xor, an odd multiply and a shift-xor by 32, all three invertible.
std::uint64_t censusSecond(std::uint64_t first, std::uint64_t target) {
  std::uint64_t h = (16 * kCensusLen ^ first) * kCensusMul;
  h ^= h >> 32;
  target ^= target >> 32;
  return target * inverse(kCensusMul) ^ h;
}

// ---- libstdc++'s std::hash<std::string_view> on 64-bit targets: _Hash_bytes with its default
// seed, a multiply-xorshift hash over 8-byte blocks. A block enters as mix(block) =
// shiftMix(block * mul) * mul, xored into the state, which is then multiplied by mul.
constexpr std::uint64_t kStdMul = 0xc6a4a7935bd1e995u, kStdSeed = 0xc70f6907u;
std::uint64_t shiftMix(std::uint64_t v) {
  return v ^ (v >> 47);
}  // its own inverse
std::uint64_t stdSecond(std::uint64_t first, std::uint64_t target) {
  const std::uint64_t h = (kStdSeed ^ 16 * kStdMul ^ shiftMix(first * kStdMul) * kStdMul) * kStdMul;
  const std::uint64_t mixed = target * inverse(kStdMul) ^ h;  // what mix(second) must be
  return shiftMix(mixed * inverse(kStdMul)) * inverse(kStdMul);
}

std::uint64_t randomBlock(Rng& rng) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) {
    unsigned char c;
    do
      c = static_cast<unsigned char>(rng.next());
    while (isBlank(c));
    v |= std::uint64_t{c} << (8 * i);
  }
  return v;
}
bool blankFree(std::uint64_t block) {
  for (int i = 0; i < 8; ++i)
    if (isBlank(static_cast<unsigned char>(block >> (8 * i)))) return false;
  return true;
}

// `count` 16-byte names with distinct first blocks, so distinct names. With `second`, each name's
// first block is drawn and its second block solved so that the state after both is one target
// value, so all of them share one full hash; a second block holding a whitespace byte is redrawn.
// Without, both are drawn.
std::vector<std::string> names(std::size_t count, Rng& rng,
                               std::uint64_t (*second)(std::uint64_t, std::uint64_t)) {
  const std::uint64_t target = rng.next();
  // Not a set of the names: std::hash would make it as slow as the tables under test.
  std::unordered_set<std::uint64_t> seen;
  std::vector<std::string> out;
  while (out.size() < count) {
    const std::uint64_t a = randomBlock(rng);
    const std::uint64_t b = second != nullptr ? second(a, target) : randomBlock(rng);
    if (!blankFree(b)) continue;
    std::string name(16, '\0');
    std::memcpy(name.data(), &a, 8);
    std::memcpy(name.data() + 8, &b, 8);
    if (seen.insert(a).second) out.push_back(std::move(name));
  }
  return out;
}

// Every name must get the first one's value under `hash`, or the flood floods nothing.
template <typename Hash>
void verifyCollide(const std::vector<std::string>& names, Hash hash, const char* what) {
  for (const std::string& name : names)
    if (hash(name) != hash(names.front())) die(std::string("names do not collide under ") + what);
}

struct Out {
  std::FILE* f;
  std::string path;
  Out(const std::filesystem::path& dir, const char* name) : path((dir / name).string()) {
    f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) die("cannot create " + path);
  }
  void put(std::string_view s) {
    if (std::fwrite(s.data(), 1, s.size(), f) != s.size()) die("write error: " + path);
  }
  void repeat(std::string_view s, std::uint64_t times) {
    constexpr std::size_t kBlock = 1 << 16;  // copies per write: few system calls
    std::string block;
    for (std::size_t i = 0; i < kBlock; ++i)
      block += s;
    for (; times >= kBlock; times -= kBlock)
      put(block);
    put(std::string_view(block).substr(0, times * s.size()));
  }
  ~Out() {
    if (std::fclose(f) != 0) die("write error: " + path);
  }
};

// The census's words (a container of `size()` words that `[i]` gives), and a register the
// two-file program can read.
template <typename Words>
void writeCensus(const std::filesystem::path& dir, const Words& words) {
  constexpr std::size_t kWordsPerLine = 10;  // lines of running text, not one word or one line
  Out be(dir, "be.txt");
  for (std::size_t i = 0; i < words.size(); ++i) {
    be.put(words[i]);
    be.put((i + 1) % kWordsPerLine == 0 || i + 1 == words.size() ? "\n" : " ");
  }
  Out(dir, "bemenet.txt").put("1\n1 Terminus\n");
  Out(dir, "frissites.txt");
}

void writeOnefile(const std::filesystem::path& dir, const std::vector<std::string>& all,
                  std::size_t n, Rng& rng) {
  Out f(dir, "F.IN");
  f.put(std::to_string(n) + "\n");
  for (std::size_t i = 0; i < n; ++i)
    f.put(std::to_string(i + 1) + " " + all[i] + "\n");
  std::vector<std::string_view> updates;
  for (std::size_t i = 0; i < n; i += 2)
    updates.push_back(all[i]);
  updates.insert(updates.end(), all.begin() + n, all.end());
  for (std::size_t i = updates.size(); i > 1; --i)
    std::swap(updates[i - 1], updates[rng.below(i)]);
  for (std::string_view u : updates) {
    f.put(u);
    f.put("\n");
  }
}

void writeOneLine(const std::filesystem::path& dir, std::uint64_t bytes, Rng& rng) {
  constexpr std::uint64_t kBytesPerWord = 100, kMaxWords = 1'000'000;  // ~1M distinct at 100 MB
  std::unordered_set<std::string> seen;
  std::vector<std::string> words;  // in the order drawn, whatever the set's order
  while (words.size() < std::clamp<std::uint64_t>(bytes / kBytesPerWord, 1, kMaxWords)) {
    std::string w(8 + rng.below(5), 'a');
    for (char& c : w)
      c = static_cast<char>('a' + rng.below(26));
    if (seen.insert(w).second) words.push_back(std::move(w));
  }
  Out be(dir, "be.txt");
  for (std::uint64_t written = 0; written < bytes;) {
    const std::string& w = words[rng.below(words.size())];
    be.put(w);
    be.put(" ");
    written += w.size() + 1;
  }
  be.put("\n");
  Out(dir, "bemenet.txt").put("1\n1 Terminus\n");
  Out(dir, "frissites.txt");
}

// A name of `length` random letters.
std::string randomLetters(std::size_t length, Rng& rng) {
  std::string name(length, 'a');
  for (char& c : name)
    c = static_cast<char>('a' + rng.below(26));
  return name;
}

// ---- names told apart by construction: no set of millions of them is needed.

// A bijection of the 32-bit values (lowbias32), keyed.
std::uint32_t scramble(std::uint32_t x, std::uint32_t key) {
  x ^= key;
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  return x ^ (x >> 16);
}

// A random byte that is not whitespace.
char randomNonBlank(Rng& rng) {
  unsigned char c;
  do
    c = static_cast<unsigned char>(rng.next());
  while (isBlank(c));
  return static_cast<char>(c);
}

// `count` distinct names of `length` bytes, packed one after another. The first four bytes of
// name i spell in base 250, over the non-blank bytes, i's image under a keyed permutation of
// the numbers below 250^4 (the scramble above, applied again while it lands at or above 250^4),
// so no two names share them; the other bytes are random non-blank bytes.
class Packed {
 public:
  Packed(std::uint64_t count, std::size_t length, Rng& rng) : length_(length) {
    constexpr std::uint64_t kSpan = 250ull * 250 * 250 * 250;
    if (length < 4 || count > kSpan) die("distinct names need 4 bytes or more, and at most 250^4");
    std::array<char, 250> digit{};
    for (int c = 0, d = 0; c < 256; ++c)
      if (!isBlank(static_cast<unsigned char>(c))) digit[d++] = static_cast<char>(c);
    const auto key = static_cast<std::uint32_t>(rng.next());
    bytes_.resize(count * length);
    for (std::uint64_t i = 0; i < count; ++i) {
      std::uint32_t x = static_cast<std::uint32_t>(i);
      do
        x = scramble(x, key);
      while (x >= kSpan);
      char* name = bytes_.data() + i * length;
      for (int d = 0; d < 4; ++d, x /= 250)
        name[d] = digit[x % 250];
      for (std::size_t b = 4; b < length; ++b)
        name[b] = randomNonBlank(rng);
    }
  }
  std::uint64_t size() const { return bytes_.size() / length_; }
  std::string_view operator[](std::uint64_t i) const {
    return std::string_view(bytes_).substr(i * length_, length_);
  }

 private:
  std::size_t length_;
  std::string bytes_;
};

constexpr std::size_t kShortName = 15;  // the longest name libstdc++'s std::string holds inline

// 0, 1, ..., n - 1 in random order.
std::vector<std::uint64_t> shuffled(std::uint64_t n, Rng& rng) {
  std::vector<std::uint64_t> order(n);
  for (std::uint64_t i = 0; i < n; ++i)
    order[i] = i;
  for (std::uint64_t i = n; i > 1; --i)
    std::swap(order[i - 1], order[rng.below(i)]);
  return order;
}

// Register lines "<code> <name>" for each name, `code` or, when it is 0, the name's number from 1.
void putStations(Out& out, const Packed& names, std::uint64_t code) {
  out.put(std::to_string(names.size()) + "\n");
  std::string line;
  for (std::uint64_t i = 0; i < names.size(); ++i) {
    line = std::to_string(code != 0 ? code : i + 1);
    line += ' ';
    line += names[i];
    line += '\n';
    out.put(line);
  }
}

// Three random `length`-byte words, each of `count` words one of them drawn at random and
// followed by a space or a line end drawn at random.
void writeThreeWords(const std::filesystem::path& dir, std::uint64_t count, std::uint64_t length,
                     Rng& rng) {
  std::vector<std::string> three;
  while (three.size() < 3) {
    std::string word(length, '\0');
    for (char& c : word)
      c = randomNonBlank(rng);
    if (std::find(three.begin(), three.end(), word) == three.end()) three.push_back(word);
  }
  Out be(dir, "be.txt");
  for (std::uint64_t i = 0; i < count; ++i) {
    be.put(three[rng.below(3)]);
    be.put(rng.below(2) != 0 ? " " : "\n");
  }
  Out(dir, "bemenet.txt").put("1\n1 Terminus\n");
  Out(dir, "frissites.txt");
}

// F.IN: `n` stations "<i> <name>", then `n` update lines naming `name`.
void writeOnefileSame(const std::filesystem::path& dir, std::uint64_t n, const std::string& name) {
  Out f(dir, "F.IN");
  f.put(std::to_string(n) + "\n");
  for (std::uint64_t i = 0; i < n; ++i)
    f.put(std::to_string(i + 1) + " " + name + "\n");
  for (std::uint64_t i = 0; i < n; ++i) {  // not repeat(): its block of copies would be huge
    f.put(name);
    f.put("\n");
  }
}

// Stations "<i> <name>" of two-file layout, and an update list that names the first of them.
void writeSameName(const std::filesystem::path& dir, std::uint64_t n, std::uint64_t length,
                   bool random, Rng& rng) {
  const std::string same = randomLetters(length, rng);
  Out reg(dir, "bemenet.txt");
  reg.put(std::to_string(n) + "\n");
  for (std::uint64_t i = 0; i < n; ++i)
    reg.put(std::to_string(i + 1) + " " + (random ? randomLetters(length, rng) : same) + "\n");
  Out(dir, "frissites.txt").put(same + "\n");
}

// The register "<i> w1 ... w6 <i>" and the update names "w1 ... w6 <N+j>", in two files and in one.
void writeRenames(const std::filesystem::path& dir, std::uint64_t n, Rng& rng) {
  std::string shared;
  for (int w = 0; w < 6; ++w)
    shared += randomLetters(4 + rng.below(6), rng) + " ";
  const std::string stations = std::to_string(n) + "\n";
  Out reg(dir, "bemenet.txt"), upd(dir, "frissites.txt"), one(dir, "F.IN");
  reg.put(stations);
  one.put(stations);
  for (std::uint64_t i = 1; i <= n; ++i) {
    const std::string line = std::to_string(i) + " " + shared + std::to_string(i) + "\n";
    reg.put(line);
    one.put(line);
  }
  for (const std::uint64_t j : shuffled(n, rng)) {
    const std::string line = shared + std::to_string(n + 1 + j) + "\n";
    upd.put(line);
    one.put(line);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) die("usage: gen_crafted KIND SEED OUTDIR SIZE [SIZE2]");
  const std::string kind = argv[1];
  Rng rng{std::strtoull(argv[2], nullptr, 10)};
  const std::filesystem::path dir = argv[3];
  const std::uint64_t size = std::strtoull(argv[4], nullptr, 10);
  std::filesystem::create_directories(dir);
  if (kind == "census-flood" || kind == "census-random") {
    const auto words = names(size, rng, kind == "census-flood" ? censusSecond : nullptr);
    if (kind == "census-flood") verifyCollide(words, censusHash, "the census's former hash");
    writeCensus(dir, words);
  } else if (kind == "onefile-flood" || kind == "onefile-random") {
    const auto all = names(size + size / 4, rng, kind == "onefile-flood" ? stdSecond : nullptr);
    if (kind == "onefile-flood")
      verifyCollide(all, std::hash<std::string_view>{}, "std::hash<std::string_view>");
    writeOnefile(dir, all, size, rng);
  } else if (kind == "blanks" && argc == 6) {
    const std::uint64_t blankLines = std::strtoull(argv[5], nullptr, 10);
    Out(dir, "be.txt").repeat("\n", size);
    Out reg(dir, "bemenet.txt"), one(dir, "F.IN");
    reg.repeat("\n", blankLines);
    reg.put("2\n1 North Gate\n2 Old Mill\n");
    Out(dir, "frissites.txt").put("North Gate\nHarbour\n");
    one.repeat("\n", blankLines);
    one.put("2\n1 North Gate\n2 Old Mill\nNorth Gate\nHarbour\n");
  } else if (kind == "one-line") {
    writeOneLine(dir, size, rng);
  } else if (kind == "lying-blanks") {
    Out f(dir, "F.IN");
    f.put("2147483647\n");
    f.repeat("\n", size);
  } else if (kind == "lying-repeat") {
    const std::string_view line = "1 North Gate\n";
    Out f(dir, "F.IN");
    f.put("2147483647\n");
    f.repeat(line, size / line.size());
  } else if (kind == "bom-line") {
    for (const char* name : {"bemenet.txt", "F.IN"}) {
      Out f(dir, name);
      f.put(
          "\xef\xbb\xbf"
          "3 stations");
      f.repeat(" word", size / 5);
      f.put("\n1 North Gate\n2 Old Mill\n3 Harbour\nNorth Gate\n");
    }
    Out(dir, "frissites.txt").put("North Gate\nHarbour\n");
  } else if (kind == "endless") {
    std::filesystem::create_symlink("/dev/zero", dir / "bemenet.txt");
    std::filesystem::create_symlink("/dev/zero", dir / "F.IN");
    Out(dir, "frissites.txt").put("North Gate\n");
  } else if (kind == "long-word") {
    Out(dir, "be.txt").repeat("w", size);
    Out(dir, "bemenet.txt").put("1\n1 Terminus\n");
  } else if (kind == "shared-code") {
    Out f(dir, "F.IN");
    f.put(std::to_string(size) + "\n");
    for (std::uint64_t i = 0; i < size; ++i)
      f.put("7 " + randomLetters(12 + rng.below(16), rng) + "\n");
  } else if ((kind == "same-name" || kind == "same-random") && argc == 6) {
    writeSameName(dir, size, std::strtoull(argv[5], nullptr, 10), kind == "same-random", rng);
  } else if (kind == "onefile-distinct") {
    Out f(dir, "F.IN");
    putStations(f, Packed(size, kShortName, rng), 7);
  } else if (kind == "two-named") {
    const Packed names(size, kShortName, rng);
    Out reg(dir, "bemenet.txt");
    putStations(reg, names, 0);
    Out upd(dir, "frissites.txt");
    for (const std::uint64_t i : shuffled(size, rng)) {
      upd.put(names[i]);
      upd.put("\n");
    }
  } else if (kind == "onefile-new") {
    const Packed names(size, kShortName, rng);
    Out f(dir, "F.IN");
    f.put("0\n");
    for (std::uint64_t i = 0; i < names.size(); ++i) {
      f.put(names[i]);
      f.put("\n");
    }
  } else if (kind == "census-distinct") {
    writeCensus(dir, Packed(size, kShortName, rng));
  } else if (kind == "three-words" && argc == 6) {
    writeThreeWords(dir, size, std::strtoull(argv[5], nullptr, 10), rng);
  } else if (kind == "onefile-same" && argc == 6) {
    writeOnefileSame(dir, size, randomLetters(std::strtoull(argv[5], nullptr, 10), rng));
  } else if (kind == "onefile-ones" && argc == 6) {
    writeOnefileSame(dir, size, std::string(std::strtoull(argv[5], nullptr, 10), '\x01'));
  } else if (kind == "renames") {
    writeRenames(dir, size, rng);
  } else {
    die("unknown kind or missing size: " + kind);
  }
  return 0;
}
