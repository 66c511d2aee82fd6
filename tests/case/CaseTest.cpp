#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "case/CaseFile.h"
#include "pages/NamedInput.h"
#include "pages/PageTestSupport.h"
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

// Random work on all four pages - examples typed, then edits of any input
// with numbers, zeros, negatives, blanks and words, the switches, the
// 轴力取自 list - saved and reopened: every input comes back as it was
// shown (the locked ones too: an invalid page's lengths, a uniform rod's
// Ld), and so does every result of a page whose inputs are valid.
TEST_F(CaseFiles, RandomWorkComesBackAsItWasShown) {
  const std::vector<Setting> start = {
      {"three-rod", "A", "900"}, {"three-rod", "B", "900"}, {"three-rod", "C", "900"}, {"three-rod", "D", "900"},
      {"three-rod", "X1", "3000"}, {"three-rod", "X2", "3000"}, {"three-rod", "X3", "1500"},
      {"three-rod", "H", "5000"}, {"three-rod", "R", "100"}, {"three-rod", "M", "200"}, {"three-rod", "theta", "30"},
      {"four-rod-1", "A", "800"}, {"four-rod-1", "B", "800"}, {"four-rod-1", "C", "800"}, {"four-rod-1", "D", "800"},
      {"four-rod-1", "E", "800"}, {"four-rod-1", "F", "800"}, {"four-rod-1", "X1", "3000"},
      {"four-rod-1", "X2", "3000"}, {"four-rod-1", "X3", "1200"}, {"four-rod-1", "X4", "1200"},
      {"four-rod-1", "Y1", "4000"}, {"four-rod-1", "Y2", "4000"}, {"four-rod-1", "R", "100"},
      {"four-rod-1", "M", "300"}, {"four-rod-2", "A", "900"}, {"four-rod-2", "B", "900"},
      {"four-rod-2", "C", "300"}, {"four-rod-2", "D", "1000"}, {"four-rod-2", "E", "300"},
      {"four-rod-2", "F", "100"}, {"four-rod-2", "G", "300"}, {"four-rod-2", "H", "1000"},
      {"four-rod-2", "X1", "3500"}, {"four-rod-2", "X2", "3500"}, {"four-rod-2", "X3", "1500"},
      {"four-rod-2", "X4", "1500"}, {"four-rod-2", "Y1", "4500"}, {"four-rod-2", "Y2", "4500"},
      {"four-rod-2", "R", "100"}, {"four-rod-2", "M", "300"}, {"rod-check", "F", "200"},
      {"rod-check", "L", "8000"}, {"rod-check", "G", "800"}, {"rod-check", "A", "6000"}, {"rod-check", "h", "250"},
      {"rod-check", "Imax", "150000000"}, {"rod-check", "Imin", "100000000"}, {"rod-check", "Ld", "3000"}};
  std::mt19937 random(20261210);
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  const fs::path file = dir / "random.tiecalc";
  for (int round = 0; round < 300; ++round) {
    Pages typed;
    for (const Setting& s : start) {
      CPage& page = *typed.set.Find(s.page);
      if (pick(4) != 0) page.UserType(page.IdOf(s.name), s.text);  // Ld is locked while Imax = Imin
    }
    for (int edit = 0; edit < 12; ++edit) {
      CPage& page = typed.set.Page(static_cast<int>(pick(4)));
      std::vector<const NamedControl*> inputs;
      for (const NamedControl& n : page.Names())
        if (n.input) inputs.push_back(&n);
      const NamedControl& n = *inputs[pick(inputs.size())];
      std::string text;
      if (page.KindOf(n.id) == ControlKind::CheckBox) {
        text = pick(2) ? "1" : "0";
      } else if (page.KindOf(n.id) == ControlKind::ComboBox) {
        text = n.values ? (*n.values)[pick(n.values->size())] : n.byIndex ? std::to_string(pick(5))
               : pick(2)                                    ? "Q345"
                                                            : "Q235";
      } else if (n.name == "Imin" && pick(2)) {
        text = page.GetText(page.IdOf("Imax"));  // a uniform rod
      } else {
        const char* odd[] = {"0", "-5", "", "abc", "1/0"};
        const double value = CPage::ReadFieldValue(page.GetText(n.id));
        text = pick(3) ? std::to_string(std::lround((value ? value : 1000) * (0.5 + pick(100) / 100.0)))
                       : odd[pick(std::size(odd))];
      }
      UserSetNamed(page, n, text);  // a locked input takes no typing
    }
    SaveCaseFile(file, CaptureCase(typed.named, "three-rod"));
    Pages opened;
    ApplyCase(ReadCaseFile(file, opened.named), opened.named);
    std::vector<std::string> shown = typed.Shown(), reopened = opened.Shown();
    // The greyed results of an invalid page are those of inputs it had
    // before, which the case does not hold.
    for (const auto& [name, page] : typed.named)
      if (page->ShowsInvalidInputs())
        for (std::vector<std::string>* lines : {&shown, &reopened})
          std::erase_if(*lines, [&, name = name, page = page](const std::string& line) {
            for (int id : page->StaleControls())
              for (const NamedControl& n : page->Names())
                if (n.id == id && !n.input && line.rfind(name + " " + n.name + " (locked)=", 0) == 0) return true;
            return false;
          });
    ASSERT_EQ(std::vector<std::string>{}, Differences(shown, reopened)) << "round " << round;
  }
}

