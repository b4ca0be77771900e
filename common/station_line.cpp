// Readers for the station text formats: line splitting, the register's count line,
// station lines and update lines.
#include "station_line.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>

namespace stationtext {

namespace {

// True when a byte of the trimmed text at `q` keeps it joined: any byte but a blank, or a
// single space followed by a token byte. The byte after a blank always exists, since the
// trimmed text ends with a token.
bool keepsJoined(const char* q) {
  const auto c = static_cast<unsigned char>(*q);
  return !isBlank(c) || (c == ' ' && !isBlank(static_cast<unsigned char>(q[1])));
}

// True when the trimmed text [p, end) is already its tokens joined by single spaces.
// Flags, in the top bit of each byte, the bytes of the eight at `p` that are below 0x21 (with
// at most some false flags above a real one); all blanks are below 0x21. Byte i of the eight
// is flagged in bits 8i to 8i + 7.
std::uint64_t lowBytes(const char* p) {
  constexpr std::uint64_t ones = 0x0101010101010101u;
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return (word - ones * 0x21) & ~word & ones * 0x80;
}

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

NumberStatus readNumber(std::string_view text, std::size_t& pos, std::int32_t& value) {
  std::size_t i = pos;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The magnitude saturates just past the largest one that fits, so any run of digits is safe.
  constexpr std::uint64_t limit = std::uint64_t{1} << 31;
  std::uint64_t magnitude = 0;
  const std::size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (magnitude <= limit) magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    ++i;
  }
  if (i == digits) {
    value = 0;
    return NumberStatus::missing;
  }
  pos = i;
  if (negative) {
    if (magnitude > limit) {
      value = std::numeric_limits<std::int32_t>::min();
      return NumberStatus::overflow;
    }
    value = static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    return NumberStatus::ok;
  }
  if (magnitude >= limit) {
    value = std::numeric_limits<std::int32_t>::max();
    return NumberStatus::overflow;
  }
  value = static_cast<std::int32_t>(magnitude);
  return NumberStatus::ok;
}

namespace {

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && isBlank(static_cast<unsigned char>(text[pos])))
    ++pos;
  return pos;
}

}  // namespace

std::int32_t parseStationLine(std::string_view line, std::string& scratch, std::string_view& name) {
  std::int32_t code = 0;
  std::size_t pos = skipBlanks(line, 0);
  name = readNumber(line, pos, code) == NumberStatus::ok ? joinTokens(line.substr(pos), scratch)
                                                         : std::string_view();
  return code;
}

StationFields parseStationLine(std::string_view line) {
  StationFields fields;
  std::string_view name;
  fields.code = parseStationLine(line, fields.name, name);
  if (name.data() != fields.name.data()) fields.name.assign(name);  // it viewed `line`
  return fields;
}

bool parseUpdateLine(std::string_view line, std::string& scratch, std::string_view& name) {
  if (line.size() < 2) return false;
  name = joinTokens(line, scratch);
  return true;
}

InputFile InputFile::open(const char* path) {
  InputFile in;
  FilePtr file(std::fopen(path, "rb"));
  if (!file) {
    in.error = errno;
    return in;
  }
  struct stat info {};
  if (fstat(fileno(file.get()), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      in.error = EISDIR;
      return in;
    }
    in.regular = S_ISREG(info.st_mode);
    if (in.regular) in.size = static_cast<std::uint64_t>(info.st_size);
  }
  // The reader does its own block buffering; a second buffer in stdio would only copy.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  in.file = std::move(file);
  return in;
}

LineReader::LineReader(std::FILE* file, std::size_t blocksize)
    : file_(file), blocksize_(std::max<std::size_t>(blocksize, 16)) {}

bool LineReader::refill() {
  if (eof_) return false;
  if (begin_ > 0) {
    // Keep the unfinished line and drop what was handed out already.
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (capacity_ - end_ < blocksize_ / 2) {
    // A line longer than the free room: grow by half again, so that a long line costs
    // amortised linear time and at most about one and a half times its length.
    const std::size_t capacity = std::max(capacity_ + capacity_ / 2, end_ + blocksize_);
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (end_ > 0) std::memcpy(larger.get(), buffer_.get(), end_);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  }
  errno = 0;
  const std::size_t got = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
  end_ += got;
  if (got == 0) {
    eof_ = true;
    if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

bool LineReader::next(std::string_view& line) {
  for (;;) {
    const char* const base = buffer_.get();
    const std::size_t from = begin_ + scanned_;
    const void* nl = end_ > from ? std::memchr(base + from, '\n', end_ - from) : nullptr;
    if (nl != nullptr) {
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nl) - base);
      line = std::string_view(base + begin_, at - begin_);
      begin_ = at + 1;
      scanned_ = 0;
      return true;
    }
    scanned_ = end_ - begin_;
    if (!refill()) break;
  }
  if (error_ != 0 || begin_ == end_) return false;
  // The last line of a file that does not end with a newline.
  line = std::string_view(buffer_.get() + begin_, end_ - begin_);
  begin_ = end_;
  scanned_ = 0;
  return true;
}

CountLine readCountLine(LineReader& reader) {
  CountLine result;
  std::string_view line;
  while (reader.next(line)) {
    std::size_t pos = skipBlanks(line, 0);
    if (pos == line.size()) continue;  // blank lines before the count are skipped
    const NumberStatus status = readNumber(line, pos, result.count);
    result.failed = status != NumberStatus::ok;
    return result;
  }
  result.failed = true;  // no token at all: the count is never read
  return result;
}

}  // namespace stationtext
