// Runs a program in process on input files in a scratch folder, with the report going to
// memory, and judges the report against the literal reference's on the same files.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "judge.hpp"
#include "report_writer.hpp"

namespace harness {

// A failed check ends the process: libFuzzer then keeps the input as a finding.
inline void check(bool ok, std::string_view what) {
  if (ok) return;
  std::fputs("fuzz check failed: ", stderr);
  std::fwrite(what.data(), 1, what.size(), stderr);  // names may hold NUL bytes
  std::fputc('\n', stderr);
  std::abort();
}

using Files = std::vector<std::pair<std::string, std::string>>;  // name, content

// Writes `files` into a scratch folder of this process, runs ours(folder, writer) and
// reference(folder, stream) on it, and checks that both end with the same exit status and that
// judge(folder, the reference's report, ours) finds no fault. The folder is removed afterwards.
template <typename Ours, typename Reference, typename Judge>
void judgeRun(const Files& files, Ours ours, Reference reference, Judge judge) {
  namespace fs = std::filesystem;
  const std::string dir =
      fs::temp_directory_path() / ("stationdiff-fuzz-" + std::to_string(getpid()));
  fs::create_directories(dir);
  for (const auto& [name, content] : files)
    std::ofstream(dir + "/" + name, std::ios::binary) << content;
  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* memory = open_memstream(&buffer, &length);
  check(memory != nullptr, "open_memstream failed");
  stationtext::ReportWriter out(memory, "fuzz");
  const int status = ours(dir, out);  // every run ends with out.finish(), which closes `memory`
  const std::string report(buffer, length);
  std::free(buffer);
  std::ostringstream want;
  check(reference(dir, want) == status, "the exit status differs from the reference's");
  const std::string fault = judge(dir, want.str(), report);
  fs::remove_all(dir);
  check(fault.empty(), fault);
}

}  // namespace harness
