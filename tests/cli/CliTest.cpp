// tiecalc-cli run as a process, as engineers and scripts run it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Portable.h"
#include "platform/file/AtomicFile.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& p) { return portable::ReadWhole(Utf8FromPath(p)); }

class CliProcess : public ::testing::Test {
 protected:
  fs::path dir = fs::path(TIECALC_BINARY_DIR) / "cli-test-files" /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  Outcome Cli(const std::vector<std::string>& args) {
    std::vector<std::string> command{TIECALC_CLI_PATH};
    command.insert(command.end(), args.begin(), args.end());
    portable::ProcessResult run = portable::RunProcess(command, Utf8FromPath(dir / "out"), Utf8FromPath(dir / "err"));
#ifdef _WIN32
    // Text mode: the lines end in CR LF there.
    std::erase(run.out, '\r');
    std::erase(run.err, '\r');
#endif
    return {run.status, run.out, run.err};
  }

  // An independent reader: the output parses as JSON, with the keys of the
  // object and of its fields in sorted order. (A Windows build's output is
  // compared with the Linux build's on the Linux side.)
  bool IsSortedJson(const std::string& text) {
    if (!portable::IndependentReaderHere()) return true;
    std::ofstream(dir / "json", std::ios::binary) << text;
    const std::string script =
        "import json,sys\n"
        "t=open(sys.argv[1],encoding='utf-8').read()\n"
        "d=json.loads(t)\n"
        "f=d.get('fields',{})\n"
        "sys.exit(0 if list(d)==sorted(d) and list(f)==sorted(f) and t.endswith('}\\n') else 1)\n";
    std::ofstream(dir / "check.py") << script;
    return portable::RunProcess({"/usr/bin/python3", Utf8FromPath(dir / "check.py"), Utf8FromPath(dir / "json")},
                                Utf8FromPath(dir / "check.out"), Utf8FromPath(dir / "check.err"))
               .status == 0;
  }

  void ExpectUsageError(const std::vector<std::string>& args, const std::string& named) {
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? std::string("(no arguments)") : args[0]);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
};

bool Has(const std::string& json, const std::string& key, const std::string& value) {
  return json.find("\"" + key + "\": \"" + value + "\"") != std::string::npos;
}

TEST_F(CliProcess, ThreeRodWorkedExample) {
  const Outcome r = Cli({"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=1500",
                     "H=5000", "R=100", "M=200", "theta=30"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(IsSortedJson(r.out)) << r.out;
  EXPECT_EQ(r.out.rfind("{\"fields\": {\"A\": \"900\"", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\"messages\": [], \"notes\": {}, \"page\": \"three-rod\", \"status\": \"数据计算成功\"}"),
            std::string::npos);
  for (const auto& [k, v] : std::vector<std::pair<std::string, std::string>>{
           {"alpha", "62.88"}, {"beta", "69.9"}, {"L2", "4365.9"}, {"F2", "-208.23"}, {"F3x", "16.2"},
           {"F1m", "358.77/-358.77"}, {"theta2", "180.00/0.00"}, {"theta3", "336.80/516.80"}, {"theta", "30"}})
    EXPECT_TRUE(Has(r.out, k, v)) << k;
}

TEST_F(CliProcess, FourRodLayoutIWithTypedLength) {
  const std::vector<std::string> example = {"four-rod-1", "A=800", "B=800", "C=800", "D=800", "E=800",
                                            "F=800", "X1=3000", "X2=3000", "X3=1200", "X4=1200",
                                            "Y1=4000", "Y2=4000", "R=100", "M=300", "theta=30"};
  Outcome r = Cli(example);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(IsSortedJson(r.out));
  EXPECT_TRUE(Has(r.out, "status", "数据计算成功!"));
  EXPECT_TRUE(Has(r.out, "F4", "-215.47"));
  EXPECT_TRUE(Has(r.out, "F2m", "-1185.40/1185.40"));
  EXPECT_TRUE(Has(r.out, "L1", "5279.99"));
  EXPECT_TRUE(Has(r.out, "manualL", "0"));

  std::vector<std::string> typed = example;
  typed.push_back("L1=5000");
  ExpectUsageError(typed, "L1");  // read-only until manualL=1

  typed.insert(typed.end() - 1, "manualL=1");
  r = Cli(typed);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "L1", "5000"));
  EXPECT_TRUE(Has(r.out, "manualL", "1"));
  EXPECT_FALSE(Has(r.out, "F1", "235.57"));
  EXPECT_TRUE(Has(r.out, "status", "数据计算成功!"));
}

TEST_F(CliProcess, FourRodLayoutIIWorkedExample) {
  const Outcome r = Cli({"four-rod-2", "A=900", "B=900", "C=300", "D=1000", "E=300", "F=100", "G=300", "H=1000",
                     "X1=3500", "X2=3500", "X3=1500", "X4=1500", "Y1=4500", "Y2=4500", "R=100", "M=300",
                     "theta=30"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "F4", "-149.7"));
  EXPECT_TRUE(Has(r.out, "L3", "4081.50"));
  EXPECT_TRUE(Has(r.out, "theta4", "-42.67/137.33"));
  EXPECT_TRUE(Has(r.out, "G", "300"));
}

