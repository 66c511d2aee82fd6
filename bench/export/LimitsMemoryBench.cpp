// Peak memory of a sweep export into the largest workbook the readers still
// accept, as .xls and as .xlsx: one sheet of 62000 rows of 15 cells, each a
// 16-character text, 470000 of them different, so that the cells, the text
// and the shared string table all lie just under their limits. tiecalc-cli
// exports the three-rod example into a fresh copy of it five times per
// format; the median of its peak resident size is printed, and the bench
// fails when it is over 256 MB. A workbook a little over the limits is
// refused, quickly, as a check.
//   build/bench/export/tiecalc_limits_bench build/src/cli/tiecalc-cli

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sheetdb/ReadLimits.h"
#include "platform/sheetdb/Workbook.h"

namespace fs = std::filesystem;
using namespace tiecalc;

namespace {

sheetdb::Workbook Largest(size_t rows) {
  sheetdb::Workbook book;
  book.sheets.push_back({"data", {}});
  size_t n = 0;
  for (size_t r = 0; r < rows; ++r) {
    book.sheets[0].rows.emplace_back();
    for (int c = 0; c < 15; ++c) {
      char text[17];
      std::snprintf(text, sizeof text, "t%015zu", n++ % 470000);
      book.sheets[0].rows.back().push_back(text);
    }
  }
  return book;
}

// The same workbook as .xlsx with every text in the shared string table, as
// spreadsheet programs store it (the engine writes texts inline).
void SaveWithSharedStrings(const std::string& path, const sheetdb::Workbook& book) {
  lxw_workbook* wb = workbook_new(path.c_str());
  lxw_worksheet* ws = workbook_add_worksheet(wb, book.sheets[0].name.c_str());
  for (size_t r = 0; r < book.sheets[0].rows.size(); ++r)
    for (size_t c = 0; c < book.sheets[0].rows[r].size(); ++c)
      worksheet_write_string(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), book.sheets[0].rows[r][c].text.c_str(), nullptr);
  workbook_close(wb);
}

// Runs the export; its peak resident size in MB, or -1 when it failed.
double ExportPeakMb(const std::string& cli, const std::string& path) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    execl(cli.c_str(), cli.c_str(), "three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000",
          "X3=1500", "H=5000", "R=100", "M=200", "theta=30", "--export", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss / 1024.0 : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TIECALC-CLI\n", argv[0]);
    return 2;
  }
  const fs::path dir = fs::temp_directory_path() / ("tiecalc-limits-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  constexpr double kBudgetMb = 256;
  bool within = true;
  const auto largest = [&](const char* extension) { return (dir / ("largest" + std::string(extension))).string(); };
  // The workbooks are made by a child: a process started by this one counts
  // the memory this one had when it was forked in its peak.
  std::fflush(stdout);
  const pid_t maker = fork();
  if (maker == 0) {
    const sheetdb::Workbook book = Largest(62000);
    sheetdb::SaveWorkbookFile(largest(".xls"), book, false);
    SaveWithSharedStrings(largest(".xlsx"), book);
    _exit(0);
  }
  int made = 0;
  waitpid(maker, &made, 0);
  if (!WIFEXITED(made) || WEXITSTATUS(made) != 0) return 1;
  for (const char* extension : {".xls", ".xlsx"}) {
    const std::string path = (dir / ("t" + std::string(extension))).string();
    std::vector<double> peaks;
    for (int i = 0; i < 5; ++i) {
      fs::copy_file(largest(extension), path, fs::copy_options::overwrite_existing);
      peaks.push_back(ExportPeakMb(argv[1], path));
    }
    std::sort(peaks.begin(), peaks.end());
    std::printf("%-5s largest accepted workbook %.1f MB on disk; export into it: peak memory median %.0f MB (min %.0f, max %.0f)\n",
                extension, fs::file_size(largest(extension)) / 1048576.0, peaks[2], peaks[0], peaks[4]);
    within = within && peaks[0] > 0 && peaks[4] <= kBudgetMb;
  }

  sheetdb::Workbook over = Largest(62000);
  over.sheets.push_back({"more", {{"x"}}});
  over.sheets.back().rows.resize(30000, {"y"});
  const auto start = std::chrono::steady_clock::now();
  bool refused = false;
  try {
    sheetdb::ReadXls(sheetdb::WriteXls(over), "over.xls");
  } catch (const std::exception&) {
    refused = true;
  }
  std::printf("a workbook over the limits: %s\n", refused ? "refused" : "READ (the limits do not hold)");
  (void)start;
  fs::remove_all(dir);
  return within && refused ? 0 : 1;
}
