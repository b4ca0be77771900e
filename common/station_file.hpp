// Reading the station formats from a file: a register's count line and station lines, and
// update lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "line_reader.hpp"
#include "text_format.hpp"

namespace stationtext {

// What reading a register came to: how reading ended, and what its count announced beside
// what the file held.
struct RegisterRead {
  ReadOutcome outcome;
  std::size_t announced = 0;  // the station lines the count announced
  std::size_t held = 0;       // the station lines read: fewer when the file ended first
  bool linesAfter = false;    // a line that is not blank follows the count's station lines
};

// One input file read as a register (its count line, then its station lines), as an update
// list, or as a register followed by update lines. Views it hands out are valid until the next
// call.
class StationFile {
 public:
  // Opens `path`, which must outlive the reader; nothing is read yet.
  explicit StationFile(const char* path);

  bool opened() const { return lines_.has_value(); }

  // Reads the register's count line, which must come first, and returns the count: how many
  // station lines follow (0 when the count is not a number, lies outside 32 bits or is
  // negative). A count may promise far more lines than the file holds, so it only ever caps
  // what is made room for.
  std::size_t readCount();

  // The next station line, while fewer than the count have been read and the file goes on.
  bool nextStation(std::int32_t& code, std::string_view& name) {
    std::string_view line;
    if (stationsLeft_ == 0) return false;
    if (!lines_->next(line)) {
      endedEarly_ = true;
      return false;
    }
    --stationsLeft_;
    ++stationsRead_;
    code = parseStationLine(line, scratch_, name);
    return true;
  }

  // The station lines the count announced, as readCount() returned it.
  std::size_t announced() const { return stationsRead_ + stationsLeft_; }
  // The station lines read so far.
  std::size_t stationsRead() const { return stationsRead_; }
  // True when the file ended before the count's station lines.
  bool endedEarly() const { return endedEarly_; }
  // True when, after all of the count's station lines, a line that is not blank follows. Reads
  // no further than its first byte, and from a pipe only what has arrived.
  bool linesFollow() {
    return lines_ && !countFailed_ && stationsLeft_ == 0 && !endedEarly_ && lines_->tokenFollows();
  }

  // The next update name, after the station lines if any: each line of two or more bytes; the
  // shorter ones are skipped. After a count line that is not a number, nothing more is read.
  bool nextUpdate(std::string_view& name) {
    if (!lines_ || countFailed_) return false;
    std::string_view line;
    while (lines_->next(line)) {
      if (parseUpdateLine(line, scratch_, name)) return true;
    }
    return false;
  }

  // How reading ended so far: notOpened with its cause, readFailed, or complete.
  ReadOutcome outcome() const;
  // How reading the register went, once its station lines are read; with `lookAfter`, whether
  // lines follow them, as linesFollow() tells.
  RegisterRead registerRead(bool lookAfter);

 private:
  const char* path_;
  InputFile in_;
  std::optional<LineReader> lines_;  // when opened
  std::string scratch_;              // where a name is joined when the line does not hold it
  std::size_t stationsLeft_ = 0;
  std::size_t stationsRead_ = 0;
  bool countFailed_ = false;
  bool endedEarly_ = false;
};

}  // namespace stationtext
