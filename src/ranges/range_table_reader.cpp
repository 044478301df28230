#include "ranges/range_table_reader.h"

#include "app/range_table.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "platform/wildcard.h"
#include "platform/dbf_relation.h"
#include "ranges/range_context.h"

#include <algorithm>
#include <limits>

using tvr::platform::CDbfRelation;
using tvr::platform::CDbfTable;

namespace {

// The fields of a table by name; a field the table lacks reads as empty text and 0.
class CBoundFields {
 public:
  CBoundFields(const CDbfTable& table, std::initializer_list<std::string_view> names)
      : m_table(table) {
    for (std::string_view name : names) m_indexes.push_back(table.FieldIndex(name));
  }
  std::string Text(std::size_t field, int width = 0) const {
    if (m_indexes[field] < 0)
      return width > 0 ? std::string(static_cast<std::size_t>(width), ' ') : std::string();
    return m_table.FieldText(m_indexes[field], width);
  }
  std::int32_t Int(std::size_t field) const {
    return m_indexes[field] < 0 ? 0 : m_table.FieldInt(m_indexes[field]);
  }

 private:
  const CDbfTable& m_table;
  std::vector<int> m_indexes;
};

// Walks the rows the relation selects, deleted ones left out.
template <typename Visit>
void ForEachRow(CDbfTable& table, CDbfRelation& relation, Visit visit) {
  for (bool on = relation.Top(); on; on = relation.Skip()) {
    if (!table.IsDeleted()) visit();
  }
}

CDbfRelation MakeRelation(CDbfTable& table, std::string_view query, std::string_view sort) {
  CDbfRelation relation(table);
  relation.SetQuery(query);
  if (!sort.empty()) relation.SetSort(sort);
  return relation;
}

std::int32_t JunctionLength(const CBoundFields& fields, std::size_t field, bool junctionPairs) {
  const std::int32_t length = fields.Int(field);
  if (!junctionPairs) return length;
  const std::string text = fields.Text(field);
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0) return length;
  const std::int64_t total =
      static_cast<std::int64_t>(length) +
      static_cast<std::int64_t>(TextToInt(std::string_view(text).substr(slash + 1))) * 100000;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CRangeTableReader::CRangeTableReader(std::string code, CRangeContext& context)
    : m_code(std::move(code)), m_context(context) {}

std::string CRangeTableReader::RunQuery(std::string_view prefix, std::string_view code) {
  return "RUN = '" + std::string(prefix) + "?' .OR. RUN = '" + std::string(code) + "'";
}

bool CRangeTableReader::Open(std::string_view word, CDbfTable& table) const {
  const std::string path = RangeTableName(m_context.CatalogueFolder(), m_code + std::string(word));
  m_context.CountTableOpen();
  if (table.Open(path)) return true;
  m_context.ReportUnreadableTable(path);
  return false;
}

std::vector<CPatternRow> CRangeTableReader::ReadParts(std::string_view query) const {
  std::vector<CPatternRow> rows;
  CDbfTable table;
  if (!Open("_SPLITENGINE", table)) return rows;
  const CBoundFields fields(table, {"PARTREF", "LEG1", "LEG2", "LEG3", "LEG4", "LEG5", "LEG6"});
  CDbfRelation relation = MakeRelation(table, query, {});
  ForEachRow(table, relation, [&] {
    CPatternRow& row = rows.emplace_back();
    row.texts[0] = fields.Text(0, kRefWidth);
    for (std::size_t leg = 1; leg <= 6; ++leg) row.texts[leg] = fields.Text(leg);
  });
  return rows;
}

std::vector<CCodeLabelRow> CRangeTableReader::ReadRatings(
    std::string_view query, std::string_view valueQuery,
    std::vector<CTemperatureEntry>* values) const {
  std::vector<CCodeLabelRow> rows;
  if (values != nullptr) values->assign(1, CTemperatureEntry{});
  CDbfTable table;
  if (!Open("_CALIBRE", table)) return rows;
  const CBoundFields fields(table, {"ID", "LIB"});
  CDbfRelation relation = MakeRelation(table, query, "ID");
  ForEachRow(table, relation, [&] { rows.push_back({fields.Text(0), fields.Text(1)}); });
  if (values == nullptr || valueQuery.empty()) return rows;
  values->clear();
  relation.SetQuery(valueQuery);
  ForEachRow(table, relation, [&] {
    if (values->size() < static_cast<std::size_t>(kMaxTemperatureEntries)) {
      values->push_back({TextToDouble(fields.Text(1)), TextToDouble(fields.Text(0))});
    }
  });
  values->push_back(CTemperatureEntry{});
  return rows;
}

void CRangeTableReader::ReadOptions(std::string_view word,
                                    const std::vector<COptionSelection>& selections,
                                    std::string_view emptyCode) const {
  for (const COptionSelection& selection : selections) selection.list->clear();
  CDbfTable table;
  if (!Open(word, table)) return;
  const CBoundFields fields(table, {"ID", "LIB", "LANG"});
  auto lookup = [this](int number) { return m_context.LookupText(number); };
  for (const COptionSelection& selection : selections) {
    CDbfRelation relation = MakeRelation(table, selection.query, selection.sort);
    ForEachRow(table, relation, [&] {
      std::string code = fields.Text(0);
      if (code.empty()) code = emptyCode;
      std::string label = fields.Text(1);
      if (fields.Text(2) == "1") label = ExpandOptionLabel(label, lookup);
      selection.list->push_back({std::move(code), std::move(label)});
    });
  }
}

std::vector<CReferenceRow> CRangeTableReader::ReadHousings(std::string_view query,
                                                           bool junctionPairs) const {
  std::vector<CReferenceRow> rows;
  CDbfTable table;
  if (!Open("_HOUSING", table)) return rows;
  const CBoundFields fields(table,
                            {"CALIBRE", "WIDTH", "HEIGHT", "EDGEWIDTH", "EDGEDEEP", "JUNCTIONLE"});
  CDbfRelation relation = MakeRelation(table, query, {});
  ForEachRow(table, relation, [&] {
    CReferenceRow& row = rows.emplace_back();
    row.code = fields.Text(0);
    for (std::size_t i = 0; i < 4; ++i) row.values[i] = fields.Int(i + 1);
    row.values[4] = JunctionLength(fields, 5, junctionPairs);
  });
  return rows;
}

std::vector<CHousingRow> CRangeTableReader::ReadDevHousings() const {
  std::vector<CHousingRow> rows;
  CDbfTable table;
  if (!Open("_DEVHOUSING", table)) return rows;
  const CBoundFields fields(table, {"PARTREF", "LENGTH_6", "WIDTH_6", "HEIGHT_6", "LENGTH_7",
                                    "WIDTH_7", "HEIGHT_7", "OFFSET_L7", "OFFSET_W7", "OFFSET_H7"});
  for (bool on = table.First(); on; on = table.Next()) {
    if (table.IsDeleted()) continue;
    CHousingRow& row = rows.emplace_back();
    row.reference = fields.Text(0, kRefWidth);
    for (std::size_t i = 0; i < row.values.size(); ++i) row.values[i] = fields.Int(i + 1);
  }
  return rows;
}

namespace {

// The "_DEVICES" rows of one "ID" (and of the extra condition) on an open table.
void AppendCodeRows(CRangeContext& context, CDbfTable& table, CDbfRelation& relation,
                    const CBoundFields& fields, std::string_view code,
                    std::string_view extraCondition,
                    const std::function<bool(const CCodeRow&)>& drop, std::vector<CCodeRow>& rows) {
  std::string query = "ID = '" + std::string(code) + "'";
  if (!extraCondition.empty()) query += " .AND. (" + std::string(extraCondition) + ")";
  relation.SetQuery(query);
  ForEachRow(table, relation, [&] {
    if (fields.Text(3) != code) return;
    std::string label = fields.Text(1);
    if (const int number = TextToInt(label); number > 0) label = context.LookupText(number);
    CCodeRow row{{std::string(code), fields.Text(0), std::move(label), fields.Text(2, kRefWidth)}};
    if (!drop || !drop(row)) rows.push_back(std::move(row));
  });
}

}  // namespace

std::vector<CCodeRow> CRangeTableReader::ReadDevices(
    std::string_view extraCondition, std::string_view sort,
    const std::function<bool(const CCodeRow&)>& drop) const {
  std::vector<CCodeRow> rows;
  CDbfTable table;
  const bool open = Open("_DEVICES", table);
  const CBoundFields fields(table, {"SUBID", "LIB", "PARTREF", "ID"});
  CDbfRelation relation(table);
  if (open && !sort.empty()) relation.SetSort(sort);
  for (const CDeviceEntry& device : m_context.Devices()) {
    const std::size_t before = rows.size();
    if (open)
      AppendCodeRows(m_context, table, relation, fields, device.code, extraCondition, drop, rows);
    if (rows.size() == before)
      rows.push_back({{device.code, "0", device.label, std::string(kRefWidth, ' ')}});
  }
  return rows;
}

void CRangeTableReader::ReadCodeRows(std::string_view code, std::string_view extraCondition,
                                     std::vector<CCodeRow>& rows) const {
  CDbfTable table;
  if (!Open("_DEVICES", table)) return;
  const CBoundFields fields(table, {"SUBID", "LIB", "PARTREF", "ID"});
  CDbfRelation relation(table);
  AppendCodeRows(m_context, table, relation, fields, code, extraCondition, {}, rows);
}

std::vector<CPriceFormulaRow> CRangeTableReader::ReadLinear() const {
  std::vector<CPriceFormulaRow> rows;
  CDbfTable table;
  if (!Open("_LINEAR", table)) return rows;
  const CBoundFields fields(table, {"ID", "SUBID", "FORMULA"});
  CDbfRelation relation = MakeRelation(table, {}, "ID,SUBID");
  ForEachRow(table, relation, [&] {
    rows.push_back({{fields.Text(0), fields.Text(1), std::string(), fields.Text(2)}});
  });
  return rows;
}

std::string ExpandOptionLabel(std::string_view label,
                              const std::function<std::string(int)>& lookup) {
  std::string result;
  std::size_t i = 0;
  while (i < label.size()) {
    std::size_t end = i;
    int number = 0;
    while (end < label.size() && end - i < 5 && label[end] >= '0' && label[end] <= '9') {
      number = number * 10 + (label[end] - '0');
      ++end;
    }
    if (number != 0) {
      result += lookup(number);
      i = end;
    } else {
      result.append(label.substr(i, std::max<std::size_t>(end - i, 1)));
      i = std::max(end, i + 1);
    }
  }
  return result;
}

const CHousingRow* FindDevHousing(const std::vector<CHousingRow>& rows, std::string_view text) {
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (MatchPaddedWildcard(it->reference, text)) return &*it;
  }
  return nullptr;
}

bool TakeDevHousingDims(const std::vector<CHousingRow>* rows, std::string_view text,
                        CHousingDims& dims) {
  const CHousingRow* row = rows != nullptr ? FindDevHousing(*rows, text) : nullptr;
  if (row == nullptr) return false;
  const auto& v = row->values;
  dims.length = v[0];
  dims.width = v[1];
  dims.height = v[2];
  dims.length2 = v[3];
  dims.width2 = v[4];
  dims.height2 = v[5];
  dims.offset = C3DPoint(v[6], v[7], v[8]);
  return true;
}

int SelectCandidate(int count, bool last) { return last && count > 0 ? count - 1 : 0; }
