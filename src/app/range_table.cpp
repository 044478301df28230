#include "app/range_table.h"

#include "platform/folders.h"

std::string RangeTableName(const std::string& catalogueFolder, std::string_view name) {
  std::string fileName(name);
  if (name.size() >= 4 && name[0] == 'Q' && name[3] == '_') {
    if (name[1] == 'J') {
      fileName = std::string(name.substr(0, 8));
    } else {
      fileName = std::string(name.substr(0, 2)) + std::string(name.substr(3, 6));
    }
  }
  return tvr::platform::WithTrailingSlash(catalogueFolder) + fileName + ".dbf";
}
