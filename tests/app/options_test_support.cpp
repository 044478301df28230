#include "options_test_support.h"

#include <fstream>
#include <sstream>

#include "app/article_table.h"
#include "app/price_lists.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

COptionsTestApp::COptionsTestApp(const std::string& settingsText) {
  std::filesystem::create_directories(m_articles.File("settings"));
  std::filesystem::create_directories(m_articles.File("documents"));
  std::ofstream(m_articles.File("settings/TVR.INI"), std::ios::binary)
      << "[Database]\nPartnumPath=" << m_articles.Folder() << "\n"
      << settingsText;
  WriteTestArticleTable(ArticleTablePath());
  m_app.InitFolders(
      {m_articles.Folder(), m_articles.File("settings"), m_articles.File("documents")});
  m_app.ReadSettings();
}

void WriteTestArticleTable(const std::string& path) {
  WriteTestTable(path,
                 {{"REFERENCE", 'C', 22, 0}, {"DESIGN_1", 'C', 30, 0}, {"DESIGN_2", 'C', 12, 0}},
                 {{{"PRICE_LIST_1", "Public", "EUR"}},
                  {{"PRICE_LIST_2", "", ""}},
                  {{"QMA2500", "Straight 3 m", ""}},
                  {{"PRICE_LIST_6", "Six", "CHF"}}});
}

std::string ArticleNamesIn(const std::string& articleFolder, const std::string& reference) {
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly)) return "<no table>";
  if (!SeekArticle(table, reference)) return "<missing>";
  auto text = [&table](const char* field) {
    std::string value = table.FieldText(table.FieldIndex(field));
    return value.substr(0, value.find_last_not_of(' ') + 1);
  };
  return text("DESIGN_1") + "|" + text("DESIGN_2");
}

std::vector<CLanguageEntry> TestLanguages() {
  return {{"007--204", "Русский"}, {"033--0", "Français"}, {"044--0", "English"}};
}

std::string TestPriceListTexts(int number) {
  return number == kMsgDefaultPriceListName ? "Price list %1" : std::string();
}
