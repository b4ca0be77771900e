// The station text formats as pure functions of text.
#include "text_format.hpp"

#include <bit>
#include <cstring>
#include <limits>

namespace stationtext {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = kOnes * 0x80;

// The eight bytes at `p` in a word, the first in the lowest byte.
std::uint64_t loadEight(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
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

// Flags, in the top bit of each byte, exactly the blanks among the eight bytes of `word`: the
// bytes equal to the largest blank, and the bytes of the run. No sum carries into the next
// byte, so no flag is false.
std::uint64_t blankBytes(std::uint64_t word) {
  const std::uint64_t low = word & ~kHighBits;  // each byte's lower seven bits
  const std::uint64_t last = word ^ (kOnes * kBlanks.last);
  const std::uint64_t isLast = ~(((last & ~kHighBits) + ~kHighBits) | last) & kHighBits;
  const std::uint64_t inRun = low + kOnes * (0x80 - kBlanks.first);
  const std::uint64_t pastRun = low + kOnes * (0x80 - kBlanks.runEnd);
  return isLast | (inRun & ~pastRun & ~word & kHighBits);
}

// One more than the largest blank: every blank lies below it.
constexpr unsigned kAboveBlanks = kBlanks.last + 1;
static_assert(kAboveBlanks <= 0x80, "lowBytes() flags bytes below 0x80 only");

// Flags, in the top bit of each byte, the bytes of the eight at `p` that lie below
// kAboveBlanks, and so every blank among them (with at most some false flags above a real
// one). Byte i of the eight is flagged in bits 8i to 8i + 7.
std::uint64_t lowBytes(const char* p) {
  const std::uint64_t word = loadEight(p);
  return (word - kOnes * kAboveBlanks) & ~word & kHighBits;
}

// True when a byte of the trimmed text at `q` keeps it joined: any byte but a blank, or a
// single space followed by a token byte. The byte after a blank always exists, since the
// trimmed text ends with a token.
bool keepsJoined(const char* q) {
  const auto c = static_cast<unsigned char>(*q);
  return !isBlank(c) || (c == ' ' && !isBlank(static_cast<unsigned char>(q[1])));
}

// True when the trimmed text [p, end) is already its tokens joined by single spaces.
bool alreadyJoined(const char* p, const char* end) {
  // Eight bytes at a time, and only the flagged bytes among them are looked at.
  const char* const begin = p;
  for (; end - p >= 8; p += 8) {
    for (std::uint64_t low = lowBytes(p); low != 0; low &= low - 1) {
      if (!keepsJoined(p + std::countr_zero(low) / 8)) return false;
    }
  }
  if (p == end) return true;
  if (end - begin >= 8) {
    // The last eight bytes, of which the first ones were looked at already.
    const auto seen = static_cast<unsigned>(8 - (end - p));
    for (std::uint64_t low = lowBytes(end - 8) & (~std::uint64_t{0} << (8 * seen)); low != 0;
         low &= low - 1) {
      if (!keepsJoined(end - 8 + std::countr_zero(low) / 8)) return false;
    }
    return true;
  }
  for (; p != end; ++p) {
    if (!keepsJoined(p)) return false;
  }
  return true;
}

}  // namespace

const char* skipBlankRun(const char* p, const char* end) {
  for (; end - p >= 8; p += 8) {
    const std::uint64_t token = ~blankBytes(loadEight(p)) & kHighBits;
    if (token != 0) return p + std::countr_zero(token) / 8;
  }
  while (p != end && isBlank(static_cast<unsigned char>(*p)))
    ++p;
  return p;
}

const char* findBlankRun(const char* p, const char* end) {
  for (; end - p >= 8; p += 8) {
    const std::uint64_t blank = blankBytes(loadEight(p));
    if (blank != 0) return p + std::countr_zero(blank) / 8;
  }
  while (p != end && !isBlank(static_cast<unsigned char>(*p)))
    ++p;
  return p;
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
