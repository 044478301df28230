#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/environment_guard.h"
#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

class FoldersTest : public ::testing::Test {
 protected:
  CTempFolder m_root{"folders"};
  CEnvironmentGuard m_environment{"XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "HOME"};
};

TEST_F(FoldersTest, SettingsFolderFallsBackToHomeConfigWhenXdgIsRelativeOrUnset) {
  m_environment.Set("HOME", m_root.Path());
  m_environment.Set("XDG_CONFIG_HOME", "relative/path");
  EXPECT_EQ(SettingsFolder(), m_root.Path() + "/.config/TVR73/");
  m_environment.Unset("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsFolder(), m_root.Path() + "/.config/TVR73/");
}

TEST_F(FoldersTest, SettingsFolderIsEmptyWhenItCannotBeCreated) {
  std::string blocker = m_root.File("file");
  {
    std::FILE* file = std::fopen(blocker.c_str(), "w");
    std::fclose(file);
  }
  m_environment.Set("XDG_CONFIG_HOME", blocker);
  EXPECT_EQ(SettingsFolder(), "");
}

TEST_F(FoldersTest, DocumentsFolderPrefersXdgThenDocumentsThenHome) {
  m_environment.Set("HOME", m_root.Path());
  m_environment.Unset("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(DocumentsFolder(), m_root.Path() + "/");
  std::filesystem::create_directories(m_root.File("Documents"));
  EXPECT_EQ(DocumentsFolder(), m_root.Path() + "/Documents/");
  std::filesystem::create_directories(m_root.File("Docs"));
  m_environment.Set("XDG_DOCUMENTS_DIR", m_root.File("Docs"));
  EXPECT_EQ(DocumentsFolder(), m_root.Path() + "/Docs/");
  m_environment.Set("XDG_DOCUMENTS_DIR", m_root.File("missing"));
  EXPECT_EQ(DocumentsFolder(), m_root.Path() + "/Documents/");
}

TEST(WithTrailingSlash, AddsOneSlashOnlyWhereMissing) {
  EXPECT_EQ(WithTrailingSlash(""), "");
  EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
  EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
}

}  // namespace
}  // namespace tvr::platform
