// Runs a program in process on input files in a scratch folder, with the report going to
// memory, and judges the report against the literal reference's on the same files; the rename
// hints after it, which the reference does not give, are checked against the report itself.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// The headings of a program's report sections, and whether its hints section counts its lines.
struct Headings {
  std::string_view gone, fresh, hints;
  bool counted;
};

// The lines of `report` after the first line that begins with `heading`, up to the next empty
// line, or to the end when `toEnd`.
inline std::vector<std::string_view> section(std::string_view report, std::string_view heading,
                                             bool toEnd) {
  const std::vector<std::string_view> all = judge::lines(report);
  auto it = std::find_if(all.begin(), all.end(),
                         [&](std::string_view line) { return line.starts_with(heading); });
  std::vector<std::string_view> lines;
  for (it = it == all.end() ? it : it + 1; it != all.end() && (toEnd || !it->empty()); ++it)
    lines.push_back(*it);
  return lines;
}

// What is wrong with the hint lines `hints` of `report`, or nothing: each must be
// "<code> <name>\t<new name>", where "<code> <name>" is a line of the gone section and the new
// name a line of the new section, each taken by one hint at most.
inline std::string checkHints(std::string_view report, const std::vector<std::string_view>& hints,
                              const Headings& headings) {
  std::vector<std::string_view> gone = section(report, headings.gone, false);
  std::vector<std::string_view> fresh = section(report, headings.fresh, true);
  for (const std::string_view hint : hints) {
    const std::size_t tab = hint.find('\t');
    if (tab == std::string_view::npos) return "a hint line without a tab";
    const auto take = [](std::vector<std::string_view>& lines, std::string_view line) {
      const auto at = std::find(lines.begin(), lines.end(), line);
      if (at == lines.end()) return false;
      lines.erase(at);
      return true;
    };
    if (!take(gone, hint.substr(0, tab))) return "a hint for no station listed gone, or twice";
    if (!take(fresh, hint.substr(tab + 1))) return "a hint to no new name listed, or twice";
  }
  return {};
}

// Writes `files` into a scratch folder of this process, runs ours(folder, writer), which gives
// the rename hints, and reference(folder, stream) on it, and checks that both end with the same
// exit status, that judge(folder, the reference's report, ours before its hints) finds no fault
// and that the hints pair the report's own lines. The folder is removed afterwards.
template <typename Ours, typename Reference, typename Judge>
void judgeRun(const Files& files, Ours ours, Reference reference, Judge judge,
              const Headings& headings) {
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
  std::string report(buffer, length);
  std::free(buffer);
  std::ostringstream want;
  check(reference(dir, want) == status, "the exit status differs from the reference's");
  // The hints section is the last: its heading follows an empty line, and no name ends in a
  // space or holds a tab, as the headings and the hint lines do.
  std::string hintsHeading(2, '\n');
  hintsHeading.append(headings.hints);
  const std::size_t hintsAt = report.rfind(hintsHeading);
  check((hintsAt != std::string::npos) == (status == 0), "a hints section, or none, wrongly");
  std::vector<std::string_view> hints;
  if (hintsAt != std::string::npos) {
    hints = judge::lines(std::string_view(report).substr(hintsAt + 2));
    check(!hints.empty() && hints.back().empty(), "the hints section does not end with a line end");
    const std::string_view heading = hints.front();
    hints.erase(hints.begin());
    hints.pop_back();
    check(
        !headings.counted || heading.substr(headings.hints.size()) == std::to_string(hints.size()),
        "the count of hints differs from the lines");
  }
  const std::string before =
      report.substr(0, hintsAt == std::string::npos ? report.size() : hintsAt + 1);
  std::string fault = judge(dir, want.str(), before);
  if (fault.empty()) fault = checkHints(before, hints, headings);
  fs::remove_all(dir);
  check(fault.empty(), fault);
}

}  // namespace harness
