// The one place that writes report lines: buffering, the flush policy and write errors.
#include "report_writer.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace stationtext {

ReportWriter::ReportWriter(std::FILE* out, std::string program)
    : out_(out), program_(std::move(program)), lineMode_(isatty(fileno(out)) == 1) {
  buffer_.reserve(kBlock);
}

ReportWriter& ReportWriter::put(std::string_view text) {
  if (error_ == 0) buffer_.append(text);
  return *this;
}

void ReportWriter::endLine() {
  if (error_ != 0) return;
  buffer_.push_back('\n');
  if (lineMode_ || buffer_.size() >= kBlock) flush();
}

void ReportWriter::flush() {
  if (error_ != 0 || out_ == nullptr) return;
  errno = 0;
  wrote_ = wrote_ || !buffer_.empty();
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size() ||
      std::fflush(out_) != 0)
    error_ = errno != 0 ? errno : EIO;
  buffer_.clear();
}

int ReportWriter::finish() {
  if (out_ == nullptr) return error_ == 0 ? EXIT_SUCCESS : EXIT_FAILURE;  // finished already
  flush();
  // A stream that was closed before the run fails to close again; that is no lost output when
  // nothing was written to it.
  errno = 0;
  if (std::fclose(out_) != 0 && error_ == 0 && (wrote_ || errno != EBADF))
    error_ = errno != 0 ? errno : EIO;
  out_ = nullptr;
  if (error_ == 0) return EXIT_SUCCESS;
  say("write error", nullptr, error_);
  return EXIT_FAILURE;
}

void ReportWriter::dropUnfinishedLine() {
  const std::size_t end = buffer_.rfind('\n');
  buffer_.resize(end == std::string::npos ? 0 : end + 1);
}

int ReportWriter::fail(const char* what, const char* path, int error) {
  say(what, path, error);
  finish();
  return EXIT_FAILURE;
}

void ReportWriter::warn(const char* what, const char* path, std::string_view cause) const {
  std::fprintf(stderr, "%s: %s: %s: %.*s\n", program_.c_str(), what, path,
               static_cast<int>(cause.size()), cause.data());
}

void ReportWriter::say(const char* what, const char* path, int error) const {
  if (path != nullptr) {
    std::fprintf(stderr, "%s: %s: %s: %s\n", program_.c_str(), what, path, std::strerror(error));
  } else {
    std::fprintf(stderr, "%s: %s: %s\n", program_.c_str(), what, std::strerror(error));
  }
}

}  // namespace stationtext
