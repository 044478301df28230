#include "options_ui_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/article_table.h"
#include "app/current_language.h"
#include "app/language_list.h"
#include "app/message_text.h"
#include "app/start_lists.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

void WriteArticleTable(const std::string& path) {
  CDbfTable table;
  ASSERT_TRUE(table.Create(
      path, {{"REFERENCE", 'C', 22, 0}, {"DESIGN_1", 'C', 30, 0}, {"DESIGN_2", 'C', 12, 0}}))
      << table.Error();
  const std::vector<std::vector<std::string>> records = {{"PRICE_LIST_1", "Public", "EUR"},
                                                         {"PRICE_LIST_2", "", ""},
                                                         {"QMA2500", "Straight 3 m", ""},
                                                         {"PRICE_LIST_6", "Six", "CHF"}};
  for (const auto& record : records) {
    ASSERT_TRUE(table.Append()) << table.Error();
    for (int field = 0; field < 3; ++field)
      table.Assign(field, record[static_cast<std::size_t>(field)]);
  }
  ASSERT_TRUE(table.Close()) << table.Error();
}

}  // namespace

COptionsFixture::COptionsFixture(const std::string& settingsLines) {
  std::filesystem::create_directories(folder.Path("articles"));
  WriteArticleTable(ArticleTablePath());
  folder.WriteSettings(settingsLines, {}, ArticleFolder());
  app.InitFolders({TVR_PROGRAM_DIR, folder.SettingsFolder(), folder.Path("documents")});
  app.ReadSettings();
  UseProgramLanguage("044");
}

COptionsFixture::~COptionsFixture() {
  QApplication::processEvents();
  CCurrentLanguage::Instance().Reset();
}

COptionsContext COptionsFixture::Context() {
  COptionsContext context;
  context.app = &app;
  context.languages = BuildLanguageList(ListLanguageFiles(app.CatalogueFolder()));
  context.devices =
      LoadDeviceList(app.CatalogueFolder(), [](int n) { return StringText(n); }).entries;
  return context;
}

std::string COptionsFixture::Setting(const std::string& section, const std::string& key) const {
  return CProfile(folder.SettingsFolder() + "TVR.INI").ReadProfileText(section, key, "<none>");
}

std::string COptionsFixture::ArticleBytes() const {
  std::ifstream in(ArticleTablePath(), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string COptionsFixture::ArticleNames(const std::string& reference) const {
  CDbfTable table;
  if (!OpenArticleTable(table, ArticleFolder(), CDbfTable::Mode::ReadOnly)) return "<no table>";
  if (!SeekArticle(table, reference)) return "<missing>";
  auto text = [&table](const char* field) {
    std::string value = table.FieldText(table.FieldIndex(field));
    return value.substr(0, value.find_last_not_of(' ') + 1);
  };
  return text("DESIGN_1") + "|" + text("DESIGN_2");
}

void OnNextOptionsSheet(std::function<void(COptionsSheet&)> action) {
  QTimer::singleShot(0, [action = std::move(action)] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* sheet = qobject_cast<COptionsSheet*>(widget);
      if (sheet && sheet->isVisible()) {
        action(*sheet);
        return;
      }
    }
    ADD_FAILURE() << "no options sheet came up";
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->done(-1);
  });
}
