// BENCHMARK REFERENCE ONLY -- never linked into the programs.
//
// The "literal stream implementation" of the single-file reconciliation: the
// textbook way to write it with iostreams, kept as the baseline that
// bench/run.sh times the real program against and whose output it checks the
// real program's output with. Deliberately unoptimised: std::ifstream,
// std::getline and an std::istringstream per line, std::endl on every output
// line, default stream settings.
//
// Reads F.IN from the current directory (a count line, that many register
// lines "<code> <name...>", then update names to the end of the file) and
// writes the report to stdout.

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>

int main() {
  std::ifstream f("F.IN");

  int n = 0;
  f >> n;
  std::string line;
  std::getline(f, line);  // rest of the count line

  // name -> (code, seen); a repeated name keeps its first code.
  std::unordered_map<std::string, std::pair<int, bool>> reg;
  for (int i = 0; i < n; ++i) {
    if (!std::getline(f, line)) break;
    std::istringstream ss(line);
    int code = 0;
    std::string word, name;
    ss >> code;
    while (ss >> word) {
      if (!name.empty()) name += ' ';
      name += word;
    }
    reg.emplace(name, std::make_pair(code, false));
  }

  // Update names follow directly; lines shorter than two bytes are skipped.
  std::set<std::string> fresh;
  while (std::getline(f, line)) {
    if (line.size() < 2) continue;
    std::istringstream ss(line);
    std::string word, name;
    while (ss >> word) {
      if (!name.empty()) name += ' ';
      name += word;
    }
    auto it = reg.find(name);
    if (it != reg.end()) {
      it->second.second = true;
    } else {
      fresh.insert(name);
    }
  }

  // One line per code among the stations never named.
  std::map<int, std::string> not_used;
  for (const auto& [name, entry] : reg) {
    if (!entry.second) not_used[entry.first] = name;
  }
  std::cout << "Not used: " << std::endl;
  for (const auto& [code, name] : not_used)
    std::cout << code << ' ' << name << std::endl;
  std::cout << std::endl;
  std::cout << "New stations: " << fresh.size() << std::endl;
  for (const std::string& s : fresh)
    std::cout << s << std::endl;
  return 0;
}
