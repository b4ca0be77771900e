// A deliberately plain reading of the input formats with std::istringstream and >>, the way the
// formats are defined. The fuzz targets compare the fast readers and whole runs against it.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reference {

// A failed check ends the process: libFuzzer then keeps the input as a finding.
inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline std::string joinWords(std::istream& in) {
  std::string name;
  for (std::string word; in >> word;)
    name += (name.empty() ? "" : " ") + word;
  return name;
}

// A station line: the code, then the words; after a failed code the stream reads nothing more.
inline std::pair<int, std::string> station(std::string_view line) {
  std::istringstream ss{std::string(line)};
  int code = 0;
  ss >> code;
  return {code, joinWords(ss)};
}

// An update line; false for a skipped one.
inline bool update(std::string_view line, std::string& name) {
  if (line.size() < 2) return false;
  std::istringstream ss{std::string(line)};
  name = joinWords(ss);
  return true;
}

// Reads the count line and the station lines from `file`, leaving it on the line after them.
// Returns false, with no stations, when the count is not read.
inline bool readRegister(std::istream& file, std::vector<std::pair<int, std::string>>& stations) {
  int count = 0;
  if (!(file >> count)) return false;
  std::string line;
  std::getline(file, line);
  for (int i = 0; i < count && std::getline(file, line); ++i)
    stations.push_back(station(line));
  return true;
}

// The lines of `text` as std::getline splits them.
inline std::vector<std::string> lines(const std::string& text) {
  std::istringstream ss(text);
  std::vector<std::string> out;
  for (std::string line; std::getline(ss, line);)
    out.push_back(line);
  return out;
}

// A report line "<code> <name>".
inline std::pair<long long, std::string> codeAndName(const std::string& line) {
  const char* const last = line.data() + line.size();
  long long code = 0;
  const auto [end, error] = std::from_chars(line.data(), last, code);
  check(error == std::errc() && end != last && *end == ' ', "report line without a code");
  return {code, std::string(end + 1, last)};
}

}  // namespace reference
