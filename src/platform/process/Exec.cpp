#include "platform/process/Exec.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tiecalc::process {

std::filesystem::path RunningProgramFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
}

int ExecFirstOf(const std::vector<std::filesystem::path>& programs, char** argv,
                const std::vector<std::pair<std::string, std::string>>& environment) {
  for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 0);
  int reason = ENOENT;
  for (const std::filesystem::path& program : programs) {
    execv(program.c_str(), argv);
    if (errno != ENOENT) reason = errno;  // there, but not startable: say why
  }
  return reason;
}

}  // namespace tiecalc::process
