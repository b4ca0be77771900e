// Whole runs of the single-file program, judged against the literal reference: the input is F.IN
// as it is.
#include "program.hpp"
#include "run_harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  harness::judgeRun(
      {{"F.IN", std::string(reinterpret_cast<const char*>(data), size)}},
      [](const std::string& dir, auto& out) { return onefile::run((dir + "/F.IN").c_str(), out); },
      [](const std::string& dir, auto& out) { return literal::onefile(dir + "/F.IN", out); },
      judge::oneFile);
  return 0;
}
