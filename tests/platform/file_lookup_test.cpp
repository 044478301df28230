#include "platform/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace tvr::platform {
namespace {

TEST(FileLookupTest, FindsNamesInAnyLetterCase) {
  CTempFolder folder("lookup");
  folder.WriteFile("ARTICLE.DBU", "x");
  folder.WriteFile("dims.dbf", "x");
  std::filesystem::create_directory(folder.File("CATALOG.DBF"));  // a folder is no file
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ARTICLE.DBU", "ARTICLE.DBU"},
      {"article.dbu", "ARTICLE.DBU"},
      {"Article.Dbu", "ARTICLE.DBU"},
      {"DIMS.DBF", "dims.dbf"},
      {"catalog.dbf", ""},
      {"devices.dbf", ""},
      {"", ""},
      {"../ARTICLE.DBU", ""},
  };
  for (const auto& [name, found] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(FindFileNoCase(folder.Path(), name), found.empty() ? "" : folder.File(found));
    EXPECT_EQ(FindFileNoCase(folder.Path() + "/", name),
              found.empty() ? "" : folder.Path() + "/" + found);
  }
  EXPECT_EQ(FindFileNoCase(folder.File("missing-folder"), "dims.dbf"), "");
}

TEST(FileLookupTest, PrefersTheExactNameThenNameOrder) {
  CTempFolder folder("lookup-order");
  folder.WriteFile("dims.DBF", "x");
  folder.WriteFile("DIMS.dbf", "x");
  EXPECT_EQ(FindFileNoCase(folder.Path(), "dims.DBF"), folder.File("dims.DBF"));
  EXPECT_EQ(FindFileNoCase(folder.Path(), "Dims.dbf"), folder.File("DIMS.dbf"));  // 'D' < 'd'
}

}  // namespace
}  // namespace tvr::platform
