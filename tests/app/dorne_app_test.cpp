#include "app/dorne_app.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/environment_guard.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class DorneAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_root.File("home/Documents"));
    fs::create_directories(m_root.File("settings"));
    m_environment.Set("XDG_CONFIG_HOME", m_root.File("config"));
    m_environment.Set("HOME", m_root.File("home"));
    m_environment.Unset("XDG_DOCUMENTS_DIR");
  }
  void WriteSettings(std::string_view content) { m_root.WriteFile("settings/TVR.INI", content); }
  CAppFolders Folders() const {
    return {"/opt/tvr", m_root.File("settings"), m_root.File("home/Documents")};
  }

  CTempFolder m_root{"app"};
  CEnvironmentGuard m_environment{"XDG_CONFIG_HOME", "HOME", "XDG_DOCUMENTS_DIR"};
};

TEST_F(DorneAppTest, CatalogueAndArticleFoldersFollowTheirSettings) {
  const struct {
    const char *settings, *catalogue, *article, *guards;
  } cases[] = {{"", "/opt/tvr/DBF/", "/opt/tvr/BD/", "missing keys: program folder"},
               {"[DBF Database]\nDirectory=Default\n[Database]\nPartnumPath=Default\n",
                "/opt/tvr/DBF/", "/opt/tvr/BD/", "\"Default\" behaves like empty"},
               {"[DBF Database]\nDirectory=\n", "/opt/tvr/DBF/", "/opt/tvr/BD/", "empty value"},
               {"[DBF Database]\nDirectory=/data/cat\n[Database]\nPartnumPath=/data/art/\n",
                "/data/cat/", "/data/art/", "own folders, a slash added where missing"}};
  for (const auto& c : cases) {
    WriteSettings(c.settings);
    CDorneApp app;
    app.InitFolders(Folders());
    EXPECT_EQ(app.CatalogueFolder(), c.catalogue) << c.guards;
    EXPECT_EQ(app.ArticleFolder(), c.article) << c.guards;
  }
}

TEST_F(DorneAppTest, FoldersOfThisComputerComeFromTheEnvironment) {
  CDorneApp app;
  app.InitFolders();
  std::string settings = m_root.File("config/TVR73") + "/";
  EXPECT_EQ(app.SettingsFolder(), settings);
  EXPECT_EQ(app.Profile().Path(), settings + "TVR.INI");
  EXPECT_TRUE(fs::is_directory(settings));
  std::string documents = m_root.File("home/Documents") + "/";
  EXPECT_EQ(app.ProjectsFolder(), documents);
  EXPECT_EQ(app.InitialProjectsFolder(), documents);
  EXPECT_EQ(app.CatalogueFolder(), app.ProgramFolder() + "DBF/");
  EXPECT_EQ(app.ProgramFolder().back(), '/');
}

TEST_F(DorneAppTest, SettingsAreReadFromTheSettingsFileAndWrittenBack) {
  WriteSettings("[User]\nName=Ann\n[Design]\nCopper=1\n");
  CDorneApp app;
  app.InitFolders(Folders());
  app.ReadSettings();
  EXPECT_EQ(app.Settings().userName, "Ann");
  EXPECT_EQ(app.Settings().copper, 1);
  EXPECT_EQ(app.WriteProfileInt("Language", "ID", 44), 1);
  EXPECT_EQ(app.ReadProfileText("language", "id", ""), "44");
  EXPECT_EQ(app.ReadProfileInt("Language", "ID", 0), 44);
}

TEST_F(DorneAppTest, WithoutASettingsFolderReadsGiveDefaultsAndWritesFail) {
  CDorneApp app;
  app.InitFolders({"/opt/tvr", "", "/tmp"});
  app.ReadSettings();
  EXPECT_EQ(app.Settings(), CAppSettings());
  EXPECT_EQ(app.WriteProfileInt("Design", "Support", 2), 0);
  EXPECT_FALSE(app.WriteProfileText("User", "Name", "Ann"));
  EXPECT_FALSE(fs::exists("TVR.INI"));  // nothing written to the current folder
}

TEST_F(DorneAppTest, TheCurrentCatalogueTakesOnlyZeroToFifteen) {
  CDorneApp app;
  for (int number : {12, 16, -1}) app.SetCurrentCatalogueNumber(number);
  EXPECT_EQ(app.CurrentCatalogue(), 12);
}

}  // namespace
