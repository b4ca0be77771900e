// Whole runs of the single-file program: the input is F.IN as it is. The report is checked
// against the stream-based reading of the same file.
#include <map>
#include <set>

#include "run_harness.hpp"
#include "stream_reference.hpp"
#include "time_table.hpp"

using reference::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  // What the report must say, from the stream-based reading. A count that is not read leaves
  // the rest of the file unread.
  std::istringstream file(input);
  std::vector<std::pair<int, std::string>> register_;
  std::map<std::string, std::pair<int, bool>> stations;  // name -> first code, seen
  std::set<std::string> fresh;
  if (reference::readRegister(file, register_)) {
    for (const auto& [code, name] : register_)
      stations.try_emplace(name, code, false);
    std::string name;
    for (std::string line; std::getline(file, line);) {
      if (!reference::update(line, name)) continue;
      const auto found = stations.find(name);
      if (found == stations.end()) fresh.insert(name);
      if (found != stations.end()) found->second.second = true;
    }
  }
  // code -> the first unseen station of that code in file order, which the report lists
  std::map<long long, std::string> unused;
  for (const auto& [code, name] : register_) {
    const auto& [first, seen] = stations.at(name);
    if (!seen && first == code) unused.try_emplace(code, name);
  }

  int status = -1;
  const std::vector<std::string> report = harness::run(
      {{"F.IN", input}},
      [](const harness::fs::path& dir, stationtext::ReportWriter& out) {
        return onefile::run(dir / "F.IN", out);
      },
      status);
  check(status == 0, "the run failed");
  check(report.size() >= 3 && report[0] == "Not used: ", "missing unused heading");
  std::size_t i = 1;
  for (long long last = INT64_MIN; i < report.size() && !report[i].empty(); ++i) {
    const auto [code, name] = reference::codeAndName(report[i]);
    check(code > last, "unused codes do not strictly ascend");
    last = code;
    const auto first = unused.find(code);
    check(first != unused.end() && first->second == name,
          "reported station is not the first unused one of its code");
  }
  check(i - 1 == unused.size(), "unused code count differs");
  harness::checkTail(report, i + 1, "New stations: " + std::to_string(fresh.size()), fresh);
  return 0;
}