// A locked input given a text the page does not show there is refused, as
// typing into it is on the command line; what the page wrote itself comes back.
TEST_F(CaseFiles, ALockedInputTakesOnlyWhatThePageWroteThere) {
  const std::string head = R"({"format": "tiecalc-case", "version": 1, "pages": )";
  const std::string example = R"("A": "800", "B": "800", "C": "800", "D": "800", "E": "800", "F": "800",
      "X1": "3000", "X2": "3000", "X3": "1200", "X4": "1200", "Y1": "4000", "Y2": "4000", "R": "100", "M": "300")";
  struct Row {
    std::string pages;
    const char* refusal;  // nullptr: taken
  } rows[] = {
      {R"({"four-rod-1": {)" + example + R"(, "L1": "5000"}})", "页面 four-rod-1 的输入项 L1 此时为只读，不能填入 “5000”（页面显示 “5279.99”）"},
      {R"({"four-rod-1": {)" + example + R"(, "manualL": "1", "L1": "5000"}})", nullptr},
      {R"({"four-rod-1": {)" + example + R"(, "L1": "5279.99"}})", nullptr},
      {R"({"four-rod-1": {)" + std::regex_replace(example, std::regex("4000"), "0") + R"(, "L1": "5000"}})", nullptr},
      {R"({"rod-check": {"form": "0", "Az": "1000"}})", "页面 rod-check 的输入项 Az 此时为只读，不能填入 “1000”（页面显示 “不适用”）"},
      {R"({"rod-check": {"form": "2", "delta": "8"}})", "输入项 delta 此时为只读"},
      {R"({"rod-check": {"L": "7000", "Imax": "5", "Imin": "5", "Ld": "6000"}})", nullptr},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.pages);
    Pages pages;
    const CaseState state = ParseCase(head + r.pages + "}", pages.named);
    if (!r.refusal) {
      ApplyCase(state, pages.named);
      for (const CasePage& p : state.pages)
        for (const NamedControl& n : pages.set.Find(p.name)->Names())
          for (const CaseInput& in : p.inputs)
            if (n.name == in.name) EXPECT_EQ(NamedText(*pages.set.Find(p.name), n), in.text) << in.name;
      continue;
    }
    try {
      ApplyCase(state, pages.named);
      ADD_FAILURE() << "not refused";
    } catch (const CCaseError& e) {
      EXPECT_NE(std::string(e.what()).find(r.refusal), std::string::npos) << e.what();
    }
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
      {R"({"format": "other", "format": "tiecalc-case", "version": 1})", "键 “format” 在同一对象中出现了不止一次"},
      {head + R"("pages": {"three-rod": {"A": "1", "B": "2", "A": "1"}}})", "键 “A” 在同一对象中出现了不止一次"},
      {head + R"("pages": {"rod-check": {}, "three-rod": {}, "rod-check": {}}})", "键 “rod-check”"},
      {head + R"("x": [{"k": 1, "k": 2}]})", "键 “k”"},
      {head + R"("pages": {"three-rod": {"A": "9\u0000"}}})", "页面 three-rod 的输入项 A 的文本含有控制字符"},
      {head + R"("pages": {"three-rod": {"B": "\t900"}}})", "输入项 B 的文本含有控制字符"},
      {head + R"("pages": {"rod-check": {"F": "1\u007f"}}})", "输入项 F 的文本含有控制字符"},
      {head + R"("pages": {"rod-check": {"G": "\u202e009"}}})", "输入项 G 的文本含有控制字符"},
      {head + "\"pages\": {\"rod-check\": {\"L\": \"5\u2069\"}}}", "输入项 L 的文本含有控制字符"},
      {head + R"("pages": {"rod-check": {"L": "\u2066\u2067\u2068\u202a"}}})", "输入项 L 的文本含有控制字符"},
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
  std::vector<std::pair<fs::path, const char*>> files = {{dir / "missing.tiecalc", "文件不存在"},
                                                        {dir / "folder.tiecalc", "这是一个文件夹，不是文件"},
                                                        {dir / "big.tiecalc", "文件大于 1 MiB"}};
