#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/dorne_app.h"
#include "app/language_list.h"
#include "app/options_frame.h"
#include "catalogue_test_support.h"

// An article table of the records PRICE_LIST_1 ("Public", "EUR"), PRICE_LIST_2 (no name),
// QMA2500 and PRICE_LIST_6 ("Six", "CHF"), at the path.
void WriteTestArticleTable(const std::string& path);
// DESIGN_1|DESIGN_2 of the reference's record in the folder's article table, "<missing>"
// without one.
std::string ArticleNamesIn(const std::string& articleFolder, const std::string& reference);

// An application object on a settings file and an article table of its own, for the
// tests of the options sheet's values.
class COptionsTestApp {
 public:
  // settingsText is the first content of TVR.INI; the article table holds the records
  // PRICE_LIST_1 ("Public", "EUR"), PRICE_LIST_2 (no name) and PRICE_LIST_6 ("Six").
  explicit COptionsTestApp(const std::string& settingsText = std::string());

  CDorneApp& App() { return m_app; }
  std::string ArticleFolder() const { return m_articles.Folder(); }
  std::string ArticleTablePath() const { return m_articles.File("ARTICLE.DBU"); }
  const CTempFolder& Folder() const { return m_articles; }
  std::string ArticleNames(const std::string& reference) const {
    return ArticleNamesIn(ArticleFolder(), reference);
  }

 private:
  CTempFolder m_articles{"catalogue"};
  CDorneApp m_app;
};

// The languages of a program with English, French and Russian files.
std::vector<CLanguageEntry> TestLanguages();

// "Price list %1" for the default names; nothing else.
std::string TestPriceListTexts(int number);

// Records what the options sheet asked of its frame, in order.
class CRecordingOptionsFrame : public COptionsFrame {
 public:
  void RebuildScene() override { calls.push_back("RebuildScene"); }
  void RefreshAllRuns() override { calls.push_back("RefreshAllRuns"); }
  void UpdateAllViews() override { calls.push_back("UpdateAllViews"); }
  void SetModifiedFlag(bool modified) override {
    calls.push_back(modified ? "SetModifiedFlag(true)" : "SetModifiedFlag(false)");
  }
  void BuildCatalogueMenu() override { calls.push_back("BuildCatalogueMenu"); }

  std::vector<std::string> calls;
};