TEST_F(CliProcess, DegenerateFramesAreInvalid) {
  const std::vector<std::vector<std::string>> frames = {
      {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=3000", "H=5000", "R=100", "M=300",
       "theta=30"},
      {"four-rod-2", "A=900", "B=900", "C=300", "D=4500", "E=300", "F=100", "G=300", "H=1000", "X1=1000", "X2=3500",
       "X3=1500", "X4=1144", "Y1=4500", "Y2=4500", "R=100", "M=300", "theta=30"},
      {"four-rod-1", "A=800", "B=800", "C=800", "D=800", "E=800", "F=800", "X1=3000", "X2=3000", "X3=1200", "X4=1200",
       "Y1=4000", "Y2=4000", "R=100", "M=300", "theta=30", "manualL=1", "L1=-5000"},
      {"four-rod-1", "A=800", "B=800", "C=800", "D=800", "E=800", "F=800", "X1=3000", "X2=3000", "X3=1200", "X4=1200",
       "Y1=4000", "Y2=4000", "R=100", "M=300", "theta=30", "S2=0"},
  };
  for (const auto& frame : frames) {
    const Outcome r = Cli(frame);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "status", frame[0] == "three-rod" ? "数据错误或不全" : "输入数据错误或不完整!")) << r.out;
  }
}

