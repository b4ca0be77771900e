// The literal two-file program, the benchmark's baseline: reads be.txt, bemenet.txt and
// frissites.txt in the working directory and writes the report to standard output.
#include <iostream>

#include "literal.hpp"

int main() {
  return literal::stationdiff("be.txt", "bemenet.txt", "frissites.txt", std::cout);
}
