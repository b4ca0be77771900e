// The station text formats as pure functions of text: whitespace and tokens, the name rule,
// numbers, station lines, update lines and the register's count line. No file access here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace stationtext {

// The blank set of the formats, the one place that defines it: the six whitespace bytes space,
// tab, newline, vertical tab, form feed and carriage return. Every other byte, NUL and bytes
// above 0x7f included, belongs to a token. The word-at-a-time scans in text_format.cpp follow
// it (their unit test walks every byte value through them).
constexpr bool isBlank(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// skipBlankBytes() and findBlankByte() past their first bytes, eight bytes at a time.
const char* skipBlankRun(const char* p, const char* end);
const char* findBlankRun(const char* p, const char* end);

// The first byte of [p, end) that is not a blank, or `end`: a run of blank lines costs about
// what copying it would. Words are mostly one blank apart, so two bytes are looked at first.
inline const char* skipBlankBytes(const char* p, const char* end) {
  for (int i = 0; i < 2; ++i, ++p) {
    if (p == end || !isBlank(static_cast<unsigned char>(*p))) return p;
  }
  return skipBlankRun(p, end);
}

// The first blank byte of [p, end), or `end`. Most words are short, so eight bytes are looked
// at one by one first.
inline const char* findBlankByte(const char* p, const char* end) {
  for (int i = 0; i < 8; ++i, ++p) {
    if (p == end || isBlank(static_cast<unsigned char>(*p))) return p;
  }
  return findBlankRun(p, end);
}

// The tokens of `text` joined by single spaces. When `text` already is that, apart from blanks
// at its ends (the common case), the result views `text` itself and nothing is copied;
// otherwise the tokens are joined in `scratch`, which the result then views.
std::string_view joinTokens(std::string_view text, std::string& scratch);

// The name order, the one place that defines it: bytes compared as unsigned values, a name
// before every longer name that it begins. Negative, zero or positive as `a` sorts before, with
// or after `b`.
inline int compareNames(std::string_view a, std::string_view b) {
  return a.compare(b);  // char_traits<char> compares as unsigned char
}

// True when `a` sorts before `b` in the name order: for sorting and ordered sets of names.
struct NameOrder {
  bool operator()(std::string_view a, std::string_view b) const { return compareNames(a, b) < 0; }
};

// Outcome of reading a signed decimal number at the start of a token.
enum class NumberStatus {
  ok,        // a number that fits in 32 bits
  missing,   // no digit after the optional sign (or no token at all); the value is 0
  overflow,  // digits beyond the 32-bit range; the value is clamped to the nearest limit
};

// The number grammar of codes and counts, fed one byte at a time: an optional '+' or '-' first,
// then decimal digits. Any run of digits is safe: the magnitude saturates just past the largest
// one that fits, so that a longer run still reads as out of range.
class NumberScan {
 public:
  // Takes `c` when it continues the number; false, taking nothing, when the number ends before it.
  bool take(char c) {
    if (c >= '0' && c <= '9') {
      if (magnitude_ <= kLimit) magnitude_ = magnitude_ * 10 + static_cast<unsigned>(c - '0');
      digits_ = true;
    } else if ((c == '+' || c == '-') && !signed_ && !digits_) {
      negative_ = c == '-';
      signed_ = true;
    } else {
      return false;
    }
    return true;
  }
  // The number taken so far: ok with its value, missing (value 0) without a digit, or overflow
  // with the nearest limit.
  NumberStatus result(std::int32_t& value) const;

 private:
  static constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;  // the largest magnitude, -2^31
  std::uint64_t magnitude_ = 0;
  bool negative_ = false;
  bool signed_ = false;
  bool digits_ = false;
};

// Reads, from `text[pos]` on, the longest prefix that NumberScan takes. On success and on
// overflow `pos` moves past the digits; otherwise it stays.
NumberStatus readNumber(std::string_view text, std::size_t& pos, std::int32_t& value);

// Splits a register station line into its code, which it returns, and its normalised name,
// which `name` views: in `line` or in `scratch`, as joinTokens() tells. A line whose first
// token does not begin with a number gives code 0 and the empty name; an out-of-range code is
// clamped and gives the empty name.
std::int32_t parseStationLine(std::string_view line, std::string& scratch, std::string_view& name);

// Turns one update line into a name, which `name` views as above. Returns false, leaving
// `name` unspecified, for a raw line shorter than two bytes, which the formats skip unread.
bool parseUpdateLine(std::string_view line, std::string& scratch, std::string_view& name);

// The register's count line as read: its count, or why there is none.
struct CountLine {
  std::int32_t count = 0;  // the count; 0 when it is no number, the nearest limit when too large
  // True when the count is not a number or lies outside 32 bits, and for a file with no token
  // at all. Nothing more is read from such a file.
  bool failed = false;
};

}  // namespace stationtext