#ifndef _WIN32
  // A pipe is refused by its name: opening it would wait for a writer.
  ASSERT_EQ(0, mkfifo((dir / "pipe.tiecalc").c_str(), 0666));
  fs::create_symlink("loop2.tiecalc", dir / "loop1.tiecalc");
  fs::create_symlink("loop1.tiecalc", dir / "loop2.tiecalc");
  files.insert(files.end(), {{dir / "pipe.tiecalc", "不是普通文件（是命名管道）"}, {dir / "loop1.tiecalc", "链接循环"}});
#endif
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

namespace tiecalc {
namespace {

// The section picked on the rod-check page comes back with its choice, its
// form and its edited state, over the fields as saved; a malformed section
// object is refused naming the field.
TEST_F(CaseFiles, SectionRoundTripAndRefusals) {
  Pages work;
  work.Set({{"rod-check", "form", "4"}, {"rod-check", "F", "120"}, {"rod-check", "L", "6000"}});
  RodSectionChoice choice;
  choice.profile = "L63x6", choice.width = 400, choice.depth = 400, choice.lacing = "∟40×4", choice.spacing = 400;
  ASSERT_EQ(work.set.RodCheck().ApplySection(choice), "");
  work.Set({{"rod-check", "Iz", "100000"}});
  SaveCaseFile(dir / "s.tiecalc", CaptureCase(work.named, "rod-check"));
  const std::string text = Slurp(dir / "s.tiecalc");
  EXPECT_NE(text.find(R"("section": {
        "form": 4,
        "profile": "L63x6",
        "pair": "single",)"), std::string::npos) << text;
  EXPECT_NE(text.find(R"("editedByHand": true)"), std::string::npos);

  Pages opened;
  ApplyCase(ReadCaseFile(dir / "s.tiecalc", opened.named), opened.named);
  EXPECT_EQ(std::vector<std::string>{}, Differences(work.Shown(), opened.Shown()));
  const CRodCheckPage& page = opened.set.RodCheck();
  ASSERT_TRUE(page.Section());
  EXPECT_EQ(page.SectionLine(), work.set.RodCheck().SectionLine());
  EXPECT_EQ(page.Section()->built.derivations.size(), work.set.RodCheck().Section()->built.derivations.size());
  // A case without a section writes none.
  Pages plain;
  EXPECT_EQ(WriteCase(CaptureCase(plain.named, "")).find("section"), std::string::npos);

  struct Refusal {
    const char* section;
    const char* reason;
  };
  const Refusal refusals[] = {
      {R"({"profile": "[20a"})", "页面 rod-check 的截面 section 的 form 应为 0..4 的整数"},
      {R"({"form": 1, "profile": 20})", "页面 rod-check 的截面 section 的 profile 不是文本"},
      {R"({"form": 1, "profile": "[20a", "width": -3})", "页面 rod-check 的截面 section 的 width 应为不小于0的数"},
      {R"({"form": 1, "profile": "[20a", "pair": "twin"})", "页面 rod-check 的截面 section 的 pair 应为 single、box、back-to-back"},
      {R"({"form": 1, "profile": "[20a", "colour": "red"})", "页面 rod-check 的截面 section 没有 “colour” 一项"},
      {R"([1])", "页面 rod-check 的截面 section 不是对象（{...}）"},
  };
  for (const Refusal& r : refusals) {
    const std::string file = std::string(R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"section": )") +
                             r.section + "}}}";
    try {
      ParseCase(file, opened.named);
      ADD_FAILURE() << r.section;
    } catch (const CCaseError& e) {
      EXPECT_EQ(std::string(e.what()), r.reason);
    }
  }
  // Well-formed but not buildable: refused when brought in.
  const CaseState unbuildable = ParseCase(
      R"({"format": "tiecalc-case", "version": 1, "pages": {"rod-check": {"section": {"form": 4, "profile": "[20a"}}}})",
      opened.named);
  Pages fresh;
  EXPECT_THROW(ApplyCase(unbuildable, fresh.named), CCaseError);
}

// The book object: read, written back the same, and refused where it says
// something the book cannot take.
TEST_F(CaseFiles, BookObjectRoundTripAndRefusals) {
  const std::string head = R"({"format": "tiecalc-case", "version": 1, "book": )";
  const std::string book = R"({
    "project": {"name": "某住宅楼", "crane": "QTZ80", "date": "2026-12-11"},
    "cases": [{"name": "工作状态", "R": "80", "M": "2*150"}, {"name": "非工作状态", "R": 120, "M": "0"}],
    "sections": [{"rods": [2, 4], "inputs": {"form": "4", "A": "1200", "section": {"form": 4, "profile": "L63x6"}}}],
    "levels": [{"name": "第一道", "height": "30.5", "pages": {"four-rod-1": {"Y1": "4000"}}},
               {"name": "第二道", "height": "", "pages": {}, "cases": [{"name": "工作状态", "R": "90", "M": "0"}]}],
    "level": 1})";
  Pages pages;
  const CaseState state = ParseCase(head + book + "}", pages.named);
  const CaseBook& b = state.book;
  EXPECT_EQ(b.project.name, "某住宅楼");
  EXPECT_EQ(b.project.date, "2026-12-11");
  ASSERT_EQ(b.cases.size(), 2u);
  EXPECT_EQ(b.cases[1], (CaseLoadCase{"非工作状态", "120", "0"}));
  ASSERT_EQ(b.sections.size(), 1u);
  EXPECT_EQ(b.SectionOf(4), &b.sections[0]);
  EXPECT_EQ(b.SectionOf(3), nullptr);
  ASSERT_TRUE(b.sections[0].page.section);
  ASSERT_EQ(b.levels.size(), 2u);
  EXPECT_EQ(b.levels[0].Find("four-rod-1")->inputs.at(0).text, "4000");
  EXPECT_EQ(b.levels[1].cases.at(0).R, "90");
  EXPECT_EQ(b.level, 1);
  // Written and read again: the same settings, the same text.
  const std::string written = WriteCase(state);
  EXPECT_EQ(WriteCase(ParseCase(written, pages.named)), written);
  EXPECT_EQ(WriteCase(CaptureCase(pages.named, "")).find("\"book\""), std::string::npos);

  const struct {
    const char* book;
    const char* reason;
  } refusals[] = {
      {R"([])", "计算书设置 book 不是对象"},
      {R"({"colour": 1})", "计算书设置 book 没有 “colour” 一项"},
      {R"({"project": {"owner": "x"}})", "工程信息 project 没有 “owner” 一项"},
      {R"({"cases": [{"name": "", "R": "1", "M": "0"}]})", "第 1 个工况 的名称为空"},
      {R"({"cases": [{"name": "a", "R": "1"}]})", "第 1 个工况 缺少 M"},
      {R"({"cases": [{"name": "a", "R": "1", "M": "0"}, {"name": "a", "R": "2", "M": "0"}]})", "工况 “a” 出现了不止一次"},
      {R"({"sections": [{"rods": [5], "inputs": {}}]})", "杆号应为 1..4 的整数"},
      {R"({"sections": [{"rods": [1], "inputs": {}}, {"rods": [1], "inputs": {}}]})", "杆 1 出现了不止一次"},
      {R"({"sections": [{"rods": [1], "inputs": {"Q": "1"}}]})", "页面 rod-check 没有输入项 “Q”"},
      {R"({"levels": [{"name": "一", "pages": {"rod-check": {}}}]})", "未知的力分析页 “rod-check”"},
      {R"({"levels": [{"name": "一"}], "level": 1})", "level 应为所显示附着道次的序号"},
  };
  for (const auto& r : refusals) {
    try {
      ParseCase(head + r.book + "}", pages.named);
      ADD_FAILURE() << r.book;
    } catch (const CCaseError& e) {
      EXPECT_NE(std::string(e.what()).find(r.reason), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace tiecalc
