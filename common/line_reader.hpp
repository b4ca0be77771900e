// Reading input files: opening one, and splitting it into lines or words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "big_vector.hpp"
#include "text_format.hpp"

namespace stationtext {

// How a text file begins, when that is likely to surprise its reader: a UTF-8 byte-order mark,
// which is part of the first word; or what looks like UTF-16 (its byte-order mark, or NUL bytes
// in the first line), whose names hold NUL bytes.
enum class TextStart : std::uint8_t { plain, byteOrderMark, utf16 };

// How `text`, the start of a file, begins; NUL bytes are looked for up to its first newline.
TextStart textStart(std::string_view text);

// How reading an input file ended, for the program to report: a file that cannot be opened
// means different things to different callers, and a read error is always a failure.
struct ReadOutcome {
  enum Kind : std::uint8_t { complete, notOpened, readFailed };
  Kind kind = complete;
  const char* path = nullptr;  // the file
  int error = 0;               // errno of the failed open or read
  TextStart start = TextStart::plain;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// An input file opened for reading, as bytes. A directory counts as a file that cannot be
// opened (EISDIR): reading one would only fail later and look like an empty file.
struct InputFile {
  FilePtr file;
  int error = 0;  // errno when the file could not be opened

  static InputFile open(const char* path);
  explicit operator bool() const { return file != nullptr; }
};

// Splits a file into lines at the newline byte, or into words, reading it in large blocks. A
// carriage return before the newline stays in the line. The last line need not end with a
// newline; a file that ends with one has no empty line after it. Memory is one block plus the
// longest line or word handed out: the file is read a block at a time, however long a line.
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

  // The next byte, left unread, or -1 at the end of the file.
  int peek() {
    if (begin_ == end_ && !refill()) return -1;
    return static_cast<unsigned char>(buffer_[begin_]);
  }
  // Moves past the byte that peek() gave.
  void skip() { ++begin_; }
  // Moves past the rest of the line and its newline, holding no more than a block of it.
  void skipLine();

  // Sets `word` to the next token, across line ends, valid until the following call. Returns
  // false at the end of the file and after a read error.
  bool nextWord(std::string_view& word);

  // Hands over the block that holds `piece`, the line or word handed out last, so that the
  // caller can keep a long piece without copying it; `piece` stays valid for as long as the
  // caller keeps the block. The reader goes on in a new block with the bytes after the piece.
  ByteBlock handOver(std::string_view piece);
  // True when `text` lies in the reader's block: a piece it handed out.
  bool holds(std::string_view text) const {
    return text.data() >= buffer_.get() && text.data() + text.size() <= buffer_.get() + end_;
  }

  // errno of the read error that ended the file early, or 0.
  int error() const { return error_; }

  // How reading `path` through this reader ended, once next() has returned false.
  ReadOutcome outcome(const char* path) const {
    return {error_ != 0 ? ReadOutcome::readFailed : ReadOutcome::complete, path, error_, start_};
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
  ByteBlock buffer_;  // not zeroed: only bytes read are ever looked at
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // end of the bytes read so far
  bool eof_ = false;
  bool started_ = false;  // the first block has been read, and start_ tells how it begins
  TextStart start_ = TextStart::plain;
  int error_ = 0;
};

// Reads the register's count line: skips blanks, blank lines included, and reads the number at
// the start of the first token as a stream reads a number, holding no more than the number.
// When there is one, the rest of its line is skipped; otherwise nothing more is read, since the
// register ends there.
CountLine readCountLine(LineReader& reader);

}  // namespace stationtext
