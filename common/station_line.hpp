// Readers for the station text formats: line splitting, the register's count line,
// station lines and update lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stationtext {

// The six whitespace bytes of the formats: space, tab, newline, vertical tab, form feed and
// carriage return. Every other byte, NUL and bytes above 0x7f included, belongs to a token.
constexpr bool isBlank(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The tokens of `text` joined by single spaces. When `text` already is that, apart from blanks
// at its ends (the common case), the result views `text` itself and nothing is copied;
// otherwise the tokens are joined in `scratch`, which the result then views.
std::string_view joinTokens(std::string_view text, std::string& scratch);

// Outcome of reading a signed decimal number at the start of a token.
enum class NumberStatus {
  ok,        // a number that fits in 32 bits
  missing,   // no digit after the optional sign (or no token at all); the value is 0
  overflow,  // digits beyond the 32-bit range; the value is clamped to the nearest limit
};

// Reads, from `text[pos]` on, the longest prefix that forms an optional '+' or '-' followed by
// decimal digits. On success and on overflow `pos` moves past the digits; otherwise it stays.
NumberStatus readNumber(std::string_view text, std::size_t& pos, std::int32_t& value);

struct StationFields {
  std::int32_t code = 0;
  std::string name;
};

// Splits a register station line into its code, which it returns, and its normalised name,
// which `name` views: in `line` or in `scratch`, as joinTokens() tells. A line whose first
// token does not begin with a number gives code 0 and the empty name; an out-of-range code is
// clamped and gives the empty name.
std::int32_t parseStationLine(std::string_view line, std::string& scratch, std::string_view& name);
StationFields parseStationLine(std::string_view line);

// Turns one update line into a name, which `name` views as above. Returns false, leaving
// `name` unspecified, for a raw line shorter than two bytes, which the formats skip unread.
bool parseUpdateLine(std::string_view line, std::string& scratch, std::string_view& name);

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// An input file opened for reading. A directory counts as a file that cannot be opened:
// reading one would only fail later and look like an empty file.
struct InputFile {
  FilePtr file;
  bool regular = false;    // a regular file, whose size below is meaningful
  std::uint64_t size = 0;  // bytes, for sizing containers; 0 when not regular
  int error = 0;           // errno of a failed open (EISDIR for a directory)

  static InputFile open(const char* path);
  explicit operator bool() const { return file != nullptr; }
};

// Splits a file into lines at the newline byte, reading it in large blocks. A carriage return
// before the newline stays in the line. The last line need not end with a newline; a file that
// ends with one has no empty line after it. Memory is one block plus the longest line.
class LineReader {
 public:
  explicit LineReader(std::FILE* file, std::size_t blocksize = std::size_t{1} << 20);

  // Sets `line` to the next line, valid until the following call. Returns false at the end of
  // the file and after a read error (see error()).
  bool next(std::string_view& line);

  // errno of the read error that ended the file early, or 0.
  int error() const { return error_; }

 private:
  bool refill();

  std::FILE* file_;
  std::size_t blocksize_;
  std::unique_ptr<char[]> buffer_;  // not zeroed: only bytes read are ever looked at
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;    // first byte not yet handed out
  std::size_t scanned_ = 0;  // bytes from begin_ known to hold no newline
  std::size_t end_ = 0;      // end of the bytes read so far
  bool eof_ = false;
  int error_ = 0;
};

struct CountLine {
  std::int32_t count = 0;
  // True when the count is not a number or lies outside 32 bits, and for a file with no token
  // at all. Nothing more is read from such a file.
  bool failed = false;
};

// Reads the register's count line: skips whitespace, blank lines included, reads the number at
// the start of the first token and discards the rest of that line.
CountLine readCountLine(LineReader& reader);

}  // namespace stationtext
