// Reading the station formats from a file.
#include "station_file.hpp"

#include <algorithm>

namespace stationtext {

StationFile::StationFile(const char* path) : path_(path), in_(InputFile::open(path)) {
  if (in_) lines_.emplace(in_.file.get());
}

std::size_t StationFile::readCount() {
  if (!lines_) return 0;
  const CountLine count = readCountLine(*lines_);
  countFailed_ = count.failed;
  stationsLeft_ = count.failed ? 0 : static_cast<std::size_t>(std::max(count.count, 0));
  return stationsLeft_;
}

ReadOutcome StationFile::outcome() const {
  if (!lines_) return in_.outcome(path_);
  return lines_->outcome(path_);
}

RegisterRead StationFile::registerRead(bool lookAfter) {
  const bool linesAfter = lookAfter && linesFollow();  // may read, and so fail
  return {outcome(), announced(), stationsRead_, linesAfter};
}

}  // namespace stationtext
