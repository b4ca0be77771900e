// Reading input files: opening one, and splitting it into lines or words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "text_format.hpp"

namespace stationtext {

// How reading an input file ended, for the program to report: a file that cannot be opened
// means different things to different callers, and a read error is always a failure.
struct ReadOutcome {
  enum Kind : std::uint8_t { complete, notOpened, readFailed };
  Kind kind = complete;
  const char* path = nullptr;  // the file, unless complete
  int error = 0;               // errno of the failed open or read
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// An input file opened for reading, as bytes. A directory counts as a file that cannot be
// opened (EISDIR): reading one would only fail later and look like an empty file.
struct InputFile {
  FilePtr file;
  bool regular = false;    // a regular file, whose size below is meaningful
  std::uint64_t size = 0;  // bytes, for sizing containers; 0 when not regular
  int error = 0;           // errno when the file could not be opened

  static InputFile open(const char* path);
  explicit operator bool() const { return file != nullptr; }
};

// Splits a file into lines at the newline byte, or into words, reading it in large blocks. A
// carriage return before the newline stays in the line. The last line need not end with a
// newline; a file that ends with one has no empty line after it. Memory is one block plus the
// longest line or word handed out.
class LineReader {
 public:
  // Large enough that reads cost little per line, small enough to stay out of the way.
  static constexpr std::size_t kBlock = std::size_t{1} << 20;

  explicit LineReader(std::FILE* file, std::size_t blocksize = kBlock);

  // Sets `line` to the next line, valid until the following call. Returns false at the end of
  // the file and after a read error (see error()).
  bool next(std::string_view& line);

  // Moves past blanks, line ends included, to the next token byte or the end of the file.
  void skipBlanks();

  // Sets `word` to the next token, across line ends, valid until the following call. Returns
  // false at the end of the file and after a read error.
  bool nextWord(std::string_view& word);

  // errno of the read error that ended the file early, or 0.
  int error() const { return error_; }

  // How reading `path` through this reader ended, once next() has returned false.
  ReadOutcome outcome(const char* path) const {
    return error_ != 0 ? ReadOutcome{ReadOutcome::readFailed, path, error_} : ReadOutcome{};
  }

 private:
  bool refill();
  // Sets `piece` to the bytes up to the first place that findEnd(from, to) finds in [from, to)
  // (it returns `to` when there is none), and moves past them and `endLength` bytes more; at
  // the end of the file, to the bytes left, if any.
  template <typename FindEnd>
  bool nextPiece(std::string_view& piece, FindEnd findEnd, std::size_t endLength);

  std::FILE* file_;
  std::size_t blocksize_;
  std::unique_ptr<char[]> buffer_;  // not zeroed: only bytes read are ever looked at
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;    // first byte not yet handed out
  std::size_t scanned_ = 0;  // bytes from begin_ known to hold no end of the piece sought
  std::size_t end_ = 0;      // end of the bytes read so far
  bool eof_ = false;
  int error_ = 0;
};

// Reads the register's count line: skips blanks, blank lines included, reads the number at the
// start of the first token and discards the rest of that line.
CountLine readCountLine(LineReader& reader);

}  // namespace stationtext
