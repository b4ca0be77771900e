// gen_input: seedable generator of large, realistic inputs for the benchmark.
//
//   gen_input N SEED OUTDIR
//
// Writes into OUTDIR (created if missing):
//   be.txt         about N words of running text over a vocabulary of ~60k words
//   bemenet.txt    the register: a count line, then N station lines "<code> <name>"
//   frissites.txt  the update list: one station name per line
//   F.IN           the single-file layout: the register immediately followed by
//                  the update list
//
// What the data looks like:
//   * station names are "<town> <stop>", Hungarian-like, UTF-8 with accented
//     letters, ~35 bytes on average; a town has a handful of stops (big cities
//     hundreds), so many names share a long common prefix; some towns are
//     "City-District" forms, which share even longer prefixes;
//   * codes are mostly distinct positive integers, ~0.5% are repeated;
//   * ~0.2% of the register lines repeat an earlier name with another code;
//   * a small share of register lines carry extra blanks or a CR LF ending;
//   * the update list names ~90% of the distinct register names, in shuffled
//     order, plus ~5% (of N) names that are not in the register; ~3% of its
//     lines are respaced with runs of spaces/tabs, ~5% end in CR LF, a few
//     names are listed twice, and a few lines are blank or a single byte.
//
// The output is a pure function of (N, SEED): the generator uses its own PRNG
// and its own sampling helpers, never <random> distributions, whose results
// differ between standard libraries.
//
// Built by bench/run.sh with `g++ -O2 -std=c++20`; not part of the programs.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// ---------------------------------------------------------------- randomness

// xoshiro256** seeded through splitmix64.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) {
    for (auto& word : s_) {
      seed += 0x9e3779b97f4a7c15ULL;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      word = z ^ (z >> 31);
    }
  }

  std::uint64_t next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }

  // Uniform in [0, bound); bound > 0. Multiply-shift, bias is negligible here.
  std::uint64_t below(std::uint64_t bound) {
    __extension__ using Wide = unsigned __int128;
    return static_cast<std::uint64_t>((static_cast<Wide>(next()) * bound) >> 64);
  }

  // True with probability per_mille / 1000.
  bool chance(unsigned per_mille) { return below(1000) < per_mille; }

  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  template <typename T>
  const T& pick(const std::vector<T>& v) {
    return v[below(v.size())];
  }

  template <typename T>
  void shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i)
      std::swap(v[i - 1], v[below(i)]);
  }

 private:
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::array<std::uint64_t, 4> s_{};
};

// ------------------------------------------------------------- word material

// Upper-cases the first letter of a UTF-8 word (ASCII and the Hungarian vowels).
std::string capitalize(std::string w) {
  if (w.empty()) return w;
  const auto c0 = static_cast<unsigned char>(w[0]);
  if (c0 >= 'a' && c0 <= 'z') {
    w[0] = static_cast<char>(c0 - 'a' + 'A');
  } else if (w.size() >= 2) {
    const auto c1 = static_cast<unsigned char>(w[1]);
    // á é í ó ö ú ü (C3 xx) -> Á É Í Ó Ö Ú Ü; ő ű (C5 91 / C5 B1) -> Ő Ű.
    if (c0 == 0xC3 && c1 >= 0xA0 && c1 <= 0xBF) w[1] = static_cast<char>(c1 - 0x20);
    if (c0 == 0xC5 && (c1 == 0x91 || c1 == 0xB1)) w[1] = static_cast<char>(c1 - 1);
  }
  return w;
}

const std::vector<std::string> kSyllables = {
    "ba",  "bé",  "bo",   "bö",    "cse", "csö", "da",  "dé",  "dö",  "fa",  "fe",  "fü",
    "ga",  "győ", "gyu",  "ha",    "hé",  "ho",  "já",  "jó",  "ka",  "ke",  "kő",  "kö",
    "la",  "le",  "ló",   "ma",    "me",  "mo",  "mű",  "na",  "ne",  "nyí", "nyá", "ó",
    "pa",  "pá",  "pe",   "rá",    "re",  "rö",  "sá",  "se",  "sza", "szé", "szi", "sző",
    "ta",  "te",  "tö",   "tű",    "ú",   "ü",   "vá",  "ve",  "vi",  "za",  "ze",  "zsá",
    "bor", "dor", "gár",  "kes",   "lak", "mor", "nár", "pöl", "rég", "sár", "tor", "vár",
    "zsa", "cza", "hegy", "szent", "ör",  "ős",  "ál",  "él",  "íz",  "ól",  "úr",  "űr"};

