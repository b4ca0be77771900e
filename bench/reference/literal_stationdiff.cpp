// BENCHMARK REFERENCE ONLY -- never linked into the programs.
//
// The "literal stream implementation" of the two-file reconciliation: the
// textbook way to write it with iostreams, kept as the baseline that
// bench/run.sh times the real program against and whose output it checks the
// real program's output with. Deliberately unoptimised: std::ifstream,
// std::getline and an std::istringstream per line, std::endl on every output
// line, default stream settings.
//
// Reads be.txt (optional), bemenet.txt (required) and frissites.txt (optional)
// from the current directory and writes the report to stdout.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

struct elem {
  int id;
  std::string station;
  bool state;
};

int main() {
  // Word census of be.txt.
  std::set<std::string> words;
  {
    std::ifstream text("be.txt");
    std::string w;
    while (text >> w)
      words.insert(w);
  }
  std::cout << "SIZE: " << words.size() << std::endl;

  std::ifstream reg("bemenet.txt");
  if (!reg) {
    std::cout << "File open error" << std::endl;
    return 1;
  }

  // Register: a count line, then that many "<code> <name...>" lines.
  int n = 0;
  reg >> n;
  std::string line;
  std::getline(reg, line);  // rest of the count line
  std::vector<elem> v;
  for (int i = 0; i < n; ++i) {
    if (!std::getline(reg, line)) break;
    std::istringstream ss(line);
    int code = 0;
    std::string word, name;
    ss >> code;
    while (ss >> word) {
      if (!name.empty()) name += ' ';
      name += word;
    }
    v.push_back({code, name, false});
  }
  std::sort(v.begin(), v.end(), [](const elem& a, const elem& b) { return a.station < b.station; });

  // Update list: one name per line; lines shorter than two bytes are skipped.
  std::set<std::string> fresh;
  std::ifstream upd("frissites.txt");
  while (std::getline(upd, line)) {
    if (line.size() < 2) continue;
    std::istringstream ss(line);
    std::string word, name;
    while (ss >> word) {
      if (!name.empty()) name += ' ';
      name += word;
    }
    auto it = std::lower_bound(v.begin(), v.end(), name,
                               [](const elem& e, const std::string& s) { return e.station < s; });
    if (it != v.end() && it->station == name) {
      it->state = true;
    } else {
      fresh.insert(name);
    }
  }

  // Unseen records are copied out and sorted by id; the register stays sorted by name.
  std::vector<elem> notused;
  for (const elem& e : v) {
    if (!e.state) notused.push_back(e);
  }
  std::sort(notused.begin(), notused.end(),
            [](const elem& a, const elem& b) { return a.id < b.id; });
  std::cout << "Eltunt allomasok: " << std::endl;
  for (const elem& e : notused)
    std::cout << e.id << ' ' << e.station << std::endl;
  std::cout << std::endl;
  std::cout << "Uj allomasok: " << std::endl;
  for (const std::string& s : fresh)
    std::cout << s << std::endl;
  return 0;
}
