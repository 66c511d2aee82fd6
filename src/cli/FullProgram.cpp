#include <cerrno>
#include <ostream>

#include "cli/Cli.h"
#include "platform/file/FileMessages.h"
#include "platform/process/Exec.h"

namespace tiecalc {

// tiecalc-cli-full sits beside the front in the build folder, and in
// libexec/tiecalc once installed (TIECALC_CLI_FULL_FROM_BIN: that folder
// seen from the programs' folder). Found from where this program really is,
// not from PATH or argv[0], so a link to tiecalc-cli elsewhere still works.
int RunFullProgram(char** argv, std::ostream& err) {
  const std::filesystem::path dir = process::RunningProgramFolder();
  const std::filesystem::path installed = dir / TIECALC_CLI_FULL_FROM_BIN / "tiecalc-cli-full";
  // The full program's documents and charts take some megabytes of fresh
  // heap. Grown 8 MiB at a time and on transparent huge pages, that is a few
  // page faults instead of a thousand and more (a calculation book: 2,250
  // faults become 850, 100 ms become 90 on a virtual machine). The C library
  // reads this once, at the start; a value already set wins.
  const int reason =
      dir.empty() ? ENOENT
                  : process::ExecFirstOf({dir / "tiecalc-cli-full", installed}, argv,
                                         {{"GLIBC_TUNABLES", "glibc.malloc.hugetlb=1:glibc.malloc.top_pad=8388608"}});
  err << "tiecalc-cli: 无法启动 " << installed.lexically_normal().string()
      << "（导出表格、生成报告、受力曲线和计算书都需要它）："
      << file::SystemErrorInWords(std::error_code(reason, std::generic_category())) << "\n";
  return kCliFailed;
}

}  // namespace tiecalc