TEST_F(CliProcess, RodCheckStartAndLacedExample) {
  Outcome r = Cli({"rod-check"});
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(IsSortedJson(r.out));
  EXPECT_TRUE(Has(r.out, "status", "请设定计算参数!"));
  EXPECT_TRUE(Has(r.out, "form", "0"));
  EXPECT_TRUE(Has(r.out, "main", "Q235"));
  EXPECT_TRUE(Has(r.out, "Az", "不适用"));

  ExpectUsageError({"rod-check", "Az=1000"}, "Az");  // solid-web: no lacing

  // Choosing the items already shown changes nothing, as in the window.
  r = Cli({"rod-check", "form=0", "main=Q235", "lacing=Q235"});
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "status", "请设定计算参数!"));

  r = Cli({"rod-check", "form=2", "lacing=Q345", "F=200", "L=8000", "G=800", "A=6000", "h=250",
           "Imax=150000000", "Imin=150000000", "Az=1000", "I1=2000000", "Iz=500000", "L1=600", "a=400"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(IsSortedJson(r.out));
  EXPECT_TRUE(Has(r.out, "form", "2"));
  EXPECT_TRUE(Has(r.out, "lacing", "Q345"));
  EXPECT_TRUE(Has(r.out, "lambda", "51.39"));
  EXPECT_TRUE(Has(r.out, "sigma1", "34.75"));
  EXPECT_TRUE(Has(r.out, "delta", "不适用"));
  EXPECT_NE(r.out.find("\"status\": \"附着杆整体刚度满足要求！\\r\\n附着杆单肢刚度满足要求！\\r\\n"), std::string::npos)
      << r.out;
}

TEST_F(CliProcess, EvalPrintsTheFieldValue) {
  Outcome r = Cli({"eval", "2*450"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "{\"value\": 900}\n");
  EXPECT_EQ(Cli({"eval", "pow（2，3）"}).out, "{\"value\": 8}\n");
  EXPECT_EQ(Cli({"eval", "exp(1)"}).out, "{\"value\": 0}\n");
  ExpectUsageError({"eval"}, "eval");
}

TEST_F(CliProcess, BadCommandLinesStopWithStatusTwoAndSayWhatIsAllowed) {
  ExpectUsageError({"five-rod"}, "three-rod, four-rod-1, four-rod-2, rod-check");
  ExpectUsageError({"three-rod", "E1=206"}, "A B C D X1 X2 X3 H R M theta");
  ExpectUsageError({"three-rod", "alpha=5"}, "alpha");  // an output takes no typing
  ExpectUsageError({"three-rod", "A900"}, "NAME=TEXT");
  ExpectUsageError({"three-rod", "--export"}, "PATH");
  ExpectUsageError({"three-rod", "--report", "r.doc", "A=1"}, "A=1");
  ExpectUsageError({"rod-check", "--export", "x.xls"}, "--report");
  ExpectUsageError({"rod-check", "form=5"}, "0..4");
  ExpectUsageError({"rod-check", "main=Q390"}, "Q235, Q345");
  ExpectUsageError({"four-rod-2", "manualL=yes"}, "0, 1");
  ExpectUsageError({}, "three-rod");
}

TEST_F(CliProcess, HelpListsPagesInputsAndOutputs) {
  Outcome r = Cli({"--help"});
  EXPECT_EQ(r.status, 0);
  for (const char* s : {"three-rod", "four-rod-1", "four-rod-2", "rod-check", "eval TEXT", "--export PATH",
                        "--report PATH", "[--open CASE] PAGE", "--save CASE", "manualL", "theta1", "sigmaz", "Q345",
                        "[--accept-unreadable]", "\"notes\": {NAME: TEXT"})
    EXPECT_NE(r.out.find(s), std::string::npos) << s;
  r = Cli({"four-rod-2", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("A B C D E F G H X1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("manualL: 0, 1"), std::string::npos) << r.out;
  // Fields a page writes itself are outputs too.
  EXPECT_NE(r.out.find("outputs: alpha beta gamma delta L1 L2 L3 L4 F1 "), std::string::npos) << r.out;
  r = Cli({"rod-check", "--help"});
  EXPECT_NE(r.out.find("outputs: mu lambda psi sigma lambda1 psi1 sigma1 lambdaz psiz sigmaz Ld message\n"),
            std::string::npos)
      << r.out;
}

TEST_F(CliProcess, ButtonsArePressedAfterTheSettings) {
  const std::string path = Utf8FromPath(dir / "sweep.xls");
  const Outcome r = Cli({"three-rod", "A=900", "--export", path});
  // The page is incomplete: the export is refused, the page printed all the same.
  ASSERT_EQ(r.status, 1) << r.err;
  EXPECT_FALSE(fs::exists(dir / "sweep.xls"));
  EXPECT_TRUE(IsSortedJson(r.out));
  EXPECT_TRUE(Has(r.out, "A", "900"));
}

// A case saved by one run and opened by another: every page as it was, then
// the typing on top; a file that cannot be read or written stops the run
// with status 1, one line on stderr and nothing on stdout.
TEST_F(CliProcess, CasesSavedAndOpened) {
  const std::string c = Utf8FromPath(dir / PathFromUtf8("工程A.tiecalc"));
  const std::vector<std::string> typed = {"four-rod-1", "A=800", "B=2*400", "manualL=1", "L1=5000", "L2=abc"};
  std::vector<std::string> save = typed;
  save.insert(save.end(), {"--save", c});
  const Outcome saved = Cli(save);
  ASSERT_EQ(saved.status, 0) << saved.err;
  // The file has the Chinese name typed (on Windows too, where a name made
  // from the command line's text in the narrow code page would be another).
  EXPECT_TRUE(fs::exists(dir / PathFromUtf8("工程A.tiecalc")));
  EXPECT_EQ(saved.out, Cli(typed).out);
  EXPECT_EQ(saved.out, Cli({"--open", c, "four-rod-1"}).out);

  // The other pages come back too; saving again from another page keeps them.
  const std::string c2 = Utf8FromPath(dir / "two.tiecalc");
  ASSERT_EQ(Cli({"--open", c, "rod-check", "form=3", "delta=12", "--save", c2}).status, 0);
  EXPECT_EQ(saved.out, Cli({"--open", c2, "four-rod-1"}).out);
  EXPECT_EQ(Cli({"rod-check", "form=3", "delta=12"}).out, Cli({"--open", c2, "rod-check"}).out);
  EXPECT_NE(Slurp(dir / "two.tiecalc").find("\"page\": \"rod-check\""), std::string::npos);
  // Typing after --open goes over the case.
  EXPECT_TRUE(Has(Cli({"--open", c, "four-rod-1", "L1=4000"}).out, "L1", "4000"));

  std::ofstream(dir / "bad.tiecalc") << R"({"format": "tiecalc-case", "version": 1, "pages": {"four-rod-1": {"Z": "1"}}})";
  std::ofstream(dir / "plain") << "a file";
  // A locked input is refused in a case as on the command line; a key said twice too.
  std::ofstream(dir / "locked.tiecalc") << R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"Az": "1"}}})";
  std::ofstream(dir / "twice.tiecalc") << R"({"format": "other", "format": "tiecalc-case", "version": 1})";
  const std::vector<std::vector<std::string>> failing = {
      {"--open", Utf8FromPath(dir / "missing.tiecalc"), "three-rod"},
      {"--open", Utf8FromPath(dir / "bad.tiecalc"), "three-rod", "A=1"},
      {"three-rod", "A=1", "--save", Utf8FromPath(dir / "plain" / "x.tiecalc")},
      {"--open", Utf8FromPath(dir / "locked.tiecalc"), "rod-check"},
      {"--open", Utf8FromPath(dir / "twice.tiecalc"), "three-rod"},
  };
  for (const auto& args : failing) {
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("tiecalc-cli: 无法", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  EXPECT_NE(Cli(failing[1]).err.find("页面 four-rod-1 没有输入项 “Z”"), std::string::npos);
  EXPECT_NE(Cli(failing[3]).err.find("locked.tiecalc”：页面 rod-check 的输入项 Az 此时为只读，不能填入 “1”（页面显示 “不适用”）"),
            std::string::npos);
  ExpectUsageError({"--open", c}, "PAGE");
  ExpectUsageError({"three-rod", "--open", c}, "before PAGE");
  ExpectUsageError({"three-rod", "--save"}, "CASE");
}

}  // namespace
}  // namespace tiecalc

namespace tiecalc {
namespace {

// --plot: the chart after the typing, the format from the extension; an
// invalid page writes nothing and says why.
TEST_F(CliProcess, PlotWritesTheChartOfThePage) {
  const std::vector<std::string> three = {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000",
                                          "X3=1500", "H=5000", "R=100", "M=200", "theta=30"};
  std::vector<std::string> args = three;
  for (const char* name : {"f.svg", "f.PNG"}) args.insert(args.end(), {"--plot", Utf8FromPath(dir / name)});
  Outcome r = Cli(args);
#if !TIECALC_HAVE_CHART
  // A build without the force chart refuses the option and writes nothing.
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("without the force chart"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "f.svg"));
  return;
#endif
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"messages\": []"), std::string::npos) << r.out;
  const std::string svg = Slurp(dir / "f.svg");
  for (const char* title : {"<title>杆1</title>", "<title>杆2</title>", "<title>杆3</title>", "正值为拉力,负值为压力"})
    EXPECT_NE(svg.find(title), std::string::npos) << title;
  EXPECT_EQ(svg.find("<title>杆4</title>"), std::string::npos);
  EXPECT_EQ(Slurp(dir / "f.PNG").substr(1, 3), "PNG");

  args = three;
  args.insert(args.end(), {"H=100", "--plot", Utf8FromPath(dir / "invalid.svg")});
  r = Cli(args);
  ASSERT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("\"messages\": [\"输入数据错误或不完整!\\n"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(dir / "invalid.svg"));

  ExpectUsageError({"three-rod", "--plot", Utf8FromPath(dir / "f.pdf")}, ".png or .svg");
  ExpectUsageError({"rod-check", "--plot", Utf8FromPath(dir / "f.svg")}, "force chart");
  ExpectUsageError({"three-rod", "--plot"}, "--plot");
}

