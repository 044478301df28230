#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The luminaire table REF_LUM.DBF of the catalogue folder: for each luminaire a "LUM"
// row, then REF, FLUX, CLASSE and DIST, up to four utilance blocks ("J" rows, each with
// up to 20 "K" rows) and the description rows MSG, TUBE, PUISSANCE, BALLAST and BMP.

inline constexpr int kLumBlocks = 4;
inline constexpr int kLumBlockRows = 21;  // row 0 the "J" row, rows 1..20 the "K" rows
inline constexpr int kLumColumns = 21;    // column 0 the ratio or index, 1..20 values

// Cells are -1 where the table gave nothing. Row 0 of a block: j x 1000, then the
// reflectance codes; rows 1..20: K x 1000, then the utilances in hundredths.
using CLumBlock = std::array<std::array<std::int32_t, kLumColumns>, kLumBlockRows>;
using CUtilanceTable = std::array<CLumBlock, kLumBlocks>;

struct CLuminaire {
  std::uint32_t record = 0;  // the record of its "LUM" row
  std::string name;
  std::string reference;
  std::string photometricClass;
  std::int32_t flux = 0;          // lm
  std::int32_t efficiency = 0;    // percent x 1000
  std::int32_t spacingRatio = 0;  // maximum spacing-to-height ratio x 1000
  CUtilanceTable table{};
  int blockCount = 0;
  std::string description;  // message references expanded
  std::string tube, power, ballast;
  std::string picturePath;  // empty when the luminaire names no picture
};

// One item of the luminaire list: the name shown and the record of its "LUM" row.
struct CLuminaireType {
  std::string name;
  std::uint32_t record = 0;
};

using CMessageLookup = std::function<std::string(int)>;

// The luminaires to offer, in table order: "LUM" rows with a name, range code not QYX.
// Empty when the table cannot be read.
std::vector<CLuminaireType> LoadLuminaireTypes(const std::string& catalogueFolder);

// Reads the luminaire whose "LUM" row is the record and carries the name. Nothing when
// the table cannot be read, the rows break their order or fewer than two blocks follow.
std::optional<CLuminaire> ReadLuminaireRecord(const std::string& catalogueFolder,
                                              std::uint32_t record, std::string_view name,
                                              const CMessageLookup& lookup);

// Replaces each "MSG" and five digits from 30000 to 32999 by that message's text.
std::string ExpandMessageReferences(std::string text, const CMessageLookup& lookup);

// The fixing code of a luminaire reference from REF_COFF.DBF: (FCT - 1) | 0x10000 when
// REF1 names it, | 0x20000 when REF2 does (each cut before a "+" that is not its first
// character); 0 when no row does or the table cannot be read. Rows with a function
// number below 1 are passed over.
std::int32_t LuminaireFixingCode(const std::string& catalogueFolder, std::string_view reference);
