// What both programs tell the user about their inputs.
#include "reports.hpp"

#include <cerrno>
#include <cstring>
#include <string>

namespace stationtext {

void warnAbout(const ReportWriter& out, const ReadOutcome& input, std::string_view markEffect,
               const char* readAs) {
  constexpr std::string_view kRemedy = "; save it as UTF-8 without a byte-order mark";
  if (input.kind == ReadOutcome::notOpened) {
    // A missing optional input is silent, unless a link to it says that it was meant to be there.
    if (readAs != nullptr && (input.error != ENOENT || input.brokenLink)) {
      out.warn("cannot open", input.path,
               std::string(std::strerror(input.error)) +
                   (input.brokenLink ? " (a link to a missing file; read as " : " (read as ") +
                   readAs + ")");
    }
  } else if (input.start == TextStart::byteOrderMark) {
    out.warn("byte-order mark", input.path, std::string(markEffect).append(kRemedy));
  } else if (input.start == TextStart::utf16) {
    out.warn("UTF-16 text", input.path,
             std::string("names will hold NUL bytes and will not match").append(kRemedy));
  }
}

}  // namespace stationtext
