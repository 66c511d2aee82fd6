#pragma once
// tiecalc-cli: a page started exactly as in the window, optionally a case
// file brought into all four pages, inputs typed in the order given,
// optionally the case saved, the export or report button pressed with the
// save dialog answered by a path, and what the page then shows printed as
// JSON.

#include <iosfwd>
#include <string>
#include <vector>

namespace tiecalc {

// Exit statuses.
inline constexpr int kCliOk = 0;
inline constexpr int kCliFailed = 1;  // a case file refused or not saved; an export or report failed
inline constexpr int kCliUsage = 2;  // unknown page or name, malformed argument, read-only input

// Runs one command; args without the program name. The JSON goes to out,
// one-line errors to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tiecalc
