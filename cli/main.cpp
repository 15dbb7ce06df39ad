#include <iostream>

#include "cli/cli.hpp"

int main(int argc, char** argv) {
  return armocalc::cli::Main(argc, argv, std::cin, std::cout, std::cerr);
}
