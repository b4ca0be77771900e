// Whole runs of the single-file program with its rename hints, judged against the literal
// reference: the input is F.IN as it is.
#include "program.hpp"
#include "run_harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  harness::judgeRun(
      {{"F.IN", std::string(reinterpret_cast<const char*>(data), size)}},
      [](const std::string& dir, auto& out) {
        return onefile::run((dir + "/F.IN").c_str(), out, true);
      },
      [](const std::string& dir, auto& out) { return literal::onefile(dir + "/F.IN", out); },
      judge::oneFile, {"Not used: ", "New stations: ", "Probably renamed: ", true});
  return 0;
}
