// Whole runs of the two-file program. The input is split at "%%%\n" into bemenet.txt, then
// frissites.txt, then be.txt; a part that is not there is a missing file (the register is always
// written). The report is checked against the stream-based reading of the same files.
#include <map>
#include <set>
#include <string_view>

#include "run_harness.hpp"
#include "stream_reference.hpp"
#include "time_table.hpp"

using reference::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const char* const names[] = {"bemenet.txt", "frissites.txt", "be.txt"};
  harness::Files files;
  for (const char* name : names) {
    const std::size_t at = files.size() < 2 ? text.find("%%%\n") : std::string_view::npos;
    files.emplace_back(name, text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 4);
  }

  // What the report must say, from the stream-based reading.
  std::istringstream registerFile(files[0].second), updates, be;
  std::vector<std::pair<int, std::string>> stations;
  reference::readRegister(registerFile, stations);
  std::map<std::string, std::multiset<long long>> unseen;  // name -> codes still to report
  for (const auto& [code, name] : stations)
    unseen[name].insert(code);
  std::set<std::string> named, fresh, words;
  if (files.size() > 1) updates.str(files[1].second);
  std::string update;
  for (std::string line; std::getline(updates, line);)
    if (reference::update(line, update)) (unseen.count(update) ? named : fresh).insert(update);
  if (files.size() > 2) be.str(files[2].second);
  for (std::string word; be >> word;)
    words.insert(word);

  int status = -1;
  const std::vector<std::string> report = harness::run(
      files,
      [](const harness::fs::path& dir, stationtext::ReportWriter& out) {
        return stationdiff::run({dir / "be.txt", dir / "bemenet.txt", dir / "frissites.txt"}, out);
      },
      status);
  check(status == 0, "the run failed");
  check(report.size() >= 4 && report[0] == "SIZE: " + std::to_string(words.size()),
        "distinct word count differs");
  check(report[1] == "Eltunt allomasok: ", "missing disappeared heading");
  std::size_t i = 2;
  for (long long last = INT64_MIN; i < report.size() && !report[i].empty(); ++i) {
    const auto [id, name] = reference::codeAndName(report[i]);
    check(id >= last, "disappeared ids do not ascend");
    last = id;
    const auto station = unseen.find(name);
    const auto code = station == unseen.end() ? nullptr : &station->second;
    check(code != nullptr && code->count(id) != 0, "disappeared station not in the register");
    code->erase(code->find(id));  // each record is reported at most once
  }
  // Of a named name exactly one record counts as seen; of any other name none.
  for (const auto& [name, codes] : unseen)
    check(codes.size() == named.count(name), "disappeared station count differs");
  harness::checkTail(report, i + 1, "Uj allomasok: ", fresh);
  return 0;
}
