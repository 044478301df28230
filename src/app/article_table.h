#pragma once

#include <string>
#include <string_view>

#include "platform/dbf_table.h"

// The article table "ARTICLE.DBU" of the article folder: every catalogue article with
// its designations, prices per price list, installation time and weight, looked up by
// reference through the tag "TAG_REF" on the field REFERENCE.

inline constexpr std::string_view kArticleTableName = "ARTICLE.DBU";
inline constexpr std::string_view kArticleTagName = "TAG_REF";
inline constexpr std::string_view kArticleKeyField = "REFERENCE";

// The path of the article table of the folder: its file in any letter case, else the
// folder followed by "ARTICLE.DBU".
std::string ArticleTablePath(const std::string& articleFolder);

// Opens the article table of the folder (its file name in any letter case) and selects
// the tag TAG_REF. False when the table is missing, damaged or has no REFERENCE field;
// error (when given) then says why, naming the file.
bool OpenArticleTable(tvr::platform::CDbfTable& table, const std::string& articleFolder,
                      tvr::platform::CDbfTable::Mode mode, std::string* error = nullptr);

// Seeks the reference (trailing blanks ignored) in the selected tag of an open article
// table. True when the cursor then stands on a record that is not deleted and whose
// REFERENCE is exactly that reference: a longer reference that merely begins with it
// ("PRICE_LIST_10" for "PRICE_LIST_1") is not a hit.
bool SeekArticle(tvr::platform::CDbfTable& table, std::string_view reference);
