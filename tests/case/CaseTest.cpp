#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "case/CaseFile.h"
#include "pages/NamedInput.h"
#include "wiring/PageSet.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

struct Setting {
  const char* page;
  const char* name;
  const char* text;
};

// Four freshly started pages, as the window and tiecalc-cli start them.
struct Pages {
  CScriptedDesktop desktop;
  CPageSet set;
  CasePages named = CasePagesOf(set);
  Pages() { set.Create(&desktop); }

  void Set(const std::vector<Setting>& settings) {
    for (const Setting& s : settings) {
      CPage& page = *set.Find(s.page);
      const NamedControl* n = nullptr;
      for (const NamedControl& c : page.Names())
        if (c.input && c.name == s.name) n = &c;
      ASSERT_TRUE(n && UserSetNamed(page, *n, s.text)) << s.page << " " << s.name << "=" << s.text;
    }
  }
  // Every named control of every page, inputs and results, with the status.
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (const auto& [name, page] : named) {
      for (const NamedControl& n : page->Names())
        out.push_back(name + " " + n.name + (page->IsReadOnly(n.id) ? " (locked)" : "") + "=" + NamedText(*page, n));
      out.push_back(name + " status=" + page->Status());
    }
    return out;
  }
};

// The lines where two pages' displays differ, "line | other line".
std::vector<std::string> Differences(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<std::string> out;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string x = i < a.size() ? a[i] : "", y = i < b.size() ? b[i] : "";
    if (x != y) out.push_back(x + " | " + y);
  }
  return out;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Spit(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

class CaseFiles : public ::testing::Test {
 protected:
  fs::path dir = fs::path(TIECALC_BINARY_DIR) / "case-test-files" /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir / "old.tiecalc", fs::perms::owner_all, ec);
    fs::remove_all(dir);
  }
};

