#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  try {
    return tiecalc::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tiecalc-cli: " << e.what() << "\n";
    return 1;
  }
}
