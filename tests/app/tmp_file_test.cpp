#include "app/tmp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "process_test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(TmpFileTest, CreatesAnEmptyUniqueFileThatTheDestructorDeletes) {
  CScriptFolder folder;
  std::string first, second;
  {
    CTmpFile a(folder.Folder());
    CTmpFile b(folder.Folder());
    first = a.GetFilePath();
    second = b.GetFilePath();
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), folder.Path());
    EXPECT_EQ(fs::path(first).filename().string().rfind("~TMP", 0), 0u);
    EXPECT_TRUE(fs::exists(first));
    EXPECT_EQ(fs::file_size(first), 0u);
  }
  EXPECT_FALSE(fs::exists(first));  // never opened, still deleted
  EXPECT_FALSE(fs::exists(second));
}

TEST(TmpFileTest, ReopenWritesAndReadsByPath) {
  CScriptFolder folder;
  std::string path;
  {
    CTmpFile file(folder.Folder());
    path = file.GetFilePath();
    ASSERT_TRUE(file.Reopen(std::ios::out | std::ios::trunc));
    file.Stream() << "REF1\nREF2\n";
    ASSERT_TRUE(file.Reopen(std::ios::in));
    std::string line;
    std::getline(file.Stream(), line);
    EXPECT_EQ(line, "REF1");
    EXPECT_TRUE(file.IsOpen());
  }
  EXPECT_FALSE(fs::exists(path));  // deleted while open too
}

TEST(TmpFileTest, MissingFolderThrows) {
  CScriptFolder folder;
  EXPECT_THROW(CTmpFile(folder.Folder() + "missing/"), std::system_error);
  EXPECT_THROW(CTmpFile(std::string()), std::system_error);
}

}  // namespace
