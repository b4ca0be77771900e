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
  stationsLeft_ = count.failed ? 0 : std::max(count.count, 0);
  if (!in_.regular) return 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(stationsLeft_),
                                                          in_.size / kShortestLine + 1));
}

ReadOutcome StationFile::outcome() const {
  if (!lines_) return {ReadOutcome::notOpened, path_, in_.error};
  return lines_->outcome(path_);
}

}  // namespace stationtext
