#pragma once
// Running another program of ours in place of this one.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tiecalc::process {

// The folder the running program's file is in (the link resolved), or an
// empty path where that cannot be found.
std::filesystem::path RunningProgramFolder();

// Replaces this process by the first of programs that can be started, with
// the arguments argv (argv[0] included, null-terminated) and this process's
// environment, plus each of environment's variables that is not set already.
// Returns only when none could: the errno of the most telling failure
// (ENOENT when none exists).
int ExecFirstOf(const std::vector<std::filesystem::path>& programs, char** argv,
                const std::vector<std::pair<std::string, std::string>>& environment = {});

}  // namespace tiecalc::process