const std::vector<std::string> kTownPrefixes = {
    "Balaton", "Szent", "Nagy",   "Kis",   "Felső",   "Alsó",  "Tisza", "Duna",   "Mező",
    "Hajdú",   "Rác",   "Puszta", "Zala",  "Vas",     "Békés", "Sár",   "Bodrog", "Rába",
    "Maros",   "Kőrös", "Bakony", "Mátra", "Zemplén", "Ócsa",  "Érd",   "Új",     "Ó"};

const std::vector<std::string> kTownSuffixes = {
    "háza",  "falva", "hegy",      "füred", "vár",  "egyháza", "szentmiklós",
    "lak",   "telek", "szállás",   "halom", "tő",   "kút",     "újfalu",
    "bánya", "almás", "keresztúr", "ség",   "d",    "s",       "i",
    "",      "",      "",          "hida",  "szeg", "patak",   "völgy"};

const std::vector<std::string> kCities = {
    "Budapest", "Debrecen",    "Szeged",    "Miskolc",        "Pécs",
    "Győr",     "Nyíregyháza", "Kecskemét", "Székesfehérvár", "Szombathely"};

// Stop descriptions. Street names also take house numbers ("Petőfi Sándor utca 12.").
const std::vector<std::string> kStops = {"vasútállomás",
                                         "megállóhely",
                                         "alsó megállóhely",
                                         "felső megállóhely",
                                         "Felső",
                                         "Alsó",
                                         "Nyugati pályaudvar",
                                         "Keleti pályaudvar",
                                         "Déli pályaudvar",
                                         "autóbusz-állomás",
                                         "autóbusz-forduló",
                                         "Ipartelep",
                                         "Kórház",
                                         "Temető",
                                         "Posta",
                                         "Általános Iskola",
                                         "Gimnázium",
                                         "Községháza",
                                         "Polgármesteri Hivatal",
                                         "Templom",
                                         "vasútállomás bejárati út",
                                         "Strand",
                                         "Sportpálya",
                                         "Gyógyfürdő",
                                         "Kastély",
                                         "Malom",
                                         "Major",
                                         "Tanya",
                                         "Erdészház",
                                         "Bányatelep",
                                         "Újtelep",
                                         "Szőlőhegy",
                                         "Őrház",
                                         "Üdülőtelep",
                                         "Ürge-mező",
                                         "Ősz utca",
                                         "Űrhajós utca",
                                         "Kossuth Lajos utca",
                                         "Petőfi Sándor utca",
                                         "Ady Endre út",
                                         "Rákóczi út",
                                         "Arany János utca",
                                         "Dózsa György út",
                                         "Béke tér",
                                         "Fő utca",
                                         "Fő tér",
                                         "Szabadság tér",
                                         "Széchenyi István tér",
                                         "Vörösmarty utca",
                                         "Jókai Mór utca",
                                         "Bajcsy-Zsilinszky út",
                                         "Deák Ferenc tér",
                                         "Hősök tere",
                                         "Munkácsy Mihály utca",
                                         "Erzsébet királyné útja",
                                         "Tűzoltóság",
                                         "Rendőrkapitányság",
                                         "Mentőállomás",
                                         "Vasúti átjáró",
                                         "Téglagyár",
                                         "Cukorgyár",
                                         "Termelőszövetkezet",
                                         "Állami Gazdaság",
                                         "Gépállomás",
                                         "Víztorony",
                                         "Kultúrház",
                                         "Művelődési Ház",
                                         "Óvoda",
                                         "Egészségház",
                                         "Bolt",
                                         "Kocsma",
                                         "Csárda",
                                         "Híd",
                                         "Révátkelő",
                                         "Kompkikötő",
                                         "Hajóállomás",
                                         "Repülőtér",
                                         "Ipari Park",
                                         "Bevásárlóközpont",
                                         "Lakótelep",
                                         "Kertváros",
                                         "Belváros",
                                         "Ótelep",
                                         "Vasútállomás Felső",
                                         "Egyetem",
                                         "Főiskola",
                                         "Klinikák",
                                         "Stadion",
                                         "Vásártér",
                                         "Piac tér",
                                         "Sorompó",
                                         "Elágazás",
                                         "Bekötőút",
                                         "Országúti csárda",
                                         "Honvéd utca",
                                         "Zrínyi Miklós utca",
                                         "Szent István király út",
                                         "Árpád fejedelem útja",
                                         "Mátyás király út"};

