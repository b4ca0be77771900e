// The one place that writes report lines and messages: buffering, the flush policy, write
// errors, and the warnings and errors on standard error.
#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace stationtext {

// Collects report text for one output stream. Lines reach a terminal as they are written, so
// a person sees them at once; any other destination gets the text in large blocks. The first
// failed write is remembered and everything after it is dropped, so that finish() can report
// the run as incomplete instead of claiming success. Making one allocates nothing, and neither
// does a message: a run that has run out of memory can still say so.
class ReportWriter {
 public:
  // Text is handed to the stream in blocks of this size: a few system calls per megabyte.
  static constexpr std::size_t kBlock = std::size_t{1} << 16;

  // `program`, a name that outlives the writer, prefixes messages on standard error.
  ReportWriter(std::FILE* out, const char* program);
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // The name that prefixes messages on standard error.
  const char* program() const { return program_; }

  ReportWriter& put(std::string_view text);
  // Any integer, in decimal; a character or a truth value is not a number here.
  template <std::integral Number>
  requires(!std::same_as<Number, bool> &&
           !std::same_as<Number, char>) ReportWriter& put(Number number) {
    if (error_ == 0) {
      char digits[24];  // a sign and the 20 digits of the largest 64-bit value
      const char* const end = std::to_chars(digits, digits + sizeof digits, number).ptr;
      makeRoom();
      buffer_.append(digits, static_cast<std::size_t>(end - digits));
    }
    return *this;
  }
  // Ends a line: a newline, and on a terminal a flush.
  void endLine();

  // Hands the buffered text to the stream and flushes it, unless a write has failed already.
  void flush();

  // Ends the report: flushes it and closes the stream, whose close can still fail. Returns the
  // exit status: 0 when every byte was written; otherwise 1, after
  // "<program>: write error: <cause>" on standard error. Nothing is written after it.
  int finish();

  // Drops the text written since the last line end, if any, so that a report cut short ends
  // with a whole line.
  void dropUnfinishedLine();

  // Writes "<program>: <what>: <path>: <cause>" on standard error, or without the path when it
  // is null, the cause joined from its pieces: the one form of every message.
  void say(const char* what, const char* path, std::initializer_list<std::string_view> cause) const;
  // Says a warning, which changes neither the report nor the exit status, and counts it.
  void warn(const char* what, const char* path, std::initializer_list<std::string_view> cause);
  // How many warnings were said.
  unsigned warnings() const { return warnings_; }

  // Writes "<program>: <what>: <path>: <cause of `error`>" on standard error, then ends the
  // report as finish() does, so that a write error it meets is said after its cause. Returns
  // the exit status, 1.
  int fail(const char* what, const char* path, int error);

  // Names the file that the run reads or holds from now on, for the out-of-memory message.
  void reading(const char* path) { reading_ = path; }
  // Ends the report after its last whole line when memory has run out, and says so on standard
  // error: "<program>: out of memory: <file being read>: <cause>". Returns the exit status, 1.
  int outOfMemory();

 private:
  // Gives the buffer its block of room before the first text goes in: not when the writer is
  // made, so that making one cannot run out of memory.
  void makeRoom() {
    if (buffer_.capacity() < kBlock) buffer_.reserve(kBlock);
  }

  std::FILE* out_;
  const char* program_;
  std::string buffer_;
  const char* reading_ = nullptr;
  bool lineMode_;
  bool wrote_ = false;  // any text was handed to the stream
  int error_ = 0;
  unsigned warnings_ = 0;
};

}  // namespace stationtext
