// rename_eval: runs the rename hints of common/ alone, on lists of names in two files.
//
//   rename_eval GONE FRESH
//
// GONE and FRESH hold one name per line, as the reports list them. Writes one line per hint,
// "<gone name><TAB><new name>", in the order of GONE; on standard error, the time that finding
// the hints took, how many it found and how much the peak resident memory grew while finding
// them (the names are read and held before), as "renames: S s, H hints, +K KiB".
//
// Built by bench/renames.sh with `g++ -O2 -std=c++20` and the few sources of common/ it needs;
// not part of the programs.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "rename_hints.hpp"

namespace {

// The file's lines, without their line ends, as views into `text`.
std::vector<std::string_view> readLines(const char* path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::perror(path);
    std::exit(1);
  }
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.emplace_back(text.data() + at, end - at);
    at = end + 1;
  }
  return lines;
}

long peakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rename_eval GONE FRESH\n");
    return 2;
  }
  std::string goneText, freshText;
  const std::vector<std::string_view> gone = readLines(argv[1], goneText);
  const std::vector<std::string_view> fresh = readLines(argv[2], freshText);
  const long before = peakKiB();
  const auto start = std::chrono::steady_clock::now();
  const std::vector<stationtext::RenameHint> hints = stationtext::findRenames(gone, fresh);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const long after = peakKiB();
  std::string out;
  for (const stationtext::RenameHint& hint : hints) {
    out.append(gone[hint.gone]).append(1, '\t').append(fresh[hint.fresh]).append(1, '\n');
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fprintf(stderr, "renames: %.3f s, %zu hints, +%ld KiB\n", took.count(), hints.size(),
               after - before);
  return 0;
}