// Streets (which take house numbers) are the entries ending in these words.
bool is_street(std::string_view s) {
  for (std::string_view end : {" utca", " út", " útja"}) {
    if (s.size() > end.size() && s.substr(s.size() - end.size()) == end) return true;
  }
  return false;
}

// Synthetic lower-case word of 1..3 syllables, used for town roots and for text.
std::string make_root(Rng& rng, int min_syl, int max_syl) {
  const int n = min_syl + static_cast<int>(rng.below(max_syl - min_syl + 1));
  std::string w;
  for (int i = 0; i < n; ++i)
    w += rng.pick(kSyllables);
  return w;
}

// A single-token town name (no blanks inside), e.g. "Balatonkőszállás",
// "Nyírlakfalva", "Budapest-Kőbánya". Uniqueness is enforced by the caller.
std::string make_town(Rng& rng) {
  if (rng.chance(100)) return rng.pick(kCities) + "-" + capitalize(make_root(rng, 2, 3));
  std::string root = make_root(rng, 2, 4) + rng.pick(kTownSuffixes);
  if (rng.chance(650)) return rng.pick(kTownPrefixes) + root;
  return capitalize(root);
}

// ------------------------------------------------------------------ stations

// A station name is (town, stop). The stop packs an index into kStops and an
// optional house number (0 = none), so names are built only when written.
struct Station {
  std::uint32_t town;
  std::uint32_t stop;  // (kStops index << 10) | house number
};

class Names {
 public:
  std::vector<std::string> towns;

  void append(std::string& out, Station s) const {
    out += towns[s.town];
    out += ' ';
    out += kStops[s.stop >> 10];
    if (const unsigned house = s.stop & 1023; house != 0) {
      out += ' ';
      out += std::to_string(house);
      out += '.';
    }
  }
};

// Picks a stop for a town: the common ones (station, stop, main square) come
// up far more often than the rest, streets get a house number half the time.
std::uint32_t make_stop(Rng& rng) {
  std::uint32_t idx;
  const double u = rng.unit();
  if (u < 0.25) {
    idx = static_cast<std::uint32_t>(rng.below(12));  // the frequent head of the list
  } else {
    idx = static_cast<std::uint32_t>(rng.below(kStops.size()));
  }
  std::uint32_t house = 0;
  if (is_street(kStops[idx]) && rng.chance(750))
    house = 1 + static_cast<std::uint32_t>(rng.below(199));
  return (idx << 10) | house;
}

// Number of stops of a town: mostly a handful, sometimes a city with hundreds.
std::size_t stops_for_town(Rng& rng, bool city) {
  if (city || rng.chance(5)) return 50 + rng.below(400);
  return 1 + rng.below(4) + rng.below(6);
}

// Draws `count` distinct stations, together with the pool of towns they use.
// Each town gets distinct stops, and town names are distinct single tokens, so
// every (town, stop) pair yields a distinct name.
std::vector<Station> make_stations(Rng& rng, Names& names, std::size_t count) {
  std::vector<Station> out;
  out.reserve(count);
  std::unordered_set<std::string> seen_towns;
  std::vector<std::uint32_t> stops;
  while (out.size() < count) {
    std::string town = make_town(rng);
    if (!seen_towns.insert(town).second) continue;
    const bool city = town.find('-') != std::string::npos && rng.chance(50);
    names.towns.push_back(std::move(town));
    const auto town_id = static_cast<std::uint32_t>(names.towns.size() - 1);
    const std::size_t want = stops_for_town(rng, city);
    stops.clear();
    for (std::size_t tries = 0; stops.size() < want && tries < want * 4; ++tries) {
      const std::uint32_t s = make_stop(rng);
      if (std::find(stops.begin(), stops.end(), s) == stops.end()) stops.push_back(s);
    }
    for (std::uint32_t s : stops) {
      if (out.size() == count) break;
      out.push_back({town_id, s});
    }
  }
  return out;
}

