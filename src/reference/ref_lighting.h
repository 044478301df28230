#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reference/ref_luminaires.h"

// The lighting study of a rectangular room by the utilisation-factor method. Lengths are
// held in millimetres, reflectances in percent, the depreciation factor in thousandths.
struct CLightingRoom {
  std::int32_t length = 0;  // L
  std::int32_t width = 0;   // W
  std::int32_t height = 0;  // H
  std::int32_t plane = 800;
  std::int32_t ceiling = 70, wall = 50, floor = 20;
  std::int32_t depreciation = 800;
  std::int32_t suspension = 0;   // h', luminaires below the ceiling
  std::int32_t illuminance = 0;  // E, lx
  bool acrossWidth = false;      // the runs follow the width (the orientation box)
};

// More luminaires than a layout may hold: the study is refused beyond.
inline constexpr std::int64_t kMaxLightingLuminaires = 9999;

struct CLightingResult {
  double suspensionRatio = 0;  // j
  double roomIndex = 0;        // K
  double utilance = 0;         // U, the table's value as a fraction
  double effectiveUtilance = 0;
  std::int64_t totalFlux = 0;  // lm
  std::int64_t needed = 0;     // N, luminaires the flux asks for
  bool tooMany = false;        // N above kMaxLightingLuminaires: no layout proposed
  std::int32_t computedRuns = 0, computedPerRun = 0;
  std::int32_t runs = 0, perRun = 0;  // the layout shown
  std::int32_t illuminance = 0;       // Em, lx
  std::int32_t runSpacing = 0;        // mm, 0 when there is no run
  std::int32_t lightSpacing = 0;      // mm, 0 when there is no luminaire per run
};

// Mode bits of CalculateLighting.
inline constexpr int kLightingAuto = 1;      // compute the layout from E
inline constexpr int kLightingApply = 2;     // the computed layout becomes the one shown
inline constexpr int kLightingExchange = 4;  // runs and luminaires per run swap

// The calculation. runs and perRun are the layout shown before; without kLightingAuto
// they are the one the user typed.
CLightingResult CalculateLighting(const CLightingRoom& room, const CLuminaire& lum, int mode,
                                  std::int32_t runs, std::int32_t perRun);

// The utilance of the table for a room index, suspension ratio and reflectances (a
// fraction, 0 when no block, column or row fits).
double TableUtilance(const CUtilanceTable& table, const CLightingRoom& room, double j, double k);

// The line a finished study adds.
struct CLightingLine {
  int kind = 1;  // 1 QYA, 2 QYB
  std::int32_t runs = 0;
  std::int32_t runLength = 0;  // mm
  std::int32_t perRun = 0;
  std::int32_t fixingCode = 0;
};

// The run length of a finished study: the room side the runs follow, 1 m shorter, or
// the luminaire spacing less 1.2 m shorter when that is less.
std::int32_t LightingRunLength(const CLightingRoom& room, const CLightingResult& result);

// Field values as the wizard types and shows them: 'f' a decimal number held x 1000,
// read with "," or "." as its mark whatever the separator the wizard shows; 'd' a whole
// number, so that "12.7" is no value rather than 12. Negative numbers and any other
// text are no value.
std::optional<std::int32_t> ParseLightingValue(std::string_view text, char kind);
// padded: at least two decimals (lengths and spacings).
std::string FormatLightingValue(std::int32_t value, char kind, char separator, bool padded = false);

// The items of a preset list from its message text: pairs of a label and an integer,
// each followed by "/"; items whose value lies outside min..max are left out.
struct CLightingPreset {
  std::string label;
  int value = 0;
};
std::vector<CLightingPreset> LightingPresets(std::string_view text, int min, int max);
