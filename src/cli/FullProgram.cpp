#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/Cli.h"

namespace tiecalc {

// tiecalc-cli-full sits beside the front in the build folder, and in
// libexec/tiecalc once installed (TIECALC_CLI_FULL_FROM_BIN: that folder
// seen from the programs' folder). Found from where this program really is,
// not from PATH or argv[0], so a link to tiecalc-cli elsewhere still works.
int RunFullProgram(char** argv, std::ostream& err) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) {
    err << "tiecalc-cli: cannot find where this program is (/proc/self/exe): " << ec.message() << "\n";
    return kCliFailed;
  }
  const fs::path dir = self.parent_path();
  const fs::path candidates[] = {dir / "tiecalc-cli-full", dir / TIECALC_CLI_FULL_FROM_BIN / "tiecalc-cli-full"};
  int reason = ENOENT;
  for (const fs::path& full : candidates) {
    execv(full.c_str(), argv);
    if (errno != ENOENT) reason = errno;
  }
  err << "tiecalc-cli: cannot start " << candidates[1].lexically_normal().string() << " (needed for --export, "
      << "--report, --plot and book): " << std::strerror(reason) << "\n";
  return kCliFailed;
}

}  // namespace tiecalc
