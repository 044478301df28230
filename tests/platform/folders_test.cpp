#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tvr::platform {
namespace {

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = std::filesystem::temp_directory_path() /
             ("tvr-folders-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_root);
    m_savedConfig = Saved("XDG_CONFIG_HOME");
    m_savedDocuments = Saved("XDG_DOCUMENTS_DIR");
    m_savedHome = Saved("HOME");
  }
  void TearDown() override {
    Restore("XDG_CONFIG_HOME", m_savedConfig);
    Restore("XDG_DOCUMENTS_DIR", m_savedDocuments);
    Restore("HOME", m_savedHome);
    std::filesystem::remove_all(m_root);
  }
  static std::pair<bool, std::string> Saved(const char* name) {
    const char* value = std::getenv(name);
    return {value != nullptr, value ? value : ""};
  }
  static void Restore(const char* name, const std::pair<bool, std::string>& saved) {
    if (saved.first) ::setenv(name, saved.second.c_str(), 1);
    else ::unsetenv(name);
  }
  std::filesystem::path m_root;
  std::pair<bool, std::string> m_savedConfig, m_savedDocuments, m_savedHome;
};

TEST_F(FoldersTest, SettingsFolderIsCreatedBelowXdgConfigHome) {
  std::string config = (m_root / "cfg" / "nested").string();
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(SettingsFolder(), config + "/TVR73/");
  EXPECT_TRUE(IsFolder(config + "/TVR73"));
}

TEST_F(FoldersTest, SettingsFolderFallsBackToHomeConfigWhenXdgIsRelativeOrUnset) {
  ::setenv("HOME", m_root.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
  EXPECT_EQ(SettingsFolder(), m_root.string() + "/.config/TVR73/");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsFolder(), m_root.string() + "/.config/TVR73/");
}

TEST_F(FoldersTest, SettingsFolderIsEmptyWhenItCannotBeCreated) {
  std::filesystem::path blocker = m_root / "file";
  { std::FILE* file = std::fopen(blocker.c_str(), "w"); std::fclose(file); }
  ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
  EXPECT_EQ(SettingsFolder(), "");
}

TEST_F(FoldersTest, DocumentsFolderPrefersXdgThenDocumentsThenHome) {
  ::setenv("HOME", m_root.c_str(), 1);
  ::unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(DocumentsFolder(), m_root.string() + "/");
  std::filesystem::create_directories(m_root / "Documents");
  EXPECT_EQ(DocumentsFolder(), m_root.string() + "/Documents/");
  std::filesystem::create_directories(m_root / "Docs");
  ::setenv("XDG_DOCUMENTS_DIR", (m_root / "Docs").c_str(), 1);
  EXPECT_EQ(DocumentsFolder(), m_root.string() + "/Docs/");
  ::setenv("XDG_DOCUMENTS_DIR", (m_root / "missing").c_str(), 1);
  EXPECT_EQ(DocumentsFolder(), m_root.string() + "/Documents/");
}

TEST(WithTrailingSlash, AddsOneSlashOnlyWhereMissing) {
  EXPECT_EQ(WithTrailingSlash(""), "");
  EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
  EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
}

}  // namespace
}  // namespace tvr::platform
