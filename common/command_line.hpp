// The two arguments every program answers, --help and --version; any other is ignored, and
// said to be.
#pragma once

#include <optional>
#include <string_view>

#include "report_writer.hpp"

namespace stationtext {

// When the only argument is "--help" or "--version", writes `usage` or the program's version to
// `out`, ends the report and returns the exit status. Otherwise names each argument on standard
// error, "<program>: ignored argument: <argument>: it reads <inputs>; see --help", and returns
// nothing: the program runs as it does without arguments. `inputs` names the files it reads.
std::optional<int> answerOption(int argc, const char* const* argv, std::string_view usage,
                                const char* inputs, ReportWriter& out);

}  // namespace stationtext
