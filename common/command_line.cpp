// The two arguments every program answers, --help and --version; any other is ignored, and
// said to be.
#include "command_line.hpp"

#include <string>

namespace stationtext {

std::optional<int> answerOption(int argc, const char* const* argv, std::string_view usage,
                                const char* inputs, ReportWriter& out) {
  const std::string_view option = argc == 2 ? argv[1] : "";
  if (option == "--help") {
    out.put(usage);
  } else if (option == "--version") {
    out.put(out.program()).put(" (stationdiff) " STATIONDIFF_VERSION).endLine();
    out.put("Copyright (c) " STATIONDIFF_RELEASE_YEAR " stationdiff developers").endLine();
    out.put("MIT License: you may use, copy, change and distribute it; it comes with no warranty.")
        .endLine();
  } else {
    for (int i = 1; i < argc; ++i)
      out.warn("ignored argument", argv[i], std::string("it reads ") + inputs + "; see --help");
    return std::nullopt;
  }
  return out.finish();
}

}  // namespace stationtext