TEST_F(CliProcess, AFailedExportOrReportIsInTheMessagesAndEndsWithStatusOne) {
  const std::string plain = Utf8FromPath(dir / "plain");
  std::ofstream(plain) << "x";
  for (const auto& [option, name] : {std::pair{"--export", "t.csv"}, {"--export", "t.xls"}, {"--report", "r.doc"}}) {
    const Outcome r = Cli({"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=1500", "H=5000",
                           "R=100", "M=200", option, plain + "/" + name});
    EXPECT_EQ(r.status, 1) << name << r.out;
    // In the JSON a backslash (Windows' separator) is doubled.
    EXPECT_NE(r.out.find(std::regex_replace(plain + "/" + name, std::regex(R"(\\)"), R"(\\)")), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("输出成功"), std::string::npos) << r.out;
  }
}

// A pipe, a device or a folder at an output's name is refused with its
// reason and stays as it is: nothing waits on the pipe. Temporary files a
// killed --save or --plot left beside the target go at the next write.
TEST_F(CliProcess, OutputsRefuseANameThatIsNoRegularFileAndCleanUpAfterKilledRuns) {
#ifdef _WIN32
  GTEST_SKIP() << "named pipes";
#else
  const std::vector<std::string> three = {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000",
                                          "X2=3000",   "X3=1500", "H=5000", "R=100", "M=200"};
  const struct {
    std::vector<std::string> command;
    const char* option;
    const char* name;
  } rows[] = {
      {three, "--save", "c.tiecalc"}, {three, "--export", "t.xls"}, {three, "--export", "t.csv"},
      {three, "--report", "r.doc"},   {three, "--plot", "f.svg"},   {{"--open", std::string(TIECALC_SOURCE_DIR) + "/examples/attachment.tiecalc", "book", "four-rod-1"}, "--report", "b.doc"},
  };
  for (const auto& row : rows) {
#if !TIECALC_HAVE_CHART
    if (std::string(row.option) == "--plot") continue;
#endif
    const fs::path target = dir / row.name;
    for (const char* thing : {"命名管道", "文件夹"}) {
      if (std::string(thing) == "文件夹") fs::create_directory(target);
      else ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
      std::vector<std::string> args = row.command;
      args.insert(args.end(), {row.option, Utf8FromPath(target)});
      const Outcome r = Cli(args);
      EXPECT_EQ(r.status, 1) << row.option << " " << row.name;
      EXPECT_NE((r.out + r.err).find(std::string("不是普通文件（是") + thing + "），文件保持原样"), std::string::npos)
          << r.out << r.err;
      EXPECT_EQ(fs::status(target).type(), std::string(thing) == "文件夹" ? fs::file_type::directory : fs::file_type::fifo);
      fs::remove(target);
    }
    if (row.command != three || std::string(row.option) == "--report") continue;
    const std::string stale = file::TemporaryPathBeside(Utf8FromPath(target));
    std::ofstream(PathFromUtf8(stale)) << "killed";
    fs::last_write_time(PathFromUtf8(stale), fs::file_time_type::clock::now() - file::kStaleAge - std::chrono::minutes(1));
    std::vector<std::string> args = three;
    args.insert(args.end(), {row.option, Utf8FromPath(target)});
    EXPECT_EQ(Cli(args).status, 0) << row.option;
    EXPECT_FALSE(fs::exists(PathFromUtf8(stale))) << row.option;
  }
#endif
}

}  // namespace
}  // namespace tiecalc

#include <nlohmann/json.hpp>

