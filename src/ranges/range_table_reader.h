#pragma once

#include "model/run/range_rules.h"
#include "platform/dbf_table.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CRangeContext;
struct CHousingDims;

// One selection of an option table: its query, its sort (empty for the table's natural
// order) and the list it fills.
struct COptionSelection {
  std::string query;
  std::string sort;
  std::vector<CCodeLabelRow>* list = nullptr;
};

// Reads the catalogue tables of one range, named from the run's code and a table word
// ("QDA" and "_CALIBRE" give QD_CALIB.dbf in the catalogue folder, found in any letter
// case), into the records of range_rules.h. A table that cannot be opened gives an
// empty list and is reported once (CRangeContext); a query or sort the engine refuses
// selects nothing. Deleted records are not read. Each call opens its table once and
// closes it before returning.
class CRangeTableReader {
 public:
  CRangeTableReader(std::string code, CRangeContext& context);

  // "_SPLITENGINE": every row (or those the query selects), natural order.
  std::vector<CPatternRow> ReadParts(std::string_view query = {}) const;
  // "_CALIBRE" rows of the query, by "ID"; with a value query, the rating value table is
  // read next on the same relation (at most kMaxTemperatureEntries rows, closed by a
  // zero entry) into values.
  std::vector<CCodeLabelRow> ReadRatings(std::string_view query, std::string_view valueQuery = {},
                                         std::vector<CTemperatureEntry>* values = nullptr) const;
  // An option table (word "_L_OPTIONS", "_L_NEUTRAL", "_L_GROUND") read once for every
  // selection. emptyCode: the code stored for an empty "ID" (" " or "").
  void ReadOptions(std::string_view word, const std::vector<COptionSelection>& selections,
                   std::string_view emptyCode) const;
  // "_HOUSING" rows of the query, natural order. junctionPairs: a "JUNCTIONLE" text
  // "n/m" is stored as n + 100000 x m.
  std::vector<CReferenceRow> ReadHousings(std::string_view query, bool junctionPairs) const;
  // "_DEVHOUSING": every record in table order.
  std::vector<CHousingRow> ReadDevHousings() const;
  // "_DEVICES": for each device of the context's list in order, the rows whose "ID" is
  // its code (and that the extra condition selects, when given), sorted when a sort is
  // given; a row that drop() refuses is left out; a device without any row kept gets its
  // default row (code, "0", the device's label, 22 blanks).
  std::vector<CCodeRow> ReadDevices(std::string_view extraCondition = {},
                                    std::string_view sort = {},
                                    const std::function<bool(const CCodeRow&)>& drop = {}) const;
  // "_DEVICES" rows whose "ID" is the code (and that the extra condition selects),
  // appended to rows; nothing is appended for a code without rows.
  void ReadCodeRows(std::string_view code, std::string_view extraCondition,
                    std::vector<CCodeRow>& rows) const;
  // "_LINEAR": every row by "ID,SUBID"; the formula in the fourth text.
  std::vector<CPriceFormulaRow> ReadLinear() const;

  // The query that selects a range's rows: "RUN = '<prefix>?' .OR. RUN = '<code>'".
  static std::string RunQuery(std::string_view prefix, std::string_view code);

 private:
  bool Open(std::string_view word, tvr::platform::CDbfTable& table) const;

  std::string m_code;
  CRangeContext& m_context;
};

// The 22-character width of references and patterns.
inline constexpr int kRefWidth = 22;

// A "LANG" 1 label: every number that starts at a digit (at most five digits, not 0) is
// replaced by the text of that message; every other character is kept.
std::string ExpandOptionLabel(std::string_view label,
                              const std::function<std::string(int)>& lookup);

// The last device-housing row whose pattern matches the text; null when none does.
const CHousingRow* FindDevHousing(const std::vector<CHousingRow>& rows, std::string_view text);
// Takes the sizes and offset of that row into dims. False, dims untouched, when there is
// no table or no row matches.
bool TakeDevHousingDims(const std::vector<CHousingRow>* rows, std::string_view text,
                        CHousingDims& dims);

// The candidate a builder takes: the last (count - 1) when the flag is set, else the
// first (0); 0 when there is no candidate.
int SelectCandidate(int count, bool last);
