#include "sample_articles_support.h"

#include "app/article_table.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  return text;
}

// What the article lacks, or an empty text.
std::string Lacking(const CDbfTable& table) {
  std::string lacking;
  auto number = [&](const char* field) {
    return table.FieldDouble(table.FieldIndex(field)).value_or(0.0);
  };
  auto text = [&](const char* field) { return Trimmed(table.FieldText(table.FieldIndex(field))); };
  if (number("PRIX_1") <= 0) lacking += " price";
  if (number("TEMPS") <= 0) lacking += " labour";
  if (number("MASSE") <= 0) lacking += " weight";
  if (text("DESIGN_1").empty()) lacking += " French";
  if (text("DESIGN_2").empty()) lacking += " English";
  return lacking;
}

}  // namespace

std::string ArticleShortfalls(const CMadeReferences& references) {
  CDbfTable table;
  std::string error;
  if (!OpenArticleTable(table, TVR_PROGRAM_DIR "/BD/", CDbfTable::Mode::ReadOnly, &error))
    return "the article table does not open: " + error + "\n";
  std::string shortfalls;
  for (const auto& [reference, what] : references) {
    const std::string lacking = SeekArticle(table, reference) ? Lacking(table) : " article";
    if (!lacking.empty()) shortfalls += reference + " (" + what + ") lacks" + lacking + "\n";
  }
  return shortfalls;
}
