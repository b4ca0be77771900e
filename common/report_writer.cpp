// The one place that writes report lines: buffering, the flush policy and write errors.
#include "report_writer.hpp"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace stationtext {

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

template <typename Number>
void appendNumber(std::string& buffer, Number number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  buffer.append(digits, result.ptr);
}

}  // namespace

ReportWriter::ReportWriter(std::FILE* out, std::string program)
    : out_(out), program_(std::move(program)), lineMode_(isatty(fileno(out)) == 1) {
  buffer_.reserve(kBlock);
}

ReportWriter& ReportWriter::put(std::string_view text) {
  if (error_ != 0) return *this;
  buffer_.append(text);
  return *this;
}

ReportWriter& ReportWriter::put(std::int64_t number) {
  if (error_ == 0) appendNumber(buffer_, number);
  return *this;
}

ReportWriter& ReportWriter::put(std::uint64_t number) {
  if (error_ == 0) appendNumber(buffer_, number);
  return *this;
}

void ReportWriter::endLine() {
  if (error_ != 0) return;
  buffer_.push_back('\n');
  if (lineMode_ || buffer_.size() >= kBlock) flush();
}

bool ReportWriter::flush() {
  if (error_ != 0) return false;
  if (!buffer_.empty()) {
    const std::size_t size = buffer_.size();
    errno = 0;
    const std::size_t written = std::fwrite(buffer_.data(), 1, size, out_);
    buffer_.clear();
    if (written != size) {
      error_ = errno != 0 ? errno : EIO;
      return false;
    }
  }
  errno = 0;
  if (std::fflush(out_) != 0) {
    error_ = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

int ReportWriter::finish() {
  if (flush()) return EXIT_SUCCESS;
  std::fprintf(stderr, "%s: write error: %s\n", program_.c_str(), std::strerror(error_));
  return EXIT_FAILURE;
}

void ReportWriter::failRead(const char* path, int error) {
  finish();
  std::fprintf(stderr, "%s: read error: %s: %s\n", program_.c_str(), path, std::strerror(error));
  std::exit(EXIT_FAILURE);
}

void ReportWriter::failOpen() {
  put("File open error").endLine();
  finish();
  std::exit(EXIT_FAILURE);
}

}  // namespace stationtext
