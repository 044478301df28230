#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reference/ref_luminaires.h"

// The luminaire-row choice: the distinct descriptions of REF_LUM.DBF, and for one
// description a row per lamp and power, two luminaires that differ in their ballast
// only (the second's BALLAST row has VAL "/") sharing one row.

inline constexpr int kLumMaxDescriptions = 20;
inline constexpr int kLumMaxRows = 10;

struct CLuminaireRow {
  std::string tube, power;
  std::string ballast, secondBallast;
  std::uint32_t record = 0, secondRecord = 0;  // secondRecord 0: no second option
};

struct CLuminaireDescriptions {
  std::vector<std::string> texts;  // at most kLumMaxDescriptions, table order
  int chosen = -1;                 // the position of the chosen luminaire's description
};

// The descriptions of the luminaires whose range code is the filter (any but QYX when
// the filter is empty); chosen is the record of a "LUM" row.
CLuminaireDescriptions LuminaireDescriptions(const std::string& catalogueFolder,
                                             const std::string& filter, std::uint32_t chosen,
                                             const CMessageLookup& lookup);

// The rows of a description (at most kLumMaxRows).
std::vector<CLuminaireRow> LuminaireRows(const std::string& catalogueFolder,
                                         const std::string& description, const std::string& filter,
                                         const CMessageLookup& lookup);
