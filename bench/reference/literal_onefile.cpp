// The literal single-file program, the benchmark's baseline: reads F.IN in the working
// directory and writes the report to standard output.
#include <iostream>

#include "literal.hpp"

int main() {
  return literal::onefile("F.IN", std::cout);
}
