// Reading the station formats from a file.
#include "station_file.hpp"

#include <algorithm>

#include "text_format.hpp"

namespace stationtext {

StationFile::StationFile(const char* path) : path_(path), in_(InputFile::open(path)) {
  if (in_) lines_.emplace(in_.file.get());
}

std::size_t StationFile::readCount() {
  if (!lines_) return 0;
  const CountLine count = readCountLine(*lines_);
  countFailed_ = count.failed;
  stationsLeft_ = count.failed ? 0 : std::max(count.count, 0);
  if (!in_.regular) return 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(stationsLeft_),
                                                          in_.size / kShortestLine + 1));
}

bool StationFile::nextStation(std::int32_t& code, std::string_view& name) {
  std::string_view line;
  if (stationsLeft_ == 0 || !lines_->next(line)) return false;
  --stationsLeft_;
  code = parseStationLine(line, scratch_, name);
  return true;
}

bool StationFile::nextUpdate(std::string_view& name) {
  if (!lines_ || countFailed_) return false;
  std::string_view line;
  while (lines_->next(line)) {
    if (parseUpdateLine(line, scratch_, name)) return true;
  }
  return false;
}

ReadOutcome StationFile::outcome() const {
  if (!lines_) return {ReadOutcome::notOpened, path_, in_.error};
  return lines_->outcome(path_);
}

}  // namespace stationtext
