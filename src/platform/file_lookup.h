#pragma once

#include <string>
#include <string_view>

namespace tvr::platform {

// The path of the file of that name in the folder, found without regard to letter case
// (ASCII letters): an exact match is preferred, then the first other match in name
// order. Empty when the folder holds no such file. The folder text may end with '/'.
std::string FindFileNoCase(const std::string& folder, std::string_view name);

}  // namespace tvr::platform
