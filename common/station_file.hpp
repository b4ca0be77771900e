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

// One input file read as a register (its count line, then its station lines), as an update
// list, or as a register followed by update lines. Views it hands out are valid until the next
// call.
class StationFile {
 public:
  // Opens `path`, which must outlive the reader; nothing is read yet.
  explicit StationFile(const char* path);

  bool opened() const { return lines_.has_value(); }

  // Reads the register's count line, which must come first, and returns the count: how many
  // station lines follow (0 when the count is not a number). A count may promise far more lines
  // than the file holds, so it only ever caps what is made room for.
  std::size_t readCount();

  // The next station line, while fewer than the count have been read and the file goes on.
  bool nextStation(std::int32_t& code, std::string_view& name) {
    std::string_view line;
    if (stationsLeft_ == 0 || !lines_->next(line)) return false;
    --stationsLeft_;
    code = parseStationLine(line, scratch_, name);
    return true;
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

 private:
  const char* path_;
  InputFile in_;
  std::optional<LineReader> lines_;  // when opened
  std::string scratch_;              // where a name is joined when the line does not hold it
  std::int32_t stationsLeft_ = 0;
  bool countFailed_ = false;
};

}  // namespace stationtext