namespace tiecalc {
namespace {

// book: every rod of the layout is what the rod-check page shows when its F,
// L, G and Ld are typed, here checked through the process itself.
TEST_F(CliProcess, BookOfTheWorkedCaseIsTheRodCheckPageRodByRod) {
  const std::string c = std::string(TIECALC_SOURCE_DIR) + "/examples/attachment.tiecalc";
  const std::string doc = Utf8FromPath(dir / PathFromUtf8("计算书.doc"));
  const Outcome r = Cli({"--open", c, "book", "four-rod-1", "--report", doc});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(IsSortedJson(r.out)) << r.out;
  EXPECT_TRUE(fs::exists(PathFromUtf8(doc)));
  const nlohmann::json book = nlohmann::json::parse(r.out);
  EXPECT_EQ(book["page"], "book");
  EXPECT_EQ(book["layout"], "four-rod-1");
  EXPECT_EQ(book["status"],
            "附着杆 2、3 不 满足要求！\n杆2 整体稳定性：σ = 182.33 MPa ≥ [σ] = 175.37 MPa\n"
            "杆3 整体稳定性：σ = 182.33 MPa ≥ [σ] = 175.37 MPa");
  EXPECT_EQ(book["messages"], nlohmann::json::array({"报告文件输出成功!"}));
  ASSERT_EQ(book["rods"].size(), 4u);
  const nlohmann::json& rod2 = book["rods"][1];
  EXPECT_EQ(rod2["F"], "1185.40");
  EXPECT_EQ(rod2["Fmin"], "-1185.40");
  EXPECT_EQ(rod2["L"], "3352.53");
  EXPECT_EQ(rod2["G"], "335.25");
  EXPECT_EQ(rod2["tension"], nlohmann::json({{"message", "附着杆受拉强度满足要求！"}, {"sigma", "169.34"}}));
  for (const nlohmann::json& rod : book["rods"]) {
    const Outcome page = Cli({"--open", c, "rod-check", "F=" + rod["F"].get<std::string>(),
                              "L=" + rod["L"].get<std::string>(), "G=" + rod["G"].get<std::string>(),
                              "Ld=" + rod["Ld"].get<std::string>()});
    const nlohmann::json fields = nlohmann::json::parse(page.out)["fields"];
    for (const auto& [name, text] : rod["fields"].items()) EXPECT_EQ(text, fields[name]) << rod["rod"] << " " << name;
  }

  // Refusals: no rods, the message box in messages, nothing written.
  std::ofstream(dir / "forces.tiecalc") << R"({"format": "tiecalc-case", "version": 1, "pages": )"
                                        << R"({"three-rod": {"A": "900", "B": "900", "C": "900", "D": "900", )"
                                        << R"("X1": "3000", "X2": "3000", "X3": "1500", "H": "5000", "R": "100"}}})";
  const struct {
    std::vector<std::string> args;
    const char* refusal;
  } refusals[] = {
      {{"book", "three-rod", "--report", Utf8FromPath(dir / "a.doc")}, "请先完成附着杆内力计算!"},
      {{"--open", Utf8FromPath(dir / "forces.tiecalc"), "book", "three-rod"}, "请先在附着杆校核页设定杆件截面参数!"},
  };
  for (const auto& refused : refusals) {
    const nlohmann::json out = nlohmann::json::parse(Cli(refused.args).out);
    EXPECT_EQ(out["status"], refused.refusal);
    EXPECT_EQ(out["messages"], nlohmann::json::array({refused.refusal}));
    EXPECT_TRUE(out["rods"].empty());
  }
  EXPECT_FALSE(fs::exists(dir / "a.doc"));
  ExpectUsageError({"book"}, "LAYOUT");
  ExpectUsageError({"book", "rod-check"}, "four-rod-1");
  ExpectUsageError({"book", "three-rod", "A=1"}, "--report");
}

}  // namespace
}  // namespace tiecalc

