// Reports that cannot be finished: the chosen path is left as it was, no
// fragment file stays behind, and the error ends the command with its text;
// a fragment file that cannot be deleted after the save loses nothing.

#include <filesystem>
#include <fstream>
#include <functional>

#include "pages/ThreeRod.h"
#include "platform/file/AtomicFile.h"
#include "platform/word/WordError.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

const Entries kExample = {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"},
                          {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"}, {"H", "5000"},
                          {"R", "100"}, {"M", "200"}, {"theta", "30"}};

// The embedded engine with a hook on the selection's file insertion.
using InsertHook = std::function<void(const std::string& fileName)>;

class CHookedSelection : public IWordSelection {
 public:
  CHookedSelection(std::shared_ptr<IWordSelection> inner, InsertHook hook)
      : m_inner(std::move(inner)), m_hook(std::move(hook)) {}
  void SetText(const std::string& t) override { m_inner->SetText(t); }
  std::shared_ptr<IWordFont> GetFont() override { return m_inner->GetFont(); }
  void SetFont(const std::shared_ptr<IWordFont>& f) override { m_inner->SetFont(f); }
  std::shared_ptr<IWordParagraphFormat> GetParagraphFormat() override { return m_inner->GetParagraphFormat(); }
  void SetParagraphFormat(const std::shared_ptr<IWordParagraphFormat>& f) override { m_inner->SetParagraphFormat(f); }
  std::shared_ptr<IWordRange> GetRange() override { return m_inner->GetRange(); }
  void TypeText(const std::string& t) override { m_inner->TypeText(t); }
  void TypeParagraph() override { m_inner->TypeParagraph(); }
  void InsertFile(const std::string& name, const std::string& range, int16_t c, int16_t l, int16_t a) override {
    m_hook(name);
    m_inner->InsertFile(name, range, c, l, a);
  }

 private:
  std::shared_ptr<IWordSelection> m_inner;
  InsertHook m_hook;
};

// Runs after the engine has quitted.
using QuitHook = std::function<void()>;

class CHookedApplication : public IWordApplication {
 public:
  CHookedApplication(std::shared_ptr<IWordApplication> inner, InsertHook hook, QuitHook quitHook)
      : m_inner(std::move(inner)), m_hook(std::move(hook)), m_quitHook(std::move(quitHook)) {}
  std::shared_ptr<IWordDocuments> Documents() override { return m_inner->Documents(); }
  std::shared_ptr<IWordDocument> ActiveDocument() override { return m_inner->ActiveDocument(); }
  std::shared_ptr<IWordSelection> Selection() override {
    std::shared_ptr<IWordSelection> s = m_inner->Selection();
    return s ? std::make_shared<CHookedSelection>(s, m_hook) : nullptr;
  }
  void Quit(int16_t s, int16_t f, int16_t r) override {
    m_inner->Quit(s, f, r);
    if (m_quitHook) m_quitHook();
  }

 private:
  std::shared_ptr<IWordApplication> m_inner;
  InsertHook m_hook;
  QuitHook m_quitHook;
};

class CHookedRegistry : public IWordClassRegistry {
 public:
  explicit CHookedRegistry(InsertHook hook, QuitHook quitHook = nullptr)
      : m_hook(std::move(hook)), m_quitHook(std::move(quitHook)) {}
  std::optional<std::string> LookupClass(const std::string& p) override { return m_inner.LookupClass(p); }
  std::shared_ptr<IWordRunningInstance> GetRunningInstance(const std::string&) override { return nullptr; }
  std::shared_ptr<IWordApplication> CreateInstance(const std::string& id) override {
    return std::make_shared<CHookedApplication>(m_inner.CreateInstance(id), m_hook, m_quitHook);
  }

 private:
  CEmbeddedWordRegistry m_inner;
  InsertHook m_hook;
  QuitHook m_quitHook;
};

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ReportFailure : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    InstallReport(m_s.page);
    TypeAll(m_s.page, kExample);
  }
  // Presses the report button with the save dialog answered by path and the
  // engine behind registry; returns the messages shown.
  std::vector<CScriptedDesktop::Message> Press(const std::string& path,
                                               std::shared_ptr<IWordClassRegistry> registry) {
    m_s.desktop.QueueSavePath(path);
    // The button's handler uses the embedded engine; these cases need theirs.
    m_s.page.OnClick(CThreeRod::kReportButton, [&] { WriteForceReport(m_s.page, m_s.desktop, registry); });
    EXPECT_TRUE(m_s.page.UserClick(CThreeRod::kReportButton));
    return m_s.desktop.Messages();
  }
  Started<CThreeRod> m_s;
};

