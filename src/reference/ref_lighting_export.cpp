#include "reference/ref_lighting_export.h"

#include "linear/linear_excel_export.h"
#include "platform/number_text.h"

namespace {

std::string Metres(std::int32_t millimetres) { return FixedDecimalText(millimetres / 1000.0, 3); }
std::string Fraction(std::int32_t value, double unit) { return FixedDecimalText(value / unit, 2); }

void WriteRoomKeys(CXlExportFile& file, const CLightingRoom& room) {
  WriteXlExportField(file, "Length", Metres(room.length), kXlNumber);
  WriteXlExportField(file, "Width", Metres(room.width), kXlNumber);
  WriteXlExportField(file, "Height", Metres(room.height), kXlNumber);
  WriteXlExportField(file, "PlaneHeight", Metres(room.plane), kXlNumber);
  WriteXlExportField(file, "RCeiling", Fraction(room.ceiling, 100.0), kXlNumber);
  WriteXlExportField(file, "RWall", Fraction(room.wall, 100.0), kXlNumber);
  WriteXlExportField(file, "RFloor", Fraction(room.floor, 100.0), kXlNumber);
  WriteXlExportField(file, "Depreciation", Fraction(room.depreciation, 1000.0), kXlNumber);
  WriteXlExportField(file, "Illumination", std::to_string(room.illuminance), kXlNumber);
  WriteXlExportField(file, "HangingHeight", Metres(room.suspension), kXlNumber);
}

void WriteResultKeys(CXlExportFile& file, const CLightingRoom& room, const CLuminaire& lum,
                     const CLightingResult& result) {
  WriteXlExportField(file, "Light", lum.name, kXlProjectText);
  WriteXlExportField(file, "LightClass", lum.photometricClass, kXlProjectText);
  WriteXlExportField(file, "LightFlow", std::to_string(lum.flux), kXlNumber);
  WriteXlExportField(file, "InTheWidth", room.acrossWidth ? "#TRUE#" : "#FALSE#", kXlSwitch);
  WriteXlExportField(file, "Index", FixedDecimalText(result.roomIndex, 3), kXlNumber);
  WriteXlExportField(file, "Utilance", FixedDecimalText(result.utilance, 3), kXlNumber);
  WriteXlExportField(file, "Suspension", FixedDecimalText(result.suspensionRatio, 3), kXlNumber);
  WriteXlExportField(file, "TotalFlow", std::to_string(result.totalFlux), kXlNumber);
  const CLightingShownTexts shown = LightingShownTexts(result, '.');
  WriteXlExportField(file, "NbLights", shown.luminaires, kXlNumber);
  WriteXlExportField(file, "NbRuns", shown.runs, kXlNumber);
  WriteXlExportField(file, "RunsSpacing", shown.runSpacing, kXlNumber);
  WriteXlExportField(file, "RunsSpacingWall", shown.runSpacingWall, kXlNumber);
  WriteXlExportField(file, "LightsPerRun", shown.perRun, kXlNumber);
  WriteXlExportField(file, "LightsSpacing", shown.lightSpacing, kXlNumber);
  WriteXlExportField(file, "LightsSpacingWall", shown.lightSpacingWall, kXlNumber);
  WriteXlExportField(file, "TotalIllumination", std::to_string(result.illuminance), kXlNumber);
}

}  // namespace

CLightingShownTexts LightingShownTexts(const CLightingResult& result, char separator) {
  CLightingShownTexts shown;
  auto spacing = [&](std::int32_t mm) { return FormatLightingValue(mm, 'f', separator, true); };
  shown.luminaires = std::to_string(std::int64_t{result.runs} * result.perRun);
  shown.runs = std::to_string(result.runs);
  if (result.runs >= 1) shown.runSpacingWall = spacing(result.runSpacing / 2);
  if (result.runs > 1) shown.runSpacing = spacing(result.runSpacing);
  shown.perRun = std::to_string(result.perRun);
  if (result.perRun >= 1) shown.lightSpacingWall = spacing(result.lightSpacing / 2);
  if (result.perRun > 1) shown.lightSpacing = spacing(result.lightSpacing);
  if (std::int64_t{result.runs} * result.perRun >= 1 && result.illuminance >= 1)
    shown.illuminance = std::to_string(result.illuminance);
  return shown;
}

CXlExportFile WriteLightingExchangeFile(const CProjectFields& project, const CProfile* profile,
                                        const CLightingRoom& room, const CLuminaire& lum,
                                        const CLightingResult& result) {
  CXlExportFile file;
  WriteXlProjectHeadKeys(file, project, profile);
  // The lighting model takes the customer's address keys only.
  for (std::size_t i = 0; i < 7; ++i)
    WriteXlExportField(file, kXlCustomerKeys[i].first, project.Property(kXlCustomerKeys[i].second),
                       kXlProjectText);
  WriteRoomKeys(file, room);
  WriteResultKeys(file, room, lum, result);
  file.AddLine("-,-,-");
  file.AddLine("0");
  return file;
}
