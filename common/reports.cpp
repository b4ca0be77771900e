// What both programs tell the user about a run.
#include "reports.hpp"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace stationtext {

namespace {

// A count in decimal, in `digits`, which must outlive the view.
std::string_view decimal(std::size_t number, char (&digits)[24]) {
  return {digits,
          static_cast<std::size_t>(std::to_chars(digits, digits + 24, number).ptr - digits)};
}

}  // namespace

bool roomToStart() {
  // The pool takes about 72 KiB on 64-bit systems, less on 32-bit ones; blocks from 128 KiB up
  // are mapped apart from the heap.
  constexpr std::size_t kProbe = std::size_t{96} << 10;
  void* const probe = std::malloc(kProbe);
  std::free(probe);
  return probe != nullptr;
}

void warnAbout(ReportWriter& out, const ReadOutcome& input, const InputEffects& effects) {
  constexpr std::string_view kRemedy = "; save it as UTF-8 without a byte-order mark";
  if (input.kind == ReadOutcome::notOpened) {
    // A missing optional input is silent, unless a link to it says that it was meant to be there.
    if (effects.readAs != nullptr && (input.error != ENOENT || input.brokenLink)) {
      out.warn("cannot open", input.path,
               {std::strerror(input.error),
                input.brokenLink ? " (a link to a missing file; read as " : " (read as ",
                effects.readAs, ")"});
    }
  } else if (input.start == TextStart::byteOrderMark) {
    out.warn("byte-order mark", input.path, {effects.byteOrderMark, kRemedy});
  } else if (input.start == TextStart::utf16) {
    out.warn("UTF-16 text", input.path, {effects.utf16, kRemedy});
  }
}

void warnAboutCount(ReportWriter& out, const RegisterRead& read) {
  if (read.outcome.kind != ReadOutcome::complete) return;
  char announced[24], held[24];
  const std::string_view stations = read.announced == 1 ? " station" : " stations";
  if (read.held < read.announced) {
    out.warn("station count", read.outcome.path,
             {"the count announces ", decimal(read.announced, announced), stations,
              ", the file holds ", decimal(read.held, held)});
  } else if (read.linesAfter && read.announced == 0) {
    out.warn("station count", read.outcome.path,
             {"lines after the count, which announces no stations, are not read"});
  } else if (read.linesAfter) {
    out.warn("station count", read.outcome.path,
             {"lines after the ", decimal(read.announced, announced), stations,
              " of the count are not read"});
  }
}

int failInput(ReportWriter& out, const ReadOutcome& input) {
  return out.fail(input.kind == ReadOutcome::notOpened ? "cannot open" : "read error", input.path,
                  input.error);
}

int failRegister(ReportWriter& out, const ReadOutcome& input) {
  if (input.kind == ReadOutcome::notOpened) out.put("File open error").endLine();
  return failInput(out, input);
}

}  // namespace stationtext