// ------------------------------------------------------------------- output

class Writer {
 public:
  explicit Writer(const std::filesystem::path& path) : f_(std::fopen(path.c_str(), "wb")) {
    if (f_ == nullptr) {
      std::fprintf(stderr, "gen_input: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
      std::exit(1);
    }
  }
  ~Writer() { close(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  std::string& buf() { return buf_; }

  // Flushes once enough has piled up; call after each record.
  void maybe_flush() {
    if (buf_.size() >= (1u << 20)) flush();
  }

  void close() {
    if (f_ == nullptr) return;
    flush();
    if (std::fclose(f_) != 0) fail();
    f_ = nullptr;
  }

 private:
  void flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) fail();
    buf_.clear();
  }
  [[noreturn]] void fail() {
    std::fprintf(stderr, "gen_input: write error: %s\n", std::strerror(errno));
    std::exit(1);
  }

  std::FILE* f_;
  std::string buf_;
};

// Writes the same bytes to several files (the register goes to both layouts).
void put_all(std::initializer_list<Writer*> ws, std::string_view s) {
  for (Writer* w : ws) {
    w->buf() += s;
    w->maybe_flush();
  }
}

// Re-spaces a normalised name: runs of blanks/tabs between the words, maybe
// some in front and behind. Tokens stay the same, so the name does too.
std::string respace(Rng& rng, const std::string& name) {
  static const std::vector<std::string> gaps = {"  ", "\t", " \t ", "   ", "\t\t"};
  std::string out;
  if (rng.chance(300)) out += rng.pick(gaps);
  for (char c : name) {
    if (c == ' ') {
      out += rng.chance(500) ? rng.pick(gaps) : std::string(" ");
    } else {
      out += c;
    }
  }
  if (rng.chance(300)) out += rng.pick(gaps);
  return out;
}

void write_text(Rng& rng, const std::filesystem::path& path, std::size_t n_words) {
  // Vocabulary: synthetic words plus a few common function words; frequencies
  // roughly Zipfian (rank r drawn with density ~ 1/r).
  std::vector<std::string> vocab = {"a",    "az", "és",  "hogy", "nem", "is",   "egy", "meg",
                                    "volt", "de", "már", "csak", "még", "vagy", "ki",  "el"};
  std::unordered_set<std::string> seen(vocab.begin(), vocab.end());
  while (vocab.size() < 60000) {
    std::string w = make_root(rng, 1, 4);
    if (rng.chance(150)) w += rng.pick(kTownSuffixes);
    if (seen.insert(w).second) vocab.push_back(std::move(w));
  }
  Writer out(path);
  const double log_v = std::log(static_cast<double>(vocab.size()));
  std::size_t on_line = 0;
  for (std::size_t i = 0; i < n_words; ++i) {
    const auto rank = static_cast<std::size_t>(std::exp(rng.unit() * log_v)) - 1;
    std::string w = vocab[std::min(rank, vocab.size() - 1)];
    if (on_line == 0 || rng.chance(40)) w = capitalize(std::move(w));
    if (rng.chance(60)) w += rng.chance(700) ? "," : ".";
    std::string& b = out.buf();
    if (on_line != 0) b += ' ';
    b += w;
    if (++on_line >= 12 + rng.below(6)) {
      b += '\n';
      on_line = 0;
    }
    out.maybe_flush();
  }
  if (on_line != 0) out.buf() += '\n';
  out.close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: gen_input N SEED OUTDIR\n");
    return 2;
  }
  char* end = nullptr;
  const unsigned long long n = std::strtoull(argv[1], &end, 10);
  if (*end != '\0' || n == 0 || n > 100'000'000ULL) {
    std::fprintf(stderr, "gen_input: N must be in 1..100000000\n");
    return 2;
  }
  const unsigned long long seed = std::strtoull(argv[2], &end, 10);
  if (*end != '\0') {
    std::fprintf(stderr, "gen_input: SEED must be a non-negative integer\n");
    return 2;
  }
  const std::filesystem::path dir = argv[3];
  std::filesystem::create_directories(dir);

