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

// Whether a command may write a workbook, a report, a chart or a book (any
// argument --export, --report, --plot or book): what tiecalc-cli's quick
// front hands to the full program. Erring towards true costs only time.
bool NeedsOutputs(const std::vector<std::string>& args);

// The quick front only: replaces this process by the full program, with the
// same arguments (argv as main received it). Returns only on failure, with
// its exit status, after one line on err.
int RunFullProgram(char** argv, std::ostream& err);

}  // namespace tiecalc
