#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dorne_app.h"
#include "app/options_frame.h"
#include "app/ui/options_sheet.h"
#include "options_test_support.h"
#include "shell_test_support.h"

// An application on a temporary settings folder, speaking the program's English, whose
// article folder holds a small article table: PRICE_LIST_1 ("Public", "EUR"),
// PRICE_LIST_2 (no name) and PRICE_LIST_6 ("Six", "CHF").
class COptionsFixture {
 public:
  explicit COptionsFixture(const std::string& settingsLines = {});
  ~COptionsFixture();

  // The application, the program's languages (English and French) and the sample
  // catalogue's devices.
  COptionsContext Context();
  std::string Setting(const std::string& section, const std::string& key) const;
  std::string ArticleFolder() const { return folder.Path("articles/"); }
  std::string ArticleTablePath() const { return folder.Path("articles/ARTICLE.DBU"); }
  std::string ArticleBytes() const { return ReadWholeFile(ArticleTablePath()); }
  std::string ArticleNames(const std::string& reference) const {
    return ArticleNamesIn(ArticleFolder(), reference);
  }

  CShellTestFolder folder;
  CDorneApp app;
};

// Runs the action on the next options sheet that is shown (from the event loop of its
// exec); the action ends it (accept or reject). A sheet that did not come up ends
// whatever waits.
void OnNextOptionsSheet(std::function<void(COptionsSheet&)> action);
