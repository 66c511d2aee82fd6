#include "report/fragments/Resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Portable.h"
#include "platform/word/WordError.h"
#include "platform/word/WordEngine.h"
#include "report/fragments/FragmentFolder.h"
#include "report/fragments/Fragments.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ResourceTest, WritesEveryFragmentByteForByte) {
  FragmentFolder folder;
  for (const FragmentInfo& info : AllFragments()) {
    SCOPED_TRACE(info.fileName);
    const std::string path = folder.Path() + info.fileName;
    ASSERT_EQ(WriteResourceToFile(static_cast<int>(info.id), "doc", path), 1);
    const std::string compiled = ReadBytes(fs::path(TIECALC_FRAGMENT_DOCUMENTS) / info.fileName);
    ASSERT_FALSE(compiled.empty());
    EXPECT_EQ(ReadBytes(path), compiled);
  }
}

TEST(ResourceTest, TypeMatchesRegardlessOfCaseAndOtherTypesFindNothing) {
  FragmentFolder folder;
  const std::string path = folder.Path() + "x.doc";
  EXPECT_EQ(WriteResourceToFile(162, "DOC", path), 1);
  EXPECT_EQ(WriteResourceToFile(162, "Doc", path), 1);
  EXPECT_EQ(FindResourceData(162, "doc").size(), FindResourceData(162, "DOC").size());
  EXPECT_TRUE(FindResourceData(162, "BITMAP").empty());
  EXPECT_TRUE(FindResourceData(162, "do").empty());
  fs::remove(path);
  EXPECT_EQ(WriteResourceToFile(162, "BITMAP", path), 0);
  EXPECT_EQ(WriteResourceToFile(999, "doc", path), 0);  // no such fragment
  EXPECT_FALSE(fs::exists(path));
}

TEST(ResourceTest, ReplacesALeftOverFileAndFailsWhereNoFileCanBeMade) {
  FragmentFolder folder;
  const std::string path = folder.FilePath(FragmentId::ThreeRodAngles);
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(1 << 20, 'x');  // longer than the fragment
  }
  ASSERT_EQ(folder.Write(FragmentId::ThreeRodAngles), 1);
  const std::span<const unsigned char> data = FindResourceData(163, "doc");
  EXPECT_EQ(ReadBytes(path), std::string(reinterpret_cast<const char*>(data.data()), data.size()));
  EXPECT_EQ(WriteResourceToFile(163, "doc", folder.Path() + "no-such-folder/32.doc"), 0);
  EXPECT_EQ(WriteResourceToFile(163, "doc", folder.Path()), 0);  // a folder, not a file
}

// A fragment that was never written (an unknown id, a folder that cannot be
// written) is a clear failure of the document engine when it is inserted, not
// a crash.
TEST(ResourceTest, MissingFragmentFileFailsClearly) {
  FragmentFolder folder;
  const std::string path = folder.Path() + "999.doc";
  ASSERT_EQ(WriteResourceToFile(999, "doc", path), 0);
  const std::shared_ptr<IWordApplication> word = CreateWordEngine();
  word->Documents()->Add("", false, 0, true);
  try {
    word->Selection()->InsertFile(path, "", 0, 0, 0);
    ADD_FAILURE() << "inserted a file that is not there";
  } catch (const WordError& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
}

TEST(ResourceTest, ProgramDirectoryIsTheExecutablesFolder) {
  const std::string directory = ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), static_cast<char>(fs::path::preferred_separator));
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  ASSERT_LT(GetModuleFileNameW(nullptr, self, MAX_PATH), static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(fs::path(directory), fs::path(self).parent_path() / "");
#else
  EXPECT_EQ(fs::path(directory), fs::canonical("/proc/self/exe").parent_path() / "");
#endif

  EXPECT_EQ(ProgramDirectoryOf("/opt/tiecalc/bin/tiecalc"), "/opt/tiecalc/bin/");
  EXPECT_EQ(ProgramDirectoryOf("/opt/tiecalc/tiecalc.exe"), "/opt/tiecalc/");
  EXPECT_EQ(ProgramDirectoryOf("/opt/tiecalc/tiecalc.EXE"), "/opt/tiecalc/");  // not "/opt/tiecalc/tiecalc.EXE"
  EXPECT_EQ(ProgramDirectoryOf("/opt/v1.2/tiecalc"), "/opt/v1.2/");
  EXPECT_EQ(ProgramDirectoryOf("tiecalc"), "");
}

TEST(FragmentFolderTest, EachReportHasAPrivateFolderGoneAfterwards) {
  fs::path kept;
  {
    FragmentFolder one, two;
    EXPECT_NE(one.Path(), two.Path());
    EXPECT_EQ(one.Path().back(), static_cast<char>(fs::path::preferred_separator));
    ASSERT_TRUE(fs::is_directory(one.Path()));
#ifndef _WIN32  // no POSIX permission bits there
    EXPECT_EQ(fs::status(one.Path()).permissions() & fs::perms::all, fs::perms::owner_all);
#endif
    EXPECT_EQ(one.FilePath(FragmentId::RadiusSolidWeb), one.Path() + "sf1.doc");
    // write and insert each, then delete each in the same order
    const std::span<const FragmentId> ids = ReportFragments(FragmentReport::RodCheck, 0);
    for (FragmentId id : ids) {
      EXPECT_EQ(one.Write(id), 1);
      EXPECT_TRUE(fs::is_regular_file(one.FilePath(id)));
      EXPECT_TRUE(fs::is_empty(two.Path()));
    }
    for (FragmentId id : ids) one.Delete(id);
    EXPECT_TRUE(fs::is_empty(one.Path()));
    EXPECT_THROW(one.Delete(FragmentId::RadiusSolidWeb), std::runtime_error);  // gone already
    // files left behind by a report that ended early go with the folder
    ASSERT_EQ(two.Write(FragmentId::ThreeRodModel), 1);
    kept = two.Path();
  }
  EXPECT_FALSE(fs::exists(kept));
}

}  // namespace
}  // namespace tiecalc
