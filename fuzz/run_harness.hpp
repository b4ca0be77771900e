// Runs a program in process: writes the input files into a scratch folder of this process,
// runs the program on them with the report going to memory, and returns the report's lines.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "report_writer.hpp"
#include "stream_reference.hpp"

namespace harness {

namespace fs = std::filesystem;
using Files = std::vector<std::pair<std::string, std::string>>;  // name, content

// Runs `program(folder, writer)` on a scratch folder holding exactly `files`, removed
// afterwards, and sets `status` to what it returns.
template <typename Program>
std::vector<std::string> run(const Files& files, Program program, int& status) {
  const fs::path scratch =
      fs::temp_directory_path() / ("stationdiff-fuzz-" + std::to_string(getpid()));
  fs::create_directories(scratch);
  for (const auto& [name, content] : files)
    std::ofstream(scratch / name, std::ios::binary) << content;

  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* memory = open_memstream(&buffer, &length);
  reference::check(memory != nullptr, "open_memstream failed");
  {
    stationtext::ReportWriter out(memory, "fuzz");
    status = program(scratch, out);  // every run ends with out.finish(), which closes `memory`
  }
  const std::string report(buffer, length);
  std::free(buffer);

  fs::remove_all(scratch);
  return reference::lines(report);
}

// Checks that report[at] is `heading` and that the report ends with exactly `names`.
inline void checkTail(const std::vector<std::string>& report, std::size_t at,
                      const std::string& heading, const std::set<std::string>& names) {
  reference::check(at < report.size() && report[at] == heading, "new names heading differs");
  reference::check(std::equal(report.begin() + static_cast<std::ptrdiff_t>(at + 1), report.end(),
                              names.begin(), names.end()),
                   "new names differ");
}

}  // namespace harness
