#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "linear/linear_project.h"
#include "linear/project_file_io.h"

class CProfile;

inline constexpr std::int32_t kLinearFileFormat = 511;

// The bytes of a linear project file ("*.lin", format 511, UTF-16LE texts).
// modificationDate: the text the project's "ModificationDate" takes in the file.
std::vector<std::uint8_t> LinearFileBytes(const CLinearProject& project);

// Writes the project to path: a new file beside it, renamed over it, so a failed save
// leaves the old file whole. The project's "ModificationDate" becomes the given date and
// goes back to what it was when the save fails. With a profile, a numeric "NumAff"
// greater than [User] NumAff is written back there. Returns 0, or the message number of
// the failure (8019 no such folder, 8022 cannot write).
int SaveLinearFile(const std::string& path, CLinearProject& project, const std::string& today,
                   CProfile* profile = nullptr);

// What a load needs to know of the window: which groups are available, and the title of
// a price list (1..15) as the article table gives it.
struct CLinearLoadContext {
  std::array<bool, 4> groupsAvailable{true, true, true, true};
  std::function<std::string(int)> priceListTitle;
};

// Reads a linear project file of format 300..511. Returns 0 with the project filled, or
// the message number of the failure (8018 not a linear project or damaged, 8019 not
// found, 8021 cannot be opened or read); the project is then unchanged.
int LoadLinearFile(const std::string& path, CLinearProject& project,
                   const CLinearLoadContext& context);

// The same over the bytes of a file.
int ReadLinearFileBytes(const std::vector<std::uint8_t>& bytes, CLinearProject& project,
                        const CLinearLoadContext& context);