#if TIECALC_CLI_SPLIT
namespace tiecalc {
namespace {

// The quick front loads none of the workbook, document and chart libraries
// (they are what made a start slow), computes pages and cases alone, and
// without the full program beside it refuses what needs one, in one line.
TEST_F(CliProcess, TheQuickFrontWorksAloneAndSaysWhenTheFullProgramIsMissing) {
  const portable::ProcessResult needed = portable::RunProcess(
      {"/bin/sh", "-c", std::string("readelf -d '") + TIECALC_CLI_PATH + "' | grep NEEDED"},
      Utf8FromPath(dir / "needed"), Utf8FromPath(dir / "needed.err"));
  ASSERT_EQ(needed.status, 0) << needed.err;
  for (const char* library : {"cairo", "pango", "zip", "xlsxwriter", "png", "pugixml", "stdc++"})
    EXPECT_EQ(needed.out.find(library), std::string::npos) << library << " in\n" << needed.out;

  const fs::path alone = dir / "alone" / "tiecalc-cli";
  fs::create_directories(alone.parent_path());
  fs::copy_file(TIECALC_CLI_PATH, alone);
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), Utf8FromPath(alone));
    return portable::RunProcess(args, Utf8FromPath(dir / "out"), Utf8FromPath(dir / "err"));
  };
  const portable::ProcessResult page = run({"rod-check", "F=200", "--save", Utf8FromPath(dir / "a.tiecalc")});
  EXPECT_EQ(page.status, 0) << page.err;
  EXPECT_TRUE(fs::exists(dir / "a.tiecalc"));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"rod-check", "--report", Utf8FromPath(dir / "r.doc")},
           {"--open", Utf8FromPath(dir / "a.tiecalc"), "book", "three-rod"}}) {
    const portable::ProcessResult r = run(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("无法启动"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("tiecalc-cli-full"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "r.doc"));
}

// The quick front computes pages and cases itself and hands the rest to the
// full program; for the same arguments both print the same, byte for byte:
// every field, the messages, the status, the exit status, the error line,
// the case saved. The 轴力取自 list follows its rod in both.
TEST_F(CliProcess, TheQuickFrontAndTheFullProgramAnswerAlike) {
  const std::string c = std::string(TIECALC_SOURCE_DIR) + "/examples/attachment.tiecalc";
  const std::string saved = Utf8FromPath(dir / "saved.tiecalc");
  const std::vector<std::vector<std::string>> commands = {
      {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=1500", "H=5000", "R=100",
       "M=2*100", "theta=30"},
      {"three-rod", "A=900", "H=100", "M=300kNm"},
      {"--open", c, "four-rod-1", "R=150", "manualL=1", "L1=5000"},
      {"--open", c, "four-rod-2", "theta=45", "S2=0"},
      {"rod-check", "form=2", "lacing=Q345", "F=200", "L=8000", "G=800", "A=6000", "h=250", "Imax=150000000",
       "Imin=150000000", "Az=1000", "I1=2000000", "Iz=500000", "L1=600", "a=400"},
      {"--open", c, "rod-check"},
      {"--open", c, "rod-check", "source=four-rod-1:2"},
      {"--open", c, "rod-check", "source=four-rod-2:3", "Imin=100000000"},
      {"--open", c, "rod-check", "source=three-rod:1", "F=5"},
      {"rod-check", "source=four-rod-1:2"},
      {"--open", c, "rod-check", "source=four-rod-1:2", "L=1", "--save", saved},
      {"--open", saved, "rod-check"},
      {"rod-check", "Az=1"},
      {"--open", Utf8FromPath(dir / "missing.tiecalc"), "three-rod"},
      {"four-rod-2", "--help"},
      {"eval", "2*450"},
  };
  const auto run = [&](const char* program, const std::vector<std::string>& args) {
    const bool saves = std::find(args.begin(), args.end(), "--save") != args.end();
    if (saves) fs::remove(saved);
    std::vector<std::string> command{program};
    command.insert(command.end(), args.begin(), args.end());
    portable::ProcessResult r = portable::RunProcess(command, Utf8FromPath(dir / "out"), Utf8FromPath(dir / "err"));
    return std::vector<std::string>{std::to_string(r.status), r.out, r.err, saves ? Slurp(saved) : ""};
  };
  std::vector<std::string> outputs;
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args.back());
    const std::vector<std::string> front = run(TIECALC_CLI_PATH, args);
    EXPECT_EQ(front, run(TIECALC_CLI_FULL_PATH, args));
    outputs.push_back(front[1]);
  }
  // The rod followed, worked through: rod 2 of the four-rod frame (I), its
  // compression and length, 600 kg over 6000 mm kept per length; typing F
  // goes back to 手动输入; a rod of a page not calculated is marked, not taken.
  const auto field = [](const std::string& out, const char* name) {
    return nlohmann::json::parse(out)["fields"][name].get<std::string>();
  };
  EXPECT_EQ(field(outputs[6], "F"), "1185.40");
  EXPECT_EQ(field(outputs[6], "L"), "3352.53");
  EXPECT_EQ(field(outputs[6], "G"), "335.25");
  EXPECT_EQ(field(outputs[6], "source"), "four-rod-1:2");
  EXPECT_EQ(field(outputs[8], "source"), "manual");
  EXPECT_EQ(field(outputs[8], "F"), "5");
  EXPECT_EQ(field(outputs[9], "F"), "0");
  EXPECT_EQ(field(outputs[9], "source"), "four-rod-1:2");
  // Saved with L typed by hand: manual, and it comes back so.
  EXPECT_EQ(field(outputs[11], "source"), "manual");
  EXPECT_EQ(field(outputs[11], "L"), "1");
}

}  // namespace
}  // namespace tiecalc
#endif

