// Reading input files: opening one, and splitting it into lines or words.
#include "line_reader.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace stationtext {

TextStart textStart(std::string_view text) {
  using namespace std::literals;
  if (text.starts_with("\xef\xbb\xbf"sv)) return TextStart::byteOrderMark;
  if (text.starts_with("\xff\xfe"sv) || text.starts_with("\xfe\xff"sv)) return TextStart::utf16;
  return text.substr(0, text.find('\n')).find('\0') != std::string_view::npos ? TextStart::utf16
                                                                              : TextStart::plain;
}

InputFile InputFile::open(const char* path) {
  InputFile in;
  errno = 0;
  FilePtr file(std::fopen(path, "rb"));
  struct stat info {};
  if (!file) {
    in.error = errno != 0 ? errno : ENOENT;
    // Windows refuses to open a directory with "Permission denied": say what it is instead.
    if (stat(path, &info) == 0 && S_ISDIR(info.st_mode)) in.error = EISDIR;
    return in;
  }
  if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
    in.error = EISDIR;
    return in;
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
    // Keep the unfinished piece and drop what was handed out already.
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (capacity_ - end_ < blocksize_ / 2) {
    // A piece longer than the free room: grow by half again, so that a long piece costs
    // amortised linear time. A large block is remapped rather than copied, so growing never
    // holds the piece twice.
    const std::size_t capacity = std::max(capacity_ + capacity_ / 2, end_ + blocksize_);
    if (buffer_) {
      resizeBytes(buffer_, capacity);
    } else {
      buffer_ = allocateBytes(capacity);
    }
    capacity_ = capacity;
  }
  // At most a block at a time: what a long piece is given room for is read only as it comes.
  errno = 0;
  const std::size_t got =
      std::fread(buffer_.get() + end_, 1, std::min(capacity_ - end_, blocksize_), file_);
  if (!started_) {
    started_ = true;
    start_ = textStart(std::string_view(buffer_.get() + end_, got));
  }
  end_ += got;
  if (got == 0) {
    eof_ = true;
    if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

template <typename FindEnd>
bool LineReader::nextPiece(std::string_view& piece, FindEnd findEnd, std::size_t endLength) {
  std::size_t scanned = 0;  // bytes from begin_ known to hold no end of the piece
  for (;;) {
    const char* const base = buffer_.get();
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
  piece = std::string_view(buffer_.get() + begin_, end_ - begin_);
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
    const char* const base = buffer_.get();
    const char* const token = skipBlankBytes(base + begin_, base + end_);
    begin_ = static_cast<std::size_t>(token - base);
    if (begin_ < end_ || !refill()) return;
  }
}

void LineReader::skipLine() {
  for (;;) {
    const std::size_t left = end_ - begin_;
    const void* const newline =
        left != 0 ? std::memchr(buffer_.get() + begin_, '\n', left) : nullptr;
    if (newline != nullptr) {
      begin_ = static_cast<std::size_t>(static_cast<const char*>(newline) - buffer_.get()) + 1;
      return;
    }
    begin_ = end_;
    if (!refill()) return;
  }
}

ByteBlock LineReader::handOver(std::string_view piece) {
  // The bytes after the piece go to a new block; they are less than a block, as the piece
  // ended in the last block read.
  const std::size_t after = static_cast<std::size_t>(piece.data() + piece.size() - buffer_.get());
  const std::size_t rest = end_ - std::max(begin_, after);
  ByteBlock given = allocateBytes(std::max(blocksize_, rest));
  if (rest != 0) std::memcpy(given.get(), buffer_.get() + end_ - rest, rest);
  std::swap(given, buffer_);
  capacity_ = std::max(blocksize_, rest);
  resizeBytes(given, after);  // the room that was never read into goes back
  begin_ = 0;
  end_ = rest;
  return given;
}

bool LineReader::nextWord(std::string_view& word) {
  // Nearly every word lies in the buffer, after a few blanks.
  const char* const base = buffer_.get();
  const char* const end = base + end_;
  const char* const start = skipBlankBytes(base + begin_, end);
  const char* const stop = findBlankByte(start, end);
  if (stop != end) {
    word = std::string_view(start, static_cast<std::size_t>(stop - start));
    begin_ = static_cast<std::size_t>(stop - base);
    return true;
  }
  skipBlanks();
  return nextPiece(word, findBlankByte, 0);  // the blank is skipped with the next word's
}

CountLine readCountLine(LineReader& reader) {
  reader.skipBlanks();
  // The sign and the digits that decide the value: leading zeros change nothing, and a number of
  // kDigits significant digits or more is out of range whatever they are.
  constexpr std::size_t kDigits = 11;
  std::string number;
  int c = reader.peek();
  if (c == '+' || c == '-') {
    number.push_back(static_cast<char>(c));
    reader.skip();
    c = reader.peek();
  }
  bool digits = false;
  for (; c == '0'; c = reader.peek()) {
    digits = true;
    reader.skip();
  }
  std::size_t significant = 0;
  for (; c >= '0' && c <= '9'; c = reader.peek()) {
    if (significant++ < kDigits) number.push_back(static_cast<char>(c));
    reader.skip();
  }
  if (digits && significant == 0) number.push_back('0');
  const CountLine count = parseCountLine(number);
  if (!count.failed) reader.skipLine();
  return count;
}

}  // namespace stationtext
