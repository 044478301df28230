#pragma once

#include "model/run/path_tokens.h"

#include <string>
#include <string_view>

class CRun;

// The 3D exchange file (".Z3D") of one run for CAD programs that rebuild the run in 3D:
// a header of "key:value" lines with the run's product data, the run as a path of
// position ("pos:") and device ("dev:") lines, and the section of its tap-off units.
// Built in memory with line feeds in UTF-8 and turned into bytes (CP1252, CR LF) only
// when written, so the counts patched into it never depend on a text-mode stream.

// The run name as the file and its "name:" line carry it: the nine characters that a file
// name cannot hold ("\/:*?"<>|") made underscores, control characters made blanks.
std::string CleanZ3dRunName(std::string_view name);

// "prod:": the catalogue in upper case, "new" added to "QPA", "-APOD" to any "Qp...".
std::string Z3dProductText(std::string_view catalog);
// "rating:" from the run's "Calibre" code, by catalogue.
std::string Z3dRatingText(std::string_view catalog, std::string_view code);
// "pol:" from the run's "Neutral", by catalogue.
std::string Z3dPoleCode(std::string_view catalog, std::string_view neutral);
// "opt:" from the catalogue's option value (Ground, RAL or IP) and its step property
// ("QM_ED_STEP" or "QP_STEP"; empty for other catalogues).
std::string Z3dOptionCode(std::string_view catalog, std::string_view value, std::string_view step);

// The whole file as text (line feeds, UTF-8): header, path, tap-off section. The tap-off
// units of the joints the path passes take their group number as station (their
// comment), so that the tap-off section names the group each unit belongs to.
std::string WriteZ3dText(const CRun& run);

// The bytes written to disk: CP1252 ('?' for what it cannot hold), each LF as CR LF.
std::string Z3dFileBytes(std::string_view text);

// "<title without .run> - <clean run name>.Z3D".
std::string Z3dFileName(std::string_view title, std::string_view runName);

// The first number of the text wider than its field, as written ("/00200@@2000000"): an
// integer parameter of more than six digits, a group or station of more than three.
// Empty when every number fits. Only damaged lengths and counts make one.
std::string FindOverlongZ3dValue(std::string_view text);

// The device lines of the text that could not be coded ("dev:##ERR##"): elements for
// which the device coding has no rule (the end covers of ranges outside its families).
int CountUncodedZ3dDevices(std::string_view text);

// Writes the run's file as a new file beside path and renames it over path. False when it
// cannot be written, or when a number does not fit its field (overlong, when given, gets
// it); path is then as it was. uncoded, when given, gets the count of device lines written
// as errors.
bool SaveZ3dFile(const CRun& run, const std::string& path, std::string* overlong = nullptr,
                 int* uncoded = nullptr);