TEST_F(ReportFailure, UnwritablePathEndsWithTheErrorAndLeavesNothing) {
  const std::string path = Out("no such folder/r.doc");
  const auto messages = Press(path, Recorder());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(messages[0].text.rfind("报告文件输出失败!\n", 0), 0u) << messages[0].text;
  EXPECT_NE(messages[0].text.find("r.doc"), std::string::npos) << "the error names the file";
  EXPECT_TRUE(OutNames().empty());
  EXPECT_TRUE(TmpNames().empty());
}

TEST_F(ReportFailure, FolderChosenAsTheFileIsLeftAsItWas) {
  const std::string path = Out("a folder");
  fs::create_directory(path);
  const auto messages = Press(path, Recorder());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("报告文件输出失败!\n", 0), 0u) << messages[0].text;
  EXPECT_TRUE(fs::is_directory(path)) << "an empty folder at the chosen path survives the failed report";
  EXPECT_EQ(OutNames(), std::vector<std::string>{"a folder"});
  EXPECT_TRUE(TmpNames().empty());
}

TEST_F(ReportFailure, FailedInsertionRestoresTheFileThatWasThere) {
  const std::string path = Out("kept.doc");
  WriteFile(path, "an older report");
  const auto registry = std::make_shared<CHookedRegistry>([](const std::string& name) {
    if (name.ends_with("33.doc")) throw WordError("cannot insert " + name);
  });
  const auto messages = Press(path, registry);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text.find("cannot insert"), std::string::npos) << messages[0].text;
  EXPECT_EQ(ReadFile(path), "an older report");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"kept.doc"});
  EXPECT_TRUE(TmpNames().empty()) << "the fragment files go too";
}

TEST_F(ReportFailure, FailedInsertionLeavesNoNewFile) {
  const auto registry = std::make_shared<CHookedRegistry>([](const std::string& name) {
    if (name.ends_with("32.doc")) throw WordError("cannot insert " + name);
  });
  Press(Out("new.doc"), registry);
  EXPECT_TRUE(OutNames().empty());
  EXPECT_TRUE(TmpNames().empty());
}

// A user named 张三 has his temporary folder under C:\Users\张三\: the
// fragments are written there and inserted, and a Chinese file name is kept.
TEST_F(ReportFailure, ChineseTemporaryFolderAndFileNameKeepEveryFragment) {
  Press(Out("plain.doc"), Recorder());
  const auto inserted = [&] {
    const std::vector<std::string> calls = Recorder()->Calls();
    return std::count_if(calls.begin(), calls.end(),
                         [](const std::string& call) { return call.rfind("Selection.InsertFile(", 0) == 0; });
  };
  const auto plainInsertions = inserted();
  ASSERT_GT(plainInsertions, 0);

  const std::string chineseTmp = Out("张三/Temp");
  fs::create_directories(PathFromUtf8(chineseTmp));
  SetTemporaryFolder(chineseTmp);
  Recorder()->Clear();
  const std::string path = Out("三杆附着 计算书.doc");
  const auto messages = Press(path, Recorder());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "报告文件输出成功!");
  EXPECT_EQ(inserted(), plainInsertions);
  EXPECT_EQ(ReadFile(PathFromUtf8(path)).substr(0, 2), "PK");
  EXPECT_TRUE(fs::is_empty(PathFromUtf8(chineseTmp))) << "the fragment folder goes";
}

TEST_F(ReportFailure, SuccessfulReportReplacesTheFileThatWasThere) {
  const std::string path = Out("replaced.doc");
  WriteFile(path, "an older report");
  const auto messages = Press(path, Recorder());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  EXPECT_EQ(ReadFile(path).substr(0, 2), "PK");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"replaced.doc"}) << "no copy of the old file is left";
}

