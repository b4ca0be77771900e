// The two arguments every program answers, --help and --version.
#include "command_line.hpp"

namespace stationtext {

std::optional<int> answerOption(int argc, const char* const* argv, std::string_view usage,
                                ReportWriter& out) {
  if (argc != 2) return std::nullopt;
  const std::string_view option = argv[1];
  if (option == "--help") {
    out.put(usage);
  } else if (option == "--version") {
    out.put(out.program()).put(" (stationdiff) " STATIONDIFF_VERSION).endLine();
    out.put("Copyright (c) 2026 stationdiff developers").endLine();
    out.put("MIT License: you may use, copy, change and distribute it; it comes with no warranty.")
        .endLine();
  } else {
    return std::nullopt;
  }
  return out.finish();
}

}  // namespace stationtext
