// The station text formats as pure functions of text.
#include "text_format.hpp"

#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace stationtext {

namespace {

// The scans look at a machine word of bytes at a time: eight in 64-bit code, four in 32-bit
// code, where 64-bit arithmetic would take two instructions for each.
using Word = std::uintptr_t;
constexpr std::size_t kWord = sizeof(Word);
constexpr Word kOnes = ~Word{0} / 0xff;
constexpr Word kHighBits = kOnes * 0x80;

// The kWord bytes at `p` in a word, the first in the lowest byte.
Word loadWord(const char* p) {
  Word word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) {
    if constexpr (kWord == 8) {
      word = __builtin_bswap64(word);
    } else {
      word = __builtin_bswap32(word);
    }
  }
  return word;
}

// Tokens longer than this are scanned by memchr for each blank byte instead: a word at a time
// costs a dozen operations per word, memchr far less per byte once the run is long.
constexpr std::ptrdiff_t kShortScan = 64;
// Bytes that memchr looks through at a time: its six passes over a chunk stay in the cache.
constexpr std::ptrdiff_t kChunk = 4096;

// The blank bytes, from isBlank().
constexpr auto kBlankList = [] {
  std::array<char, 6> list{};
  std::size_t n = 0;
  for (unsigned c = 0; c < 256; ++c) {
    if (isBlank(static_cast<unsigned char>(c))) list[n++] = static_cast<char>(c);
  }
  return list;
}();
static_assert(
    [] {
      std::size_t n = 0;
      for (unsigned c = 0; c < 256; ++c)
        n += isBlank(static_cast<unsigned char>(c));
      return n;
    }() == kBlankList.size(),
    "kBlankList holds every blank byte");

// The byte that a flag in the top bit of a byte of a word stands for.
std::size_t flaggedByte(Word flags) {
  return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
}

// The blank set as blankBytes() sees it: a run of consecutive bytes, from the smallest blank
// on, and the largest blank (in the formats' set, tab to carriage return, and space).
struct BlankShape {
  unsigned first = 256, runEnd = 0, last = 0;
};
constexpr BlankShape kBlanks = [] {
  BlankShape shape;
  for (unsigned c = 0; c < 256; ++c) {
    if (!isBlank(static_cast<unsigned char>(c))) continue;
    if (shape.first == 256) shape.first = shape.runEnd = c;
    if (shape.runEnd == c) ++shape.runEnd;
    shape.last = c;
  }
  return shape;
}();
constexpr bool blankShapeHolds() {
  for (unsigned c = 0; c < 256; ++c) {
    const bool inShape = (c >= kBlanks.first && c < kBlanks.runEnd) || c == kBlanks.last;
    if (isBlank(static_cast<unsigned char>(c)) != inShape) return false;
  }
  return kBlanks.first >= 1 && kBlanks.runEnd <= 0x80;
}
static_assert(blankShapeHolds(), "blankBytes() computes a run of blanks and one more blank only");

// Flags, in the top bit of each byte, exactly the blanks among the bytes of `word`: the bytes
// equal to the largest blank, and the bytes of the run. No sum carries into the next byte, so no
// flag is false.
Word blankBytes(Word word) {
  const Word low = word & ~kHighBits;  // each byte's lower seven bits
  const Word last = word ^ (kOnes * kBlanks.last);
  const Word isLast = ~(((last & ~kHighBits) + ~kHighBits) | last) & kHighBits;
  const Word inRun = low + kOnes * (0x80 - kBlanks.first);
  const Word pastRun = low + kOnes * (0x80 - kBlanks.runEnd);
  return isLast | (inRun & ~pastRun & ~word & kHighBits);
}

// One more than the largest blank: every blank lies below it.
constexpr unsigned kAboveBlanks = kBlanks.last + 1;
static_assert(kAboveBlanks <= 0x80, "lowBytes() flags bytes below 0x80 only");

// Flags, in the top bit of each byte, the bytes of the word at `p` that lie below
// kAboveBlanks, and so every blank among them (with at most some false flags above a real
// one).
Word lowBytes(const char* p) {
  const Word word = loadWord(p);
  return (word - kOnes * kAboveBlanks) & ~word & kHighBits;
}

// True when a byte of the trimmed text at `q` keeps it joined: any byte but a blank, or a
// single space followed by a token byte. The byte after a blank always exists, since the
// trimmed text ends with a token.
bool keepsJoined(const char* q) {
  const auto c = static_cast<unsigned char>(*q);
  return !isBlank(c) || (c == ' ' && !isBlank(static_cast<unsigned char>(q[1])));
}

// True when the flagged bytes of the word at `p` all keep the text joined.
bool flaggedKeepJoined(const char* p, Word low) {
  for (; low != 0; low &= low - 1) {
    if (!keepsJoined(p + flaggedByte(low))) return false;
  }
  return true;
}

