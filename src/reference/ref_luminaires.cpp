#include "reference/ref_luminaires.h"

#include <cmath>

#include "platform/dbf_table.h"
#include "platform/dbf_values.h"
#include "platform/int_clamp.h"
#include "platform/number_text.h"

using tvr::platform::CDbfTable;
using tvr::platform::TrimBlanks;

namespace {

struct LumRow {
  std::string typ, val, r;
};

// The table read whole, rows in record order (record n at index n - 1). Empty when
// the table cannot be read or lacks its fields.
std::vector<LumRow> ReadLumRows(const std::string& catalogueFolder) {
  std::vector<LumRow> rows;
  CDbfTable table;
  if (!table.Open(catalogueFolder + "REF_LUM.DBF")) return rows;
  const int typ = table.FieldIndex("TYP"), val = table.FieldIndex("VAL"), r = table.FieldIndex("R");
  if (typ < 0 || val < 0 || r < 0) return rows;
  rows.reserve(table.RecordCount());
  for (bool more = table.First(); more; more = table.Next()) {
    rows.push_back({std::string(TrimBlanks(table.FieldText(typ))),
                    std::string(TrimBlanks(table.FieldText(val))),
                    std::string(TrimBlanks(table.FieldText(r)))});
  }
  return rows;
}

// A decimal text x 1000, truncated; 0 when it is no number.
std::int32_t Thousandths(std::string_view text) {
  const auto parsed = ParseDoublePrefix(text);
  if (!parsed || !std::isfinite(parsed->value)) return 0;
  const double scaled = std::trunc(parsed->value * 1000.0);
  if (scaled >= 2147483647.0) return INT32_MAX;
  if (scaled <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(scaled);
}

std::int32_t LeadingInt(std::string_view text) {
  const auto parsed = ParseIntPrefix(text);
  return parsed ? parsed->value : 0;
}

// Fills columns 1.. of a block row from a "/" list, at most 20 values.
void FillColumns(std::array<std::int32_t, kLumColumns>& row, std::string_view list) {
  std::size_t column = 1;
  while (column < row.size() && !list.empty()) {
    const std::size_t slash = list.find('/');
    row[column++] = LeadingInt(list.substr(0, slash));
    if (slash == std::string_view::npos) break;
    list.remove_prefix(slash + 1);
  }
}

// Reads the utilance blocks from index at; returns the index of the first row after them.
std::size_t ReadBlocks(const std::vector<LumRow>& rows, std::size_t at, CLuminaire& lum) {
  for (auto& block : lum.table)
    for (auto& row : block) row.fill(-1);
  int openRows = 0;
  for (; at < rows.size(); ++at) {
    const LumRow& row = rows[at];
    if (row.typ == "J") {
      if (lum.blockCount == kLumBlocks) break;
      auto& first = lum.table[static_cast<std::size_t>(lum.blockCount++)][0];
      first[0] = Thousandths(row.val);
      FillColumns(first, row.r);
      openRows = 0;
    } else if (row.typ == "K") {
      if (lum.blockCount == 0 || openRows == kLumBlockRows - 1) continue;
      auto& next = lum.table[static_cast<std::size_t>(lum.blockCount - 1)]
                            [static_cast<std::size_t>(++openRows)];
      next[0] = Thousandths(row.val);
      FillColumns(next, row.r);
    } else {
      break;
    }
  }
  return at;
}

void ReadDescription(const std::vector<LumRow>& rows, std::size_t at, const std::string& folder,
                     const CMessageLookup& lookup, CLuminaire& lum) {
  for (; at < rows.size() && rows[at].typ != "LUM"; ++at) {
    const LumRow& row = rows[at];
    if (row.typ == "MSG") lum.description = ExpandMessageReferences(row.r, lookup);
    else if (row.typ == "TUBE") lum.tube = row.r;
    else if (row.typ == "PUISSANCE") lum.power = row.r;
    else if (row.typ == "BALLAST") lum.ballast = row.r;
    else if (row.typ == "BMP") lum.picturePath = row.r.empty() ? "" : folder + row.r + ".BMP";
  }
}

std::string_view BeforePlus(std::string_view reference) {
  const std::size_t plus = reference.find('+');
  return plus == std::string_view::npos || plus == 0 ? reference : reference.substr(0, plus);
}

}  // namespace

std::vector<CLuminaireType> LoadLuminaireTypes(const std::string& catalogueFolder) {
  std::vector<CLuminaireType> types;
  const std::vector<LumRow> rows = ReadLumRows(catalogueFolder);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const LumRow& row = rows[i];
    if (row.typ == "LUM" && row.val != "QYX" && !row.r.empty())
      types.push_back({row.r, static_cast<std::uint32_t>(i + 1)});
  }
  return types;
}

std::optional<CLuminaire> ReadLuminaireRecord(const std::string& catalogueFolder,
                                              std::uint32_t record, std::string_view name,
                                              const CMessageLookup& lookup) {
  if (record == 0) return std::nullopt;
  const std::vector<LumRow> rows = ReadLumRows(catalogueFolder);
  static constexpr std::array<const char*, 5> kHead = {"LUM", "REF", "FLUX", "CLASSE", "DIST"};
  std::size_t at = record - 1;
  if (at >= rows.size() || rows.size() - at < kHead.size()) return std::nullopt;
  for (std::size_t i = 0; i < kHead.size(); ++i)
    if (rows[at + i].typ != kHead[i]) return std::nullopt;
  if (rows[at].r != name) return std::nullopt;
  CLuminaire lum;
  lum.record = record;
  lum.name = rows[at].r;
  lum.reference = rows[at + 1].r;
  lum.flux = LeadingInt(rows[at + 2].val);
  lum.efficiency = Thousandths(rows[at + 3].val);
  lum.photometricClass = rows[at + 3].r;
  lum.spacingRatio = Thousandths(rows[at + 4].val);
  at = ReadBlocks(rows, at + kHead.size(), lum);
  ReadDescription(rows, at, catalogueFolder, lookup, lum);
  if (lum.blockCount < 2) return std::nullopt;
  return lum;
}

std::string ExpandMessageReferences(std::string text, const CMessageLookup& lookup) {
  std::size_t at = text.find("MSG");
  while (at != std::string::npos) {
    const auto number = ParseIntPrefix(std::string_view(text).substr(at + 3));
    std::size_t next = at + 3;
    if (number && number->value >= 30000 && number->value <= 32999) {
      const std::string replacement = lookup ? lookup(number->value) : std::string();
      text.replace(at, 8, replacement);
      next = at + replacement.size();
    }
    at = text.find("MSG", next);
  }
  return text;
}

std::int32_t LuminaireFixingCode(const std::string& catalogueFolder, std::string_view reference) {
  CDbfTable table;
  if (reference.empty() || !table.Open(catalogueFolder + "REF_COFF.DBF")) return 0;
  const int fct = table.FieldIndex("FCT"), ref1 = table.FieldIndex("REF1");
  const int ref2 = table.FieldIndex("REF2");
  if (fct < 0 || ref1 < 0 || ref2 < 0) return 0;
  for (bool more = table.First(); more; more = table.Next()) {
    // A function number below 1 names no fixing (it would set every bit of the code).
    const std::int32_t function = table.FieldInt(fct);
    if (function < 1 || function > 0x10000) continue;
    const std::int32_t code = function - 1;
    if (BeforePlus(TrimBlanks(table.FieldText(ref1))) == reference) return code | 0x10000;
    if (BeforePlus(TrimBlanks(table.FieldText(ref2))) == reference) return code | 0x20000;
  }
  return 0;
}
