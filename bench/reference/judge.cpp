// Judges a program's report against the literal reference's report on the same input folder:
//
//   judge two-file|one-file FOLDER EXPECTED ACTUAL
//
// EXPECTED is the reference's report, ACTUAL the program's. Exit status 0 when ACTUAL is
// acceptable (judge.hpp says what may differ); 1, with the first fault on standard error, when
// it is not; 2 on a usage error.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "judge.hpp"

namespace {

std::string slurp(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string layout = argc == 5 ? argv[1] : "";
  if (layout != "two-file" && layout != "one-file") {
    std::cerr << "usage: judge two-file|one-file FOLDER EXPECTED ACTUAL\n";
    return 2;
  }
  const std::string expected = slurp(argv[3]), actual = slurp(argv[4]);
  const std::string fault = layout == "two-file" ? judge::twoFile(argv[2], expected, actual)
                                                 : judge::oneFile(argv[2], expected, actual);
  if (fault.empty()) return 0;
  std::cerr << "judge: wrong report: " << argv[4] << ": " << fault << '\n';
  return 1;
}