// True when the trimmed text [p, end) is already its tokens joined by single spaces.
bool alreadyJoined(const char* p, const char* end) {
  // Two words at a time while they last, then one, and only the flagged bytes among them are
  // looked at: in most names, only the single spaces between words.
  const char* const begin = p;
  for (; end - p >= static_cast<std::ptrdiff_t>(2 * kWord); p += 2 * kWord) {
    const Word first = lowBytes(p), second = lowBytes(p + kWord);
    if ((first | second) != 0 &&
        !(flaggedKeepJoined(p, first) && flaggedKeepJoined(p + kWord, second)))
      return false;
  }
  if (end - p >= static_cast<std::ptrdiff_t>(kWord)) {
    if (!flaggedKeepJoined(p, lowBytes(p))) return false;
    p += kWord;
  }
  if (p == end) return true;
  if (end - begin >= static_cast<std::ptrdiff_t>(kWord)) {
    // The last word's bytes, of which the first ones were looked at already.
    const auto seen = static_cast<unsigned>(kWord - static_cast<std::size_t>(end - p));
    return flaggedKeepJoined(end - kWord, lowBytes(end - kWord) & (~Word{0} << (8 * seen)));
  }
  for (; p != end; ++p) {
    if (!keepsJoined(p)) return false;
  }
  return true;
}

}  // namespace

const char* skipBlankRun(const char* p, const char* end) {
  for (; end - p >= static_cast<std::ptrdiff_t>(kWord); p += kWord) {
    const Word token = ~blankBytes(loadWord(p)) & kHighBits;
    if (token != 0) return p + flaggedByte(token);
  }
  while (p != end && isBlank(static_cast<unsigned char>(*p)))
    ++p;
  return p;
}

const char* findBlankRun(const char* p, const char* end) {
  // Two words at a time, for the first bytes: one branch for both.
  const char* const shortEnd = end - p > kShortScan ? p + kShortScan : end;
  for (; shortEnd - p >= static_cast<std::ptrdiff_t>(2 * kWord); p += 2 * kWord) {
    const Word first = blankBytes(loadWord(p)), second = blankBytes(loadWord(p + kWord));
    if ((first | second) != 0)
      return first != 0 ? p + flaggedByte(first) : p + kWord + flaggedByte(second);
  }
  if (p != shortEnd) {
    for (; p != shortEnd; ++p) {
      if (isBlank(static_cast<unsigned char>(*p))) return p;
    }
  }
  // A long token: a chunk at a time, each blank byte looked for with memchr, which the C library
  // does with vector instructions where the machine has them (in 32-bit code too), each search
  // ending where an earlier one found its byte.
  while (p != end) {
    const char* const chunkEnd = end - p > kChunk ? p + kChunk : end;
    const char* first = chunkEnd;
    for (const char blank : kBlankList) {
      const void* const at = std::memchr(p, blank, static_cast<std::size_t>(first - p));
      if (at != nullptr) first = static_cast<const char*>(at);
    }
    if (first != chunkEnd) return first;
    p = chunkEnd;
  }
  return end;
}

std::string_view joinTokens(std::string_view text, std::string& scratch) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && isBlank(static_cast<unsigned char>(*p)))
    ++p;
  while (end != p && isBlank(static_cast<unsigned char>(end[-1])))
    --end;
  // Most names are already joined by single spaces.
  if (alreadyJoined(p, end)) return std::string_view(p, static_cast<std::size_t>(end - p));
  scratch.clear();
  for (;;) {
    while (p != end && isBlank(static_cast<unsigned char>(*p)))
      ++p;
    if (p == end) return scratch;
    const char* const token = p;
    while (p != end && !isBlank(static_cast<unsigned char>(*p)))
      ++p;
    if (!scratch.empty())
      scratch.push_back(' ');  // tokens are never empty: only the first finds none
    scratch.append(token, static_cast<std::size_t>(p - token));
  }
}

NumberStatus NumberScan::result(std::int32_t& value) const {
  if (!digits_) {
    value = 0;
    return NumberStatus::missing;
  }
  if (magnitude_ > (negative_ ? kLimit : kLimit - 1)) {
    value = negative_ ? std::numeric_limits<std::int32_t>::min()
                      : std::numeric_limits<std::int32_t>::max();
    return NumberStatus::overflow;
  }
  value = static_cast<std::int32_t>(negative_ ? -static_cast<std::int64_t>(magnitude_)
                                              : static_cast<std::int64_t>(magnitude_));
  return NumberStatus::ok;
}

NumberStatus readNumber(std::string_view text, std::size_t& pos, std::int32_t& value) {
  NumberScan scan;
  std::size_t i = pos;
  while (i < text.size() && scan.take(text[i]))
    ++i;
  const NumberStatus status = scan.result(value);
  if (status != NumberStatus::missing) pos = i;
  return status;
}

std::int32_t parseStationLine(std::string_view line, std::string& scratch, std::string_view& name) {
  std::int32_t code = 0;
  std::size_t pos = static_cast<std::size_t>(
      skipBlankBytes(line.data(), line.data() + line.size()) - line.data());
  name = readNumber(line, pos, code) == NumberStatus::ok ? joinTokens(line.substr(pos), scratch)
                                                         : std::string_view();
  return code;
}

bool parseUpdateLine(std::string_view line, std::string& scratch, std::string_view& name) {
  if (line.size() < 2) return false;
  name = joinTokens(line, scratch);
  return true;
}

}  // namespace stationtext
