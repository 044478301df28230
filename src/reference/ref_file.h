#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "linear/project_file_io.h"
#include "reference/ref_project.h"

class CProfile;

// Formats written: 521 keeps 100 tap-off slots a line, 600 all 200 (used when a line
// has units in slots 100-199). Formats 400-600 are read.
inline constexpr std::int32_t kRefFileFormat = 521;
inline constexpr std::int32_t kRefFileFormatAllSlots = 600;
inline constexpr std::int32_t kRefFileOldestFormat = 400;

// The format a save of the project writes.
std::int32_t RefFileFormat(const CRefProject& project);

// The bytes of a reference project file ("*.ref", UTF-16LE texts): the properties, the
// price settings and lines 1..lineCount of the project (stored from the last to the
// first).
std::vector<std::uint8_t> RefFileBytes(const CRefProject& project);

// Writes the project to path: a new file beside it, renamed over it, so a failed save
// leaves the old file whole. "ModificationDate" becomes today, and goes back to what it
// was when the save fails. With a profile, a numeric "NumAff" greater than [User] NumAff
// is written back there. Returns 0, or the message number of the failure (8019 no such
// folder, 8022 cannot create, 8020 disk full, 8043 other write error).
int SaveRefFile(const std::string& path, CRefProject& project, const std::string& today,
                CProfile* profile = nullptr);

// What a load needs to know of the application: the name of a price list (1..15),
// empty when it has none.
struct CRefLoadContext {
  std::function<std::string(int)> priceListTitle;
};

// Reads a reference project file of format 400..600, converting older layouts.
// Returns 0 with the project's properties, price settings read from the file, labour
// rate and lines replaced (the working record reset), or the message number of the
// failure (8018 damaged or not a reference project, 8019 not found, 8021 cannot be
// read); the project is then unchanged. The caller selects price list
// priceSettings.priceList + 1 as the current catalogue.
int LoadRefFile(const std::string& path, CRefProject& project, const CRefLoadContext& context);

// The same over the bytes of a file.
int ReadRefFileBytes(const std::vector<std::uint8_t>& bytes, CRefProject& project,
                     const CRefLoadContext& context);
