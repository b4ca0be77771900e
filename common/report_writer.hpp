// The one place that writes report lines: buffering, the flush policy and write errors.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace stationtext {

// Collects report text for one output stream. Lines reach a terminal as they are written, so
// a person sees them at once; any other destination gets the text in large blocks. The first
// failed write is remembered and everything after it is dropped, so that finish() can report
// the run as incomplete instead of claiming success.
class ReportWriter {
 public:
  // `program` is the fixed name that prefixes messages on standard error.
  ReportWriter(std::FILE* out, std::string program);
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  ReportWriter& put(std::string_view text);
  ReportWriter& put(std::int64_t number);
  ReportWriter& put(std::uint64_t number);
  ReportWriter& put(std::int32_t number) { return put(static_cast<std::int64_t>(number)); }
  // Ends a line: a newline, and on a terminal a flush.
  void endLine();

  // Hands the buffered text to the stream and flushes it. False once any write has failed.
  bool flush();

  // Flushes, and turns the outcome into the exit status: 0 when every byte was written;
  // otherwise 1, after "<program>: write error: <cause>" on standard error.
  int finish();

  // Reports a failed read of `path` on standard error and ends the process with status 1,
  // after writing out what the report holds so far.
  [[noreturn]] void failRead(const char* path, int error);

  // Writes "File open error" and ends the process with status 1.
  [[noreturn]] void failOpen();

 private:
  std::FILE* out_;
  std::string program_;
  std::string buffer_;
  bool lineMode_;
  int error_ = 0;
};

}  // namespace stationtext