TEST_F(ReportFailure, ThePathHoldsTheOldReportUntilTheNewOneTakesItsPlaceThroughALink) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  const std::string real = Out("real.doc"), link = Out("link.doc");
  WriteFile(real, "an older report");
  fs::create_symlink(real, link);
  // What a reader of the path finds while the report is being written.
  std::vector<std::string> seen;
  const auto messages =
      Press(link, std::make_shared<CHookedRegistry>([&](const std::string&) { seen.push_back(ReadFile(link)); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  ASSERT_FALSE(seen.empty());
  for (const std::string& text : seen) EXPECT_EQ(text, "an older report");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real).substr(0, 2), "PK");
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"link.doc", "real.doc"}));
}

TEST_F(ReportFailure, StaleFilesOfAKilledReportAreRemovedAndOnlyThey) {
  TIECALC_SKIP_ON_WINDOWS("ageing a folder: its C runtime sets no folder's time (last_write_time)");
  const std::string path = Out("r.doc");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(20);
  const std::string temporary = file::TemporaryPathBeside(path), fresh = file::TemporaryPathBeside(path);
  WriteFile(temporary, "PK half");
  fs::last_write_time(temporary, old);
  WriteFile(fresh, "another report at work");
  WriteFile(Out("r.doc.tiecalc-1.bak"), "not ours to judge");
  const fs::path folder = fs::temp_directory_path() / "tiecalc-report-abcdefghijkl";
  fs::create_directories(folder);
  WriteFile((folder / "31.doc").string(), "fragment");
  fs::last_write_time(folder / "31.doc", old);
  fs::last_write_time(folder, old);
  Press(path, Recorder());
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_TRUE(fs::exists(Out("r.doc.tiecalc-1.bak")));
}

TEST_F(ReportFailure, EngineStepThatGivesNoDocumentStopsWithoutSuccess) {
  Recorder()->Faults().noOpenedDocument = true;
  const auto messages = Press(Out("open.doc"), Recorder());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Document获取失败!");
  EXPECT_TRUE(OutNames().empty()) << "the blank document saved first is removed";
  EXPECT_TRUE(TmpNames().empty());
}

TEST_F(ReportFailure, FragmentFolderThatCannotBeMadeStopsBeforeTheEngine) {
  const std::string notAFolder = Out("plain file");
  WriteFile(notAFolder, "");
  SetTemporaryFolder(notAFolder);
  const auto messages = Press(Out("r.doc"), Recorder());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Error);
  EXPECT_TRUE(Recorder()->Calls().empty());
  EXPECT_EQ(OutNames(), std::vector<std::string>{"plain file"});
}

TEST_F(ReportFailure, EngineErrorWhenQuittingAfterTheSaveKeepsTheSavedReport) {
  const auto registry = std::make_shared<CHookedRegistry>(
      [](const std::string&) {}, [] { throw WordError("the engine failed while quitting"); });
  const std::string path = Out("quit.doc");
  const auto messages = Press(path, registry);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Error);
  EXPECT_NE(messages[0].text.find("the engine failed while quitting"), std::string::npos) << messages[0].text;
  EXPECT_EQ(OutNames(), std::vector<std::string>{"quit.doc"}) << "the report saved before quitting stays";
  EXPECT_TRUE(TmpNames().empty());
  const std::vector<std::string> p = ReadBack(path);
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  EXPECT_TRUE(LastText(p).ends_with(kThreeRodExampleLastLine)) << Joined(p);
}

TEST_F(ReportFailure, FragmentFileThatCannotBeDeletedKeepsTheSavedReport) {
  // While the last fragment goes in, the first one's file disappears, so its
  // deletion after the save fails.
  const auto registry = std::make_shared<CHookedRegistry>([](const std::string& name) {
    if (name.ends_with("33.doc")) fs::remove(fs::path(name).parent_path() / "31.doc");
  });
  const std::string path = Out("saved.doc");
  const auto messages = Press(path, registry);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  EXPECT_EQ(messages[1].icon, MessageIcon::Exclamation);
  EXPECT_NE(messages[1].text.find("31.doc"), std::string::npos) << messages[1].text;
  const std::vector<std::string> p = ReadBack(path);
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  ASSERT_FALSE(p.empty());
  EXPECT_TRUE(LastText(p).ends_with(kThreeRodExampleLastLine)) << Joined(p);
  EXPECT_TRUE(TmpNames().empty());
}

}  // namespace
}  // namespace tiecalc