// A case typed on the pages, saved, and opened into freshly started pages
// shows every field, locked or not, and every result as it was.
TEST_F(CaseFiles, RoundTripShowsEveryFieldAndResultAsTyped) {
  const std::vector<Setting> threeRod = {
      {"three-rod", "A", "2*450"}, {"three-rod", "B", "900"}, {"three-rod", "C", "（900）"},
      {"three-rod", "D", "900"}, {"three-rod", "X1", "3000"}, {"three-rod", "X2", "3000"},
      {"three-rod", "X3", "1500"}, {"three-rod", "H", "5000"}, {"three-rod", "R", "100"},
      {"three-rod", "M", "abc"}, {"three-rod", "theta", "30"}};
  const std::vector<Setting> fourRod = {
      {"four-rod-1", "A", "800"}, {"four-rod-1", "B", "800"}, {"four-rod-1", "C", "800"},
      {"four-rod-1", "D", "800"}, {"four-rod-1", "E", "800"}, {"four-rod-1", "F", "800"},
      {"four-rod-1", "X1", "3000"}, {"four-rod-1", "X2", "3000"}, {"four-rod-1", "X3", "1200"},
      {"four-rod-1", "X4", "1200"}, {"four-rod-1", "Y1", "4000"}, {"four-rod-1", "Y2", "4000"},
      {"four-rod-1", "R", "100"}, {"four-rod-1", "M", "300"}, {"four-rod-1", "theta", "30"},
      {"four-rod-1", "E1", "206"}, {"four-rod-1", "S4", "2500"}};
  const std::vector<Setting> manual = {
      {"four-rod-1", "manualL", "1"}, {"four-rod-1", "L1", "5000"}, {"four-rod-1", "L2", "5100"},
      {"four-rod-1", "L3", "2*1700"}, {"four-rod-2", "A", "900"}, {"four-rod-2", "G", "300"},
      {"four-rod-2", "manualL", "1"}, {"four-rod-2", "L4", "4800"}, {"four-rod-2", "theta", "45"}};
  const std::vector<Setting> rod = {
      {"rod-check", "F", "200"}, {"rod-check", "L", "8000"}, {"rod-check", "G", "800"},
      {"rod-check", "A", "6000"}, {"rod-check", "h", "250"}, {"rod-check", "Imax", "150000000"},
      {"rod-check", "Imin", "150000000"}, {"rod-check", "main", "Q345"}};
  const std::vector<Setting> lattice = {
      {"rod-check", "Az", "1000"}, {"rod-check", "I1", "2000000"}, {"rod-check", "Iz", "500000"},
      {"rod-check", "L1", "600"}, {"rod-check", "a", "400"}, {"rod-check", "lacing", "Q345"}};
  const std::vector<Setting> unlockLd = {{"rod-check", "Imax", "2e8"}, {"rod-check", "Imax", "200000000"},
                                         {"rod-check", "Ld", "5000"}, {"rod-check", "k", "1.2"}};
  struct Case {
    const char* what;
    std::vector<std::vector<Setting>> parts;
  };
  const Case cases[] = {
      {"nothing typed", {}},
      {"three rods, an expression and an invalid input", {threeRod}},
      {"four rods, automatic lengths", {fourRod}},
      {"four rods, typed lengths on both pages", {fourRod, manual}},
      {"solid web", {rod, {{"rod-check", "form", "0"}}, unlockLd}},
      {"two limbs, battens", {{{"rod-check", "form", "1"}}, rod, lattice, {{"rod-check", "delta", "10"}}}},
      {"two limbs, lacing", {{{"rod-check", "form", "2"}}, rod, lattice, unlockLd}},
      {"four limbs, battens", {{{"rod-check", "form", "3"}}, rod, lattice, {{"rod-check", "delta", "12"}}}},
      {"four limbs, lacing", {{{"rod-check", "form", "4"}}, rod, lattice}},
      {"all pages", {threeRod, fourRod, manual, {{"rod-check", "form", "3"}}, rod, lattice, unlockLd}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pages typed;
    for (const auto& part : c.parts) typed.Set(part);
    const fs::path file = dir / "工程A.tiecalc";
    SaveCaseFile(file, CaptureCase(typed.named, "four-rod-2"));

    Pages opened;
    const CaseState state = ReadCaseFile(file, opened.named);
    ApplyCase(state, opened.named);
    EXPECT_EQ("four-rod-2", state.page);
    EXPECT_EQ(std::vector<std::string>{}, Differences(typed.Shown(), opened.Shown()));
    EXPECT_TRUE(opened.desktop.Messages().empty());
  }
}

// What an engineer or a script writes by hand: numbers for texts, pages and
// names left out, keys of later versions.
TEST_F(CaseFiles, HandWrittenFile) {
  Spit(dir / "hand.tiecalc", R"({"format": "tiecalc-case", "version": 1, "page": "rod-check", "note": {"by": "王工"},
    "pages": {"three-rod": {"A": "2*450", "B": 900, "theta": 0.5, "R": -12, "M": 1e20},
              "four-rod-1": {"manualL": "1", "L1": "5000"},
              "rod-check": {"form": "1", "main": "Q235", "F": "200", "delta": 8}}})");
  Pages pages;
  const std::vector<std::string> start = pages.Shown();
  ApplyCase(ReadCaseFile(dir / "hand.tiecalc", pages.named), pages.named);
  Pages typed;
  typed.Set({{"three-rod", "A", "2*450"}, {"three-rod", "B", "900"}, {"three-rod", "theta", "0.5"},
             {"three-rod", "R", "-12"}, {"three-rod", "M", "100000000000000000000"},
             {"four-rod-1", "manualL", "1"}, {"four-rod-1", "L1", "5000"},
             {"rod-check", "form", "1"}, {"rod-check", "F", "200"}, {"rod-check", "delta", "8"}});
  EXPECT_EQ(std::vector<std::string>{}, Differences(typed.Shown(), pages.Shown()));
  EXPECT_NE(start, pages.Shown());
}

