// Reading input files: opening one, and splitting it into lines or words.
#include "line_reader.hpp"

#include <sys/stat.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

namespace stationtext {

namespace {

// How many pairs of bytes at the start of a text tell whether it is UTF-16: a line or two.
constexpr std::size_t kSamplePairs = 64;

// Reads what the system has at hand of `file`, up to `size` bytes, into `to`: a pipe or a
// terminal may give fewer, which is not the end. Returns the bytes read, 0 at the end of the
// file, or -1 with errno set.
long readSome(std::FILE* file, char* to, std::size_t size) {
  for (;;) {
#ifdef _WIN32
    const long got =
        _read(_fileno(file), to, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
#else
    const long got =
        static_cast<long>(read(fileno(file), to, std::min<std::size_t>(size, LONG_MAX)));
#endif
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace

TextStart textStart(std::string_view text) {
  using namespace std::literals;
  if (text.starts_with("\xef\xbb\xbf"sv)) return TextStart::byteOrderMark;
  if (text.starts_with("\xff\xfe"sv) || text.starts_with("\xfe\xff"sv)) text.remove_prefix(2);
  // Pairs with a NUL byte on the second side (little-endian) or on the first (big-endian) only.
  std::size_t pairs = 0, little = 0, big = 0;
  for (; pairs < kSamplePairs && 2 * pairs + 1 < text.size(); ++pairs) {
    const bool first = text[2 * pairs] == '\0', second = text[2 * pairs + 1] == '\0';
    little += !first && second;
    big += first && !second;
  }
  const std::size_t shaped = std::max(little, big);
  return shaped >= 2 && 2 * shaped > pairs ? TextStart::utf16 : TextStart::plain;
}

InputFile InputFile::open(const char* path) {
  InputFile in;
  errno = 0;
  const bool standardInput = std::string_view(path) == "-";
#ifdef _WIN32
  // Standard input's bytes as they are, as a file opened with "rb" gives them.
  if (standardInput) _setmode(_fileno(stdin), _O_BINARY);
#endif
  FilePtr file(standardInput ? stdin : std::fopen(path, "rb"));
  struct stat info {};
  if (!file) {
    in.error = errno != 0 ? errno : ENOENT;
    // A stream that finds no room is running out of memory, not a file that cannot be opened.
    if (in.error == ENOMEM) throw std::bad_alloc();
    // Windows refuses to open a directory with "Permission denied": say what it is instead.
    if (stat(path, &info) == 0 && S_ISDIR(info.st_mode)) in.error = EISDIR;
#ifndef _WIN32
    // A missing file that is a link to nothing was meant to be there.
    in.brokenLink = in.error == ENOENT && lstat(path, &info) == 0 && S_ISLNK(info.st_mode);
#endif
    return in;
  }
  // A closed standard input cannot be opened, whose cause fstat() gives.
  const int described = fstat(fileno(file.get()), &info);
  if (described != 0 || S_ISDIR(info.st_mode)) {
    in.error = described != 0 ? errno : EISDIR;
    return in;
  }
  // The reader does its own block buffering; a second buffer in stdio would only copy.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  in.file = std::move(file);
  return in;
}

LineReader::LineReader(std::FILE* file, std::size_t blocksize)
    : file_(file), blocksize_(std::max<std::size_t>(blocksize, 16)) {
  struct stat info {};
  regular_ = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

bool LineReader::refill() {
  if (eof_) return false;
  if (begin_ > 0) {
    // Keep the unfinished piece and drop what was handed out already.
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // A piece longer than the free room grows the buffer by the growth rule: a long piece costs
  // amortised linear time, and the block is remapped rather than copied, so growing never holds
  // the piece twice.
  if (buffer_.capacity() - end_ < blocksize_ / 2) buffer_.reserve(end_ + blocksize_);
  // At most a block at a time: what a long piece is given room for is read only as it comes.
  const long got =
      readSome(file_, buffer_.data() + end_, std::min(buffer_.capacity() - end_, blocksize_));
  if (got <= 0) {
    eof_ = true;
    if (got < 0) error_ = errno != 0 ? errno : EIO;
    return false;
  }
  if (!started_) {
    started_ = true;
    start_ = textStart(std::string_view(buffer_.data() + end_, static_cast<std::size_t>(got)));
  }
  end_ += static_cast<std::size_t>(got);
  return true;
}

template <typename FindEnd>
bool LineReader::nextPiece(std::string_view& piece, FindEnd findEnd, std::size_t endLength) {
  std::size_t scanned = 0;  // bytes from begin_ known to hold no end of the piece
  for (;;) {
    const char* const base = buffer_.data();
    const char* const end = findEnd(base + begin_ + scanned, base + end_);
    if (end != base + end_) {
      const std::size_t at = static_cast<std::size_t>(end - base);
      piece = std::string_view(base + begin_, at - begin_);
      begin_ = at + endLength;
      return true;
    }
    scanned = end_ - begin_;
    if (!refill()) break;
  }
  if (error_ != 0 || begin_ == end_) return false;
  // The last piece of a file that does not end with what ends a piece.
  piece = std::string_view(buffer_.data() + begin_, end_ - begin_);
  begin_ = end_;
  return true;
}

bool LineReader::next(std::string_view& line) {
  const auto newline = [](const char* from, const char* to) {
    const void* const at =
        from != to ? std::memchr(from, '\n', static_cast<std::size_t>(to - from)) : nullptr;
    return at != nullptr ? static_cast<const char*>(at) : to;
  };
  return nextPiece(line, newline, 1);  // the newline is no part of the line or the next
}

void LineReader::skipBlanks() {
  for (;;) {
    const char* const base = buffer_.data();
    const char* const token = skipBlankBytes(base + begin_, base + end_);
    begin_ = static_cast<std::size_t>(token - base);
    if (begin_ < end_ || !refill()) return;
  }
}

void LineReader::skipLine() {
  for (;;) {
    const std::size_t left = end_ - begin_;
    const void* const newline =
        left != 0 ? std::memchr(buffer_.data() + begin_, '\n', left) : nullptr;
    if (newline != nullptr) {
      begin_ = static_cast<std::size_t>(static_cast<const char*>(newline) - buffer_.data()) + 1;
      return;
    }
    begin_ = end_;
    if (!refill()) return;
  }
}

bool LineReader::tokenFollows() {
  for (;;) {
    const char* const base = buffer_.data();
    begin_ = static_cast<std::size_t>(skipBlankBytes(base + begin_, base + end_) - base);
    if (begin_ < end_) return true;
    if (!regular_ || !refill()) return false;
  }
}

LineReader::Kept LineReader::handOver(std::string_view piece) {
  // The bytes after the piece go to a new block; they are less than a block, as the piece
  // ended in the last block read.
  const std::size_t at = static_cast<std::size_t>(piece.data() - buffer_.data());
  const std::size_t after = at + piece.size();
  const std::size_t rest = end_ - std::max(begin_, after);
  ByteBlock given;
  given.setCapacity(std::max(blocksize_, rest));
  if (rest != 0) std::memcpy(given.data(), buffer_.data() + end_ - rest, rest);
  std::swap(given, buffer_);
  begin_ = 0;
  end_ = rest;
  given.setCapacity(after);  // the room that was never read into goes back; the block may move
  const std::string_view kept(given.data() + at, piece.size());
  return {std::move(given), kept};
}

bool LineReader::nextWord(std::string_view& word) {
  skipBlanks();
  return nextPiece(word, findBlankByte, 0);  // the blank is skipped with the next word's
}

CountLine readCountLine(LineReader& reader) {
  reader.skipBlanks();
  NumberScan scan;
  for (int c = reader.peek(); c >= 0 && scan.take(static_cast<char>(c)); c = reader.peek())
    reader.skip();
  CountLine count;
  count.failed = scan.result(count.count) != NumberStatus::ok;
  if (!count.failed) reader.skipLine();
  return count;
}

}  // namespace stationtext