  Rng rng(seed);
  Names names;

  // ~0.2% of the register repeats a name; those slots are filled afterwards.
  const std::size_t n_dup_names = n / 500;
  const std::size_t n_distinct = n - n_dup_names;
  const std::size_t n_new = std::max<std::size_t>(1, n / 20);

  // Register names and the new names of the update list come from one draw, so
  // they are all distinct; the tail of the draw is the "new" part.
  std::vector<Station> all = make_stations(rng, names, n_distinct + n_new);
  rng.shuffle(all);
  std::vector<Station> fresh(all.begin() + static_cast<std::ptrdiff_t>(n_distinct), all.end());
  all.resize(n_distinct);

  std::vector<Station> reg = all;
  for (std::size_t i = 0; i < n_dup_names; ++i)
    reg.push_back(rng.pick(all));
  rng.shuffle(reg);

  // Codes: a walk through a bijection of [0, 2^30) gives distinct positive
  // values; ~0.5% then borrow an earlier station's code.
  std::vector<std::int32_t> codes(reg.size());
  const std::uint64_t mul = 2654435761ULL | 1, add = rng.below(1u << 30);
  for (std::size_t i = 0; i < reg.size(); ++i) {
    codes[i] = static_cast<std::int32_t>(1 + ((i * mul + add) & ((1u << 30) - 1)));
    if (i > 0 && rng.chance(5)) codes[i] = codes[rng.below(i)];
  }

  // ---- register: bemenet.txt, and the head of F.IN
  {
    Writer reg_file(dir / "bemenet.txt");
    Writer one_file(dir / "F.IN");
    const std::string count_line = std::to_string(reg.size()) + "\n";
    put_all({&reg_file, &one_file}, count_line);
    std::string line, name;
    for (std::size_t i = 0; i < reg.size(); ++i) {
      name.clear();
      names.append(name, reg[i]);
      line = std::to_string(codes[i]);
      if (rng.chance(10)) {
        line += rng.chance(500) ? "\t" : "  ";
        line += respace(rng, name);
      } else {
        line += ' ';
        line += name;
      }
      line += rng.chance(10) ? "\r\n" : "\n";
      put_all({&reg_file, &one_file}, line);
    }

    // ---- update list: frissites.txt, and the tail of F.IN
    std::vector<Station> upd;
    upd.reserve(n_distinct + n_new + n / 100);
    for (const Station& s : all) {
      if (rng.chance(900)) upd.push_back(s);
    }
    upd.insert(upd.end(), fresh.begin(), fresh.end());
    const std::size_t n_repeat = upd.size() / 200;
    for (std::size_t i = 0; i < n_repeat; ++i)
      upd.push_back(upd[rng.below(upd.size())]);
    rng.shuffle(upd);

    reg_file.close();
    Writer upd_file(dir / "frissites.txt");
    // A few stray lines of the kind hand-kept lists collect: blank, a lone
    // byte, blanks only. The first two kinds are skipped by the programs, the
    // last reads as an empty name.
    const std::vector<std::string> junk = {"\n", "\r\n", "-\n", " \n", "  \n", " \t\r\n"};
    const std::size_t n_junk = 2 + upd.size() / 100000;
    for (std::size_t i = 0; i < upd.size(); ++i) {
      if (i % (upd.size() / n_junk + 1) == 0) put_all({&upd_file, &one_file}, rng.pick(junk));
      name.clear();
      names.append(name, upd[i]);
      line = rng.chance(30) ? respace(rng, name) : name;
      line += rng.chance(50) ? "\r\n" : "\n";
      put_all({&upd_file, &one_file}, line);
    }
  }

  write_text(rng, dir / "be.txt", n);
  return 0;
}