namespace tiecalc {
namespace {

// Every output asked for and not written ends with status 1 and says why in
// messages: an invalid page, a field that does not read as typed (unless
// accepted), a write that fails. The case is saved all the same.
TEST_F(CliProcess, OutputsOfInvalidOrUnreadableInputsAreRefusedWithStatusOne) {
  const std::vector<std::string> three = {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000",
                                          "X2=3000",   "X3=1500", "H=5000", "R=100", "theta=30"};
  const std::string invalid = "输入数据错误或不完整!\n", unreadable = "M 无法识别，按 0 计算";
  struct Row {
    std::vector<std::string> extra;  // after the inputs; the file written is always "out.*"
    const char* file;
    int status;
    std::string message;  // a message holds this
  };
  std::vector<Row> rows = {
      {{"M=200", "H=100", "--export"}, "out.xls", 1, invalid},
      {{"M=200", "H=100", "--report"}, "out.doc", 1, invalid},
      {{"M=300kNm", "--export"}, "out.xls", 1, unreadable},
      {{"M=300kNm", "--report"}, "out.doc", 1, unreadable},
      {{"M=300kNm", "--accept-unreadable", "--export"}, "out.xls", 0, "文件输出成功!"},
      {{"M=300kNm", "--report", "@", "--accept-unreadable"}, "out.doc", 0, "报告文件输出成功!"},
      {{"M=300kNm", "--save"}, "out.tiecalc", 0, ""},
  };
#if TIECALC_HAVE_CHART
  rows.push_back({{"M=200", "H=100", "--plot"}, "out.svg", 1, invalid});
  rows.push_back({{"M=300kNm", "--plot"}, "out.svg", 1, unreadable});
  rows.push_back({{"M=300kNm", "--plot", "@", "--accept-unreadable"}, "out.svg", 0, ""});
#endif
  for (const Row& row : rows) {
    std::vector<std::string> args = three;
    const std::string path = Utf8FromPath(dir / row.file);
    for (const std::string& a : row.extra) args.push_back(a == "@" ? path : a);
    if (args.back() != "--accept-unreadable") args.push_back(path);
    const std::string said = row.extra[1] + " " + row.extra.back();
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, row.status) << said << r.out << r.err;
    EXPECT_EQ(fs::exists(dir / row.file), row.status == 0) << said;
    const nlohmann::json out = nlohmann::json::parse(r.out);
    bool found = row.message.empty();
    for (const nlohmann::json& m : out["messages"]) found = found || m.get<std::string>().find(row.message) == 0 ||
                                                         m.get<std::string>().find("\n" + row.message) != std::string::npos;
    EXPECT_TRUE(found) << said << r.out;
    EXPECT_EQ(r.out.find("nan"), std::string::npos) << said;
    fs::remove(dir / row.file);
  }
  // A zero cross-section leaves the four-rod sweep without finite forces:
  // whatever the page says, no output is made from it.
  for (const char* option : {"--export", "--report", "--plot"}) {
#if !TIECALC_HAVE_CHART
    if (std::string(option) == "--plot") continue;
#endif
    const Outcome r = Cli({"four-rod-1", "A=800", "B=800", "C=800", "D=800", "E=800", "F=800", "X1=3000", "X2=3000",
                           "X3=1200", "X4=1200", "Y1=4000", "Y2=4000", "R=100", "M=300", "S2=0", option,
                           Utf8FromPath(dir / "zero.svg")});
    EXPECT_EQ(r.status, 1) << option << r.out;
    EXPECT_FALSE(fs::exists(dir / "zero.svg")) << option;
    EXPECT_NE(r.out.find("输入数据错误或不完整!"), std::string::npos) << option << r.out;
  }
}

// The marks of the fields: an unreadable text's reason, the broken rule of
// invalid inputs, none on a valid page.
TEST_F(CliProcess, NotesNameTheMarkedFields) {
  const std::vector<std::string> three = {"three-rod", "A=900", "B=900", "C=900", "D=900", "X1=3000",
                                          "X2=3000",   "X3=1500", "R=100", "theta=30"};
  for (const auto& [extra, name, text] :
       {std::tuple{std::vector<std::string>{"H=5000", "M=300kNm"}, "M", "按 0 计算"},
        std::tuple{std::vector<std::string>{"H=100", "M=200"}, "H", ""},
        std::tuple{std::vector<std::string>{"H=5000", "M=200"}, "", ""}}) {
    std::vector<std::string> args = three;
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome r = Cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json notes = nlohmann::json::parse(r.out)["notes"];
    if (!*name) {
      EXPECT_TRUE(notes.empty()) << r.out;
      continue;
    }
    ASSERT_TRUE(notes.contains(name)) << r.out;
    EXPECT_NE(notes[name].get<std::string>().find(text), std::string::npos) << r.out;
  }
}

// book --report: refused for an invalid force page or unreadable fields,
// failed for a path that cannot be written; the JSON is printed each time.
TEST_F(CliProcess, BookFailuresPrintTheirReasonsAndEndWithStatusOne) {
  const std::string example = std::string(TIECALC_SOURCE_DIR) + "/examples/attachment.tiecalc";
  const std::string unreadableCase = Utf8FromPath(dir / "m.tiecalc"), invalidCase = Utf8FromPath(dir / "y.tiecalc");
  ASSERT_EQ(Cli({"--open", example, "four-rod-1", "M=300kNm", "--save", unreadableCase}).status, 0);
  ASSERT_EQ(Cli({"--open", example, "four-rod-1", "Y1=100", "--save", invalidCase}).status, 0);
  const std::string plain = Utf8FromPath(dir / "plain");
  std::ofstream(plain) << "x";
  const std::string doc = Utf8FromPath(dir / "b.doc");
  for (const auto& [opened, path, accept, status, message] :
       {std::tuple{invalidCase, doc, false, 1, "请先完成附着杆内力计算!"},
        std::tuple{unreadableCase, doc, false, 1, "M 无法识别，按 0 计算"},
        std::tuple{unreadableCase, doc, true, 0, "报告文件输出成功!"},
        std::tuple{example, plain + "/b.doc", false, 1, "报告文件输出失败!"}}) {
    std::vector<std::string> args = {"--open", opened, "book", "four-rod-1", "--report", path};
    if (accept) args.push_back("--accept-unreadable");
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, status) << message << r.err;
    EXPECT_EQ(fs::exists(PathFromUtf8(doc)), status == 0) << message;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    fs::remove(PathFromUtf8(doc));
  }
}

}  // namespace
}  // namespace tiecalc

