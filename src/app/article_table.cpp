#include "app/article_table.h"

#include "platform/file_lookup.h"
#include "platform/folders.h"

using tvr::platform::CDbfTable;

namespace {

std::string_view TrimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

std::string ArticleTablePath(const std::string& articleFolder) {
  std::string path = tvr::platform::FindFileNoCase(articleFolder, kArticleTableName);
  if (path.empty()) {
    path = tvr::platform::WithTrailingSlash(articleFolder) + std::string(kArticleTableName);
  }
  return path;
}

bool OpenArticleTable(CDbfTable& table, const std::string& articleFolder, CDbfTable::Mode mode,
                      std::string* error) {
  const std::string path = ArticleTablePath(articleFolder);
  if (!table.Open(path, mode)) {
    return Fail(error, table.Error().empty() ? "Cannot open " + path : table.Error());
  }
  const std::string tag(kArticleTagName);
  if (table.FieldIndex(kArticleKeyField) < 0) {
    table.Close();
    return Fail(error, "The article table " + path + " has no field REFERENCE");
  }
  // The tag lives in memory: made on the first open, reused when it is already there.
  if (!table.SelectTag(tag) && (!table.AddTag(tag, kArticleKeyField) || !table.SelectTag(tag))) {
    const std::string why = table.Error();
    table.Close();
    return Fail(error, why.empty() ? "Cannot index " + path : why);
  }
  return true;
}

bool SeekArticle(CDbfTable& table, std::string_view reference) {
  const std::string_view wanted = TrimRight(reference);
  if (wanted.empty()) return false;
  const int key = table.FieldIndex(kArticleKeyField);
  if (key < 0 || table.Seek(wanted) != CDbfTable::kSeekHit) return false;
  // Keys that begin with the reference lie together in tag order; the exact one, when
  // there is one, is among them.
  for (bool on = true; on; on = table.Next()) {
    const std::string text = table.FieldRawText(key);
    const std::string_view stored = TrimRight(text);
    if (stored.substr(0, wanted.size()) != wanted) return false;
    if (stored == wanted && !table.IsDeleted()) return true;
  }
  return false;
}
