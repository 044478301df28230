#pragma once

#include <string>

#include "app/xl_export_file.h"
#include "reference/ref_lighting.h"

class CProfile;
struct CProjectFields;

// The texts the results step shows for a layout (empty where a field stays empty):
// luminaires, runs, run spacing, wall to the first run, luminaires per run, luminaire
// spacing, wall to the first luminaire.
struct CLightingShownTexts {
  std::string luminaires, runs, runSpacing, runSpacingWall;
  std::string perRun, lightSpacing, lightSpacingWall, illuminance;
};
CLightingShownTexts LightingShownTexts(const CLightingResult& result, char separator);

// The exchange file "XlGDE.txt" of a study: the project keys, the room, the luminaire and
// the results, then "-,-,-" and "0" (no item lines).
CXlExportFile WriteLightingExchangeFile(const CProjectFields& project, const CProfile* profile,
                                        const CLightingRoom& room, const CLuminaire& lum,
                                        const CLightingResult& result);
