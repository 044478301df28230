#include "options_ui_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <filesystem>

#include "app/current_language.h"
#include "app/language_list.h"
#include "app/message_text.h"
#include "app/start_lists.h"

COptionsFixture::COptionsFixture(const std::string& settingsLines) {
  std::filesystem::create_directories(folder.Path("articles"));
  WriteTestArticleTable(ArticleTablePath());
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