// Every refusal names the file and the reason, and nothing is brought in.
TEST_F(CaseFiles, RefusalsNameTheFileAndTheReason) {
  const std::string head = R"({"format": "tiecalc-case", "version": 1, )";
  struct Row {
    std::string bytes;
    const char* reason;
  };
  const Row rows[] = {
      {"{\"format\": \"tiecalc-case\", \"version\": 1, \"page\": \"three-rod\xff\"}", "不是有效的 UTF-8 文本"},
      {"\xEF\xBB\xBF{\"format\": \"tiecalc-case\", \"version\": 1, \"pages\": {\"three-rod\": {\"A\": \"\xC0\xAF\"}}}",
       "不是有效的 UTF-8 文本"},
      {"", "不是有效的 JSON"},
      {"{\"format\": \"tiecalc-case\", \"version\": 1,", "不是有效的 JSON"},
      {"A=900", "不是有效的 JSON"},
      {head + R"("pages": {"three-rod": {"A": 1e400}}})", "不是有效的 JSON（数值超出范围）"},
      {head + R"("x": -1e4001})", "不是有效的 JSON（数值超出范围）"},
      {"[]", "没有 \"format\": \"tiecalc-case\""},
      {R"({"version": 1})", "没有 \"format\": \"tiecalc-case\""},
      {R"({"format": "tiecalc-workbook", "version": 1})", "没有 \"format\": \"tiecalc-case\""},
      {R"({"format": "tiecalc-case"})", "版本号 \"version\" 缺失或无效"},
      {R"({"format": "tiecalc-case", "version": "1"})", "版本号 \"version\" 缺失或无效"},
      {R"({"format": "tiecalc-case", "version": 2})", "文件版本 2 比本程序所能读取的版本 1 新"},
      {head + R"("page": "five-rod"})", "未知的页面 “five-rod”（应为 three-rod、four-rod-1、four-rod-2、rod-check）"},
      {head + R"("page": 1})", "\"page\" 的值不是文本"},
      {head + R"("pages": {"Three-rod": {}}})", "未知的页面 “Three-rod”"},
      {head + R"("pages": [1]})", "\"pages\" 的值不是对象"},
      {head + R"("pages": {"three-rod": {"a": "1"}}})", "页面 three-rod 没有输入项 “a”"},
      {head + R"("pages": {"three-rod": {"alpha": "1"}}})", "页面 three-rod 没有输入项 “alpha”"},
      {head + R"("pages": {"rod-check": "F=1"}})", "页面 rod-check 的内容不是对象"},
      {head + R"("pages": {"three-rod": {"A": true}}})", "页面 three-rod 的输入项 A 的值既不是文本也不是数字"},
      {head + R"("pages": {"three-rod": {"A": null}}})", "输入项 A 的值既不是文本也不是数字"},
      {head + R"("pages": {"three-rod": {"A": ["1"]}}})", "输入项 A 的值既不是文本也不是数字"},
      {head + R"("pages": {"three-rod": {"A": ")" + std::string(256, '9') + "\"}}}", "输入项 A 的文本超过 255 个字符"},
      {head + R"("pages": {"rod-check": {"form": "5"}}})", "输入项 form 的值 “5” 无效，应为 0..4"},
      {head + R"("pages": {"rod-check": {"main": "Q390"}}})", "应为 Q235, Q345"},
      {head + R"("pages": {"four-rod-2": {"manualL": 2}}})", "应为 0, 1"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.bytes);
    const fs::path file = dir / "坏.tiecalc";
    Spit(file, r.bytes);
    Pages pages;
    try {
      ReadCaseFile(file, pages.named);
      ADD_FAILURE() << "not refused";
    } catch (const CCaseError& e) {
      const std::string message = e.what();
      EXPECT_EQ(0u, message.find("无法打开计算文件 “" + file.string() + "”：")) << message;
      EXPECT_NE(std::string::npos, message.find(r.reason)) << message;
    }
  }
  // 255 characters are taken, Chinese ones counted as characters.
  std::string longest;
  for (int i = 0; i < 255; ++i) longest += "九";
  Spit(dir / "ok.tiecalc", head + R"("pages": {"three-rod": {"A": ")" + longest + "\"}}}");
  Pages pages;
  EXPECT_EQ(longest, ReadCaseFile(dir / "ok.tiecalc", pages.named).pages.at(0).inputs.at(0).text);

  // What is not a file of at most 1 MiB.
  fs::create_directories(dir / "folder.tiecalc");
  Spit(dir / "big.tiecalc", head + R"("x": ")" + std::string(1024 * 1024, ' ') + "\"}");
  const std::pair<fs::path, const char*> files[] = {{dir / "missing.tiecalc", "文件不存在"},
                                                   {dir / "folder.tiecalc", "这是一个文件夹，不是文件"},
                                                   {dir / "big.tiecalc", "文件大于 1 MiB"}};
  for (const auto& [file, reason] : files) {
    try {
      ReadCaseFile(file, pages.named);
      ADD_FAILURE() << file << " not refused";
    } catch (const CCaseError& e) {
      EXPECT_EQ("无法打开计算文件 “" + file.string() + "”：" + reason, std::string(e.what()).substr(0, std::string("无法打开计算文件 “" + file.string() + "”：").size() + std::string(reason).size()));
    }
  }
}

// A save that fails is reported, and the old file stays byte for byte.
TEST_F(CaseFiles, FailedSaveKeepsTheOldFile) {
  Pages pages;
  pages.Set({{"three-rod", "A", "900"}});
  const CaseState state = CaptureCase(pages.named, "three-rod");
  const std::string old = "{\"format\": \"tiecalc-case\", \"version\": 1}\n";
  Spit(dir / "old.tiecalc", old);
  Spit(dir / "file", "not a folder");
  fs::permissions(dir / "old.tiecalc", fs::perms::owner_read | fs::perms::group_read);
  for (const fs::path& target : {dir / "old.tiecalc", dir / "file" / "new.tiecalc"}) {
    EXPECT_THROW(SaveCaseFile(target, state), CCaseError) << target;
  }
  EXPECT_EQ(old, Slurp(dir / "old.tiecalc"));
  EXPECT_FALSE(fs::exists(dir / "file" / "new.tiecalc"));
  std::vector<fs::path> left;
  for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename());
  EXPECT_EQ(2u, left.size());  // no temporary file left behind
}

}  // namespace
}  // namespace tiecalc
