// stationdiff-onefile: reports the stations of the register at the start of a file ("F.IN")
// that the update lines after it no longer name, and the names they add.
#include "program.hpp"

int main(int argc, char** argv) {
  return onefile::runProgram(argc, argv);
}
