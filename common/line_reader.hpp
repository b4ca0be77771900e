// Reading input files: opening one, and splitting it into lines or words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "big_memory.hpp"
#include "text_format.hpp"

namespace stationtext {

// How a text file begins, when that is likely to surprise its reader: a UTF-8 byte-order mark,
// which is part of the first word; or what looks like UTF-16, whose names hold NUL bytes.
enum class TextStart : std::uint8_t { plain, byteOrderMark, utf16 };

// How `text`, the start of a file, begins. It looks like UTF-16 when, after an optional UTF-16
// byte-order mark, most of its first pairs of bytes hold one NUL byte, always on the same side:
// the shape of mostly Latin text in UTF-16. A NUL byte here and there is a name's own byte.
TextStart textStart(std::string_view text);

// How reading an input file ended, for the program to report: a file that cannot be opened
// means different things to different callers, and a read error is always a failure.
struct ReadOutcome {
  enum Kind : std::uint8_t { complete, notOpened, readFailed };
  Kind kind = complete;
  const char* path = nullptr;  // the file
  int error = 0;               // errno of the failed open or read
  TextStart start = TextStart::plain;
  bool brokenLink = false;  // not opened because the path is a symbolic link to nothing
};

// Closes a file opened by name; standard input stays open.
struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != stdin) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// An input file opened for reading, as bytes; the path "-" is standard input. A directory
// counts as a file that cannot be opened (EISDIR): reading one would only fail later and look
// like an empty file.
struct InputFile {
  FilePtr file;
  int error = 0;            // errno when the file could not be opened
  bool brokenLink = false;  // ENOENT, because the path is a symbolic link to nothing

  static InputFile open(const char* path);
  explicit operator bool() const { return file != nullptr; }
  // Why `path`, this file, could not be opened.
  ReadOutcome outcome(const char* path) const {
    return {ReadOutcome::notOpened, path, error, TextStart::plain, brokenLink};
  }
};

// Splits a file into lines at the newline byte, or into words, reading it in large blocks. A
// carriage return before the newline stays in the line. The last line need not end with a
// newline; a file that ends with one has no empty line after it. Memory is one block plus the
// longest line or word handed out: the file is read a block at a time, however long a line.
// Each read takes what the system has at hand, up to a block: from a pipe or a terminal, a line
// is handed out as soon as it has arrived, never after waiting for a block to fill.
class LineReader {
 public:
  // Large enough that reads cost little per line, small enough to stay out of the way.
  static constexpr std::size_t kBlock = std::size_t{1} << 20;

  explicit LineReader(std::FILE* file, std::size_t blocksize = kBlock);

  // Sets `line` to the next line, valid until the following call. Returns false at the end of
  // the file and after a read error (see outcome()).
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

  // True when a token byte follows, past blanks and line ends, which are moved past. Reads on
  // only from a regular file, where reading never waits; from a pipe or a terminal, only the
  // bytes that have arrived are looked at.
  bool tokenFollows();

  // A block and the piece it holds.
  struct Kept {
    ByteBlock block;
    std::string_view piece;
  };
  // Hands over the block that holds `piece`, the line or word handed out last, so that the
  // caller can keep a long piece without copying it. The block is first shrunk to the piece's
  // end, which may move it: the view of the piece in the returned block replaces `piece`, which
  // must no longer be used. The reader goes on in a new block with the bytes after the piece.
  Kept handOver(std::string_view piece);
  // True when `text` lies in the reader's block: a piece it handed out.
  bool holds(std::string_view text) const {
    return text.data() >= buffer_.data() && text.data() + text.size() <= buffer_.data() + end_;
  }

  // How reading `path` through this reader ended, once next() has returned false.
  ReadOutcome outcome(const char* path) const {
    return {error_ != 0 ? ReadOutcome::readFailed : ReadOutcome::complete, path, error_, start_};
  }

 private:
  // Reads what the system has at hand into the buffer, after the unfinished piece; false at the
  // end of the file and after a read error.
  bool refill();
  // Sets `piece` to the bytes up to the first place that findEnd(from, to) finds in [from, to)
  // (it returns `to` when there is none), and moves past them and `endLength` bytes more; at
  // the end of the file, to the bytes left, if any.
  template <typename FindEnd>
  bool nextPiece(std::string_view& piece, FindEnd findEnd, std::size_t endLength);

  std::FILE* file_;
  std::size_t blocksize_;
  ByteBlock buffer_;       // its capacity is the room; not zeroed: only bytes read are looked at
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // end of the bytes read so far
  bool eof_ = false;
  bool regular_;          // a regular file, which can be read on without waiting
  bool started_ = false;  // the first block has been read, and start_ tells how it begins
  TextStart start_ = TextStart::plain;
  int error_ = 0;
};

// Reads the register's count line: skips blanks, blank lines included, and reads the number at
// the start of the first token as a stream reads a number, holding none of it.
// When there is one, the rest of its line is skipped; otherwise nothing more is read, since the
// register ends there.
CountLine readCountLine(LineReader& reader);

}  // namespace stationtext
