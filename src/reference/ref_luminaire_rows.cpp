#include "reference/ref_luminaire_rows.h"

#include <algorithm>

#include "platform/dbf_table.h"
#include "platform/dbf_values.h"

using tvr::platform::CDbfTable;
using tvr::platform::TrimBlanks;

namespace {

// One luminaire as the row choice sees it.
struct LumEntry {
  std::uint32_t record = 0;
  std::string range;
  bool hasDescription = false;
  std::string description, tube, power, ballast;
  bool secondBallast = false;
};

std::vector<LumEntry> ReadEntries(const std::string& catalogueFolder,
                                  const CMessageLookup& lookup) {
  std::vector<LumEntry> entries;
  CDbfTable table;
  if (!table.Open(catalogueFolder + "REF_LUM.DBF")) return entries;
  const int typ = table.FieldIndex("TYP"), val = table.FieldIndex("VAL"), r = table.FieldIndex("R");
  if (typ < 0 || val < 0 || r < 0) return entries;
  for (bool more = table.First(); more; more = table.Next()) {
    const std::string type(TrimBlanks(table.FieldText(typ)));
    const std::string value(TrimBlanks(table.FieldText(val)));
    std::string text(TrimBlanks(table.FieldText(r)));
    if (type == "LUM") {
      LumEntry entry;
      entry.record = table.RecNo();
      entry.range = value;
      entries.push_back(std::move(entry));
      continue;
    }
    if (entries.empty()) continue;
    LumEntry& entry = entries.back();
    if (type == "MSG" && !entry.hasDescription) {
      entry.hasDescription = true;
      entry.description = ExpandMessageReferences(std::move(text), lookup);
    } else if (type == "TUBE") {
      entry.tube = std::move(text);
    } else if (type == "PUISSANCE") {
      entry.power = std::move(text);
    } else if (type == "BALLAST") {
      entry.ballast = std::move(text);
      entry.secondBallast = value == "/";
    }
  }
  return entries;
}

bool Offered(const LumEntry& entry, const std::string& filter, bool skipQyx) {
  if (!filter.empty()) return entry.range == filter;
  return !skipQyx || entry.range != "QYX";
}

}  // namespace

CLuminaireDescriptions LuminaireDescriptions(const std::string& catalogueFolder,
                                             const std::string& filter, std::uint32_t chosen,
                                             const CMessageLookup& lookup) {
  CLuminaireDescriptions result;
  for (const LumEntry& entry : ReadEntries(catalogueFolder, lookup)) {
    if (!Offered(entry, filter, true) || !entry.hasDescription) continue;
    auto at = std::find(result.texts.begin(), result.texts.end(), entry.description);
    if (at == result.texts.end()) {
      if (static_cast<int>(result.texts.size()) == kLumMaxDescriptions) break;
      at = result.texts.insert(result.texts.end(), entry.description);
    }
    if (entry.record == chosen) result.chosen = static_cast<int>(at - result.texts.begin());
  }
  return result;
}

std::vector<CLuminaireRow> LuminaireRows(const std::string& catalogueFolder,
                                         const std::string& description, const std::string& filter,
                                         const CMessageLookup& lookup) {
  std::vector<CLuminaireRow> rows;
  for (const LumEntry& entry : ReadEntries(catalogueFolder, lookup)) {
    if (!Offered(entry, filter, false) || !entry.hasDescription || entry.description != description)
      continue;
    if (entry.secondBallast && !rows.empty() && rows.back().tube == entry.tube &&
        rows.back().power == entry.power) {
      rows.back().secondRecord = entry.record;
      rows.back().secondBallast = entry.ballast;
      continue;
    }
    if (static_cast<int>(rows.size()) == kLumMaxRows) continue;
    rows.push_back({entry.tube, entry.power, entry.ballast, "", entry.record, 0});
  }
  return rows;
}
