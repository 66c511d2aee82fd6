#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/Cli.h"
#include "platform/process/Exec.h"

namespace tiecalc {

// tiecalc-cli-full sits beside the front in the build folder, and in
// libexec/tiecalc once installed (TIECALC_CLI_FULL_FROM_BIN: that folder
// seen from the programs' folder). Found from where this program really is,
// not from PATH or argv[0], so a link to tiecalc-cli elsewhere still works.
int RunFullProgram(char** argv, std::ostream& err) {
  const std::filesystem::path dir = process::RunningProgramFolder();
  const std::filesystem::path installed = dir / TIECALC_CLI_FULL_FROM_BIN / "tiecalc-cli-full";
  const int reason = dir.empty() ? ENOENT : process::ExecFirstOf({dir / "tiecalc-cli-full", installed}, argv);
  err << "tiecalc-cli: cannot start " << installed.lexically_normal().string()
      << " (needed for --export, --report, --plot and book): " << std::strerror(reason) << "\n";
  return kCliFailed;
}

}  // namespace tiecalc
