// Reading input files: opening one, and splitting it into lines or words.
#include "line_reader.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace stationtext {

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

template <typename FindEnd>
bool LineReader::nextPiece(std::string_view& piece, FindEnd findEnd, std::size_t endLength) {
  for (;;) {
    const char* const base = buffer_.get();
    const char* const end = findEnd(base + begin_ + scanned_, base + end_);
    if (end != base + end_) {
      const std::size_t at = static_cast<std::size_t>(end - base);
      piece = std::string_view(base + begin_, at - begin_);
      begin_ = at + endLength;
      scanned_ = 0;
      return true;
    }
    scanned_ = end_ - begin_;
    if (!refill()) break;
  }
  if (error_ != 0 || begin_ == end_) return false;
  // The last piece of a file that does not end with what ends a piece.
  piece = std::string_view(buffer_.get() + begin_, end_ - begin_);
  begin_ = end_;
  scanned_ = 0;
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
    scanned_ = 0;
    if (begin_ < end_ || !refill()) return;
  }
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
    scanned_ = 0;
    return true;
  }
  skipBlanks();
  return nextPiece(word, findBlankByte, 0);  // the blank is skipped with the next word's
}

CountLine readCountLine(LineReader& reader) {
  reader.skipBlanks();
  std::string_view line;
  if (reader.next(line)) return parseCountLine(line);
  return {0, true};  // no token at all: the count is never read
}

}  // namespace stationtext