#include "cli/Json.h"
#include "pages/NamedInput.h"
#include "platform/dialog/Desktop.h"
#include "wiring/PageSet.h"

namespace tiecalc {
namespace {

// The library through the command line: a row in the check's units, a
// family's list, and refusals.
TEST_F(CliProcess, SectionRowsAndLists) {
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string contains;
  };
  const Row rows[] = {
      {{"section", "L63x6"}, 0, R"("A": 728.8, "Imin": 112000, "Ix": 271200, "Iy": 271200, "designation": "∟63×6", )"},
      {{"section", "L63x6"}, 0, R"("mass": 5.721, "standard": "GB/T 706", "z0": 17.8})"},
      {{"section", "I25a"}, 0, R"("designation": "I25a")"},
      {{"section", "Φ159×6"}, 0, R"("standard": "GB/T 17395")"},
      {{"sections", "channel"}, 0, R"({"sections": {"channel": ["[5", )"},
      {{"section", "L61x6"}, 1, "型钢表中没有“L61x6”"},
      {{"sections", "tube"}, 2, "unknown family 'tube'"},
  };
  for (const Row& row : rows) {
    const Outcome r = Cli(row.args);
    EXPECT_EQ(r.status, row.status) << row.args[1] << r.err;
    EXPECT_NE((r.status ? r.err : r.out).find(row.contains), std::string::npos) << r.out << r.err;
  }
  EXPECT_EQ(Cli({"section", "I25a"}).out.find("z0"), std::string::npos);
  EXPECT_EQ(Cli({"sections"}).out.find(R"({"sections": {"channel": [)"), 0u);
}

// chord=... on the rod-check page types what ApplySection types on a page
// in this process, field for field, and the JSON shows the section.
TEST_F(CliProcess, SectionSettingsTypeWhatApplySectionTypes) {
  struct Case {
    std::vector<std::string> settings;
    RodSectionChoice choice;
  };
  RodSectionChoice four;
  four.profile = "L63x6", four.width = 400, four.depth = 400, four.lacing = "L40x4", four.spacing = 400;
  RodSectionChoice two;
  two.profile = "[20a", two.width = 300, two.battenWidth = 200, two.battenThickness = 10, two.spacing = 600;
  RodSectionChoice solid;
  solid.profile = "[20a", solid.pair = PairLayout::Box;
  const Case cases[] = {
      {{"form=4", "chord=L63x6", "width=400x400", "web=L40x4", "webspacing=400"}, four},
      {{"form=1", "chord=[20a", "width=300", "web=-200x10", "webspacing=600"}, two},
      {{"form=0", "chord=[20a", "pair=box"}, solid},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"rod-check", "F=120", "L=6000"};
    args.insert(args.end(), c.settings.begin(), c.settings.end());
    const Outcome r = Cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(IsSortedJson(r.out));
    const Json shown = Json::parse(r.out);

    CScriptedDesktop desktop;
    CPageSet pages;
    pages.Create(&desktop);
    CRodCheckPage& page = pages.RodCheck();
    for (const std::string& s : {c.settings[0], std::string("F=120"), std::string("L=6000")}) {
      const size_t eq = s.find('=');
      for (const NamedControl& n : page.Names())
        if (n.input && n.name == s.substr(0, eq)) UserSetNamed(page, n, s.substr(eq + 1));
    }
    ASSERT_EQ(page.ApplySection(c.choice), "");
    for (const NamedControl& n : page.Names())
      EXPECT_EQ(shown["fields"][n.name].get<std::string>(), NamedText(page, n)) << c.settings[1] << " " << n.name;
    EXPECT_EQ(shown["section"]["state"], "applied");
    EXPECT_EQ(shown["section"]["line"], page.SectionLine());
    EXPECT_EQ(shown["section"]["derivations"][0]["text"], page.Section()->built.derivations[0].text);
  }
  // Typed after the section: edited by hand; refused settings and sections.
  const Outcome edited = Cli({"rod-check", "form=4", "L=6000", "chord=L63x6", "width=400", "web=L40x4",
                              "webspacing=400", "Iz=1000"});
  EXPECT_NE(edited.out.find(R"("state": "edited")"), std::string::npos) << edited.out;
  EXPECT_NE(edited.out.find("截面：4∟63×6，外廓400×400，缀条∟40×4，L1=400（已手动修改）"), std::string::npos);
  ExpectUsageError({"rod-check", "form=4", "L=6000", "chord=[20a", "width=400"}, "四肢格构杆的肢须为等边角钢");
  ExpectUsageError({"rod-check", "chord=L63x6", "width=4x"}, "width takes MM or MMxMM");
  EXPECT_EQ(Cli({"rod-check", "F=1"}).out.find("section"), std::string::npos);
}

}  // namespace
}  // namespace tiecalc
