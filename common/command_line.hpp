// The two arguments every program answers, --help and --version; any other is ignored.
#pragma once

#include <optional>
#include <string_view>

#include "report_writer.hpp"

namespace stationtext {

// When the only argument is "--help" or "--version", writes `usage` or the program's version to
// `out`, ends the report and returns the exit status. Otherwise returns nothing, and the program
// runs as it always does, whatever its arguments.
std::optional<int> answerOption(int argc, const char* const* argv, std::string_view usage,
                                ReportWriter& out);

}  // namespace stationtext
