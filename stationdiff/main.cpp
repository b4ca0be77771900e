// stationdiff: reports the stations of a register ("bemenet.txt") that an update list
// ("frissites.txt") no longer names and the names it adds, after the number of distinct words
// of a text ("be.txt").
#include "program.hpp"

int main(int argc, char** argv) {
  return stationdiff::runProgram(argc, argv);
}
