// The one place that writes report lines and messages: buffering, the flush policy, write
// errors, and the warnings and errors on standard error.
#include "report_writer.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace stationtext {

ReportWriter::ReportWriter(std::FILE* out, const char* program)
    : out_(out), program_(program), lineMode_(isatty(fileno(out)) == 1) {}

ReportWriter& ReportWriter::put(std::string_view text) {
  if (error_ == 0) {
    makeRoom();
    buffer_.append(text);
  }
  return *this;
}

void ReportWriter::endLine() {
  if (error_ != 0) return;
  makeRoom();
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
  say("write error", nullptr, {std::strerror(error_)});
  return EXIT_FAILURE;
}

void ReportWriter::dropUnfinishedLine() {
  const std::size_t end = buffer_.rfind('\n');
  buffer_.resize(end == std::string::npos ? 0 : end + 1);
}

int ReportWriter::fail(const char* what, const char* path, int error) {
  say(what, path, {std::strerror(error)});
  finish();
  return EXIT_FAILURE;
}

int ReportWriter::outOfMemory() {
  dropUnfinishedLine();
  return fail("out of memory", reading_, ENOMEM);
}

void ReportWriter::warn(const char* what, const char* path,
                        std::initializer_list<std::string_view> cause) {
  ++warnings_;
  say(what, path, cause);
}

void ReportWriter::say(const char* what, const char* path,
                       std::initializer_list<std::string_view> cause) const {
  // The line is gathered on the stack and written at once, allocating nothing; a longer one
  // goes out in pieces of the gathering's size. glibc formats a precision under a thousand
  // without allocating.
  char line[512];
  std::size_t used = 0;
  const auto write = [&] { std::fprintf(stderr, "%.*s", static_cast<int>(used), line); };
  const auto add = [&](std::string_view text) {
    while (!text.empty()) {
      if (used == sizeof line) {
        write();
        used = 0;
      }
      const std::size_t n = std::min(text.size(), sizeof line - used);
      std::memcpy(line + used, text.data(), n);
      used += n;
      text.remove_prefix(n);
    }
  };
  add(program_);
  add(": ");
  add(what);
  if (path != nullptr) {
    add(": ");
    add(path);
  }
  add(": ");
  for (const std::string_view piece : cause)
    add(piece);
  add("\n");
  write();
}

}  // namespace stationtext
