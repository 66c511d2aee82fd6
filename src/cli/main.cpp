#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // argv is UTF-8 through the application manifest; the JSON is UTF-8 too,
  // and the console shows it as such.
  SetConsoleOutputCP(CP_UTF8);
#endif
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
#if TIECALC_CLI_FRONT
    if (tiecalc::NeedsOutputs(args)) return tiecalc::RunFullProgram(argv, std::cerr);
#endif
    return tiecalc::RunCli(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tiecalc-cli: " << e.what() << "\n";
    return 1;
  }
}
