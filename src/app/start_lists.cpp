#include "app/start_lists.h"

#include <array>
#include <initializer_list>

#include "platform/db_field.h"
#include "platform/dbf_relation.h"
#include "platform/dbf_table.h"
#include "platform/folders.h"

using tvr::platform::CDbField;
using tvr::platform::CDbfRelation;
using tvr::platform::CDbfTable;

namespace {

// Opens a table of the catalogue folder and checks that it has the fields the list
// reads. An empty result means the table is ready.
std::string OpenStartTable(CDbfTable& table, const std::string& folder, std::string_view name,
                           std::initializer_list<std::string_view> fields) {
  const std::string path = tvr::platform::WithTrailingSlash(folder) + std::string(name);
  if (!table.Open(path, CDbfTable::Mode::ReadOnly)) {
    return table.Error().empty() ? "Cannot open " + path : table.Error();
  }
  for (std::string_view field : fields) {
    if (table.FieldIndex(field) < 0) {
      return "The table " + path + " has no field " + std::string(field);
    }
  }
  return std::string();
}

std::string LookUp(const TextLookup& lookup, int number) {
  return lookup ? lookup(number) : std::string();
}

// Walks the table in the order of a sort on one field and hands every record that is
// not deleted to the reader. An empty result means the walk was made.
template <typename Reader>
std::string WalkSorted(CDbfTable& table, std::string_view sortField, Reader&& read) {
  CDbfRelation relation(table);
  if (!relation.SetSort(sortField)) return relation.Error();
  for (bool more = relation.Top(); more; more = relation.Skip()) {
    if (!table.IsDeleted()) read();
  }
  return std::string();
}

}  // namespace

CTableList<CUnitEntry> LoadUnitList(const std::string& catalogueFolder,
                                    const TextLookup& lookupText) {
  CTableList<CUnitEntry> list;
  CDbfTable table;
  list.error = OpenStartTable(
      table, catalogueFolder, kUnitTableName,
      {"IDD", "IDL", "LIB", "INPUTSTR", "INPUTCOEF", "OUTPUTSTR", "OUTPUTCOEF", "BASECOEF"});
  if (!list.error.empty()) return list;
  const CDbField idd(table, "IDD"), idl(table, "IDL"), lib(table, "LIB");
  const CDbField inputText(table, "INPUTSTR"), inputCoef(table, "INPUTCOEF");
  const CDbField outputText(table, "OUTPUTSTR"), outputCoef(table, "OUTPUTCOEF");
  const CDbField baseCoef(table, "BASECOEF");
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    list.entries.push_back({FieldText(idd), FieldText(idl), LookUp(lookupText, FieldInt(lib)),
                            FieldText(inputText), FieldText(inputCoef), FieldText(outputText),
                            FieldText(outputCoef), FieldText(baseCoef)});
  }
  return list;
}

bool IsCatalogueOffered(std::string_view code, int copper, int apod) {
  constexpr std::array<std::string_view, 4> kCopperCodes{"QMC", "QWC", "QPC", "QGC"};
  constexpr std::array<std::string_view, 2> kApodOnlyCodes{"Qpa", "Qpc"};
  constexpr std::array<std::string_view, 5> kNoApodCodes{"QPA", "QPC", "QJF", "QWA", "QWC"};
  auto isOneOf = [code](const auto& codes) {
    for (std::string_view c : codes) {
      if (c == code) return true;
    }
    return false;
  };
  if (copper == 0 && isOneOf(kCopperCodes)) return false;
  if (apod == 0) return !isOneOf(kApodOnlyCodes);
  return !isOneOf(kNoApodCodes);
}

CTableList<CCatalogueEntry> LoadCatalogueList(const std::string& catalogueFolder, int copper,
                                              int apod, const TextLookup& lookupText) {
  CTableList<CCatalogueEntry> list;
  CDbfTable table;
  list.error = OpenStartTable(table, catalogueFolder, kCatalogueTableName, {"ID", "LIB", "SEQ"});
  if (!list.error.empty()) return list;
  const CDbField id(table, "ID"), lib(table, "LIB");
  list.error = WalkSorted(table, "SEQ", [&] {
    std::string code = FieldText(id);
    if (!IsCatalogueOffered(code, copper, apod)) return;
    list.entries.push_back({std::move(code), LookUp(lookupText, FieldInt(lib))});
  });
  if (!list.error.empty()) list.entries.clear();
  return list;
}

CTableList<CDeviceEntry> LoadDeviceList(const std::string& catalogueFolder,
                                        const TextLookup& stringText) {
  CTableList<CDeviceEntry> list;
  CDbfTable table;
  list.error = OpenStartTable(table, catalogueFolder, kDeviceTableName, {"ID", "LIB"});
  if (!list.error.empty()) return list;
  const CDbField id(table, "ID"), lib(table, "LIB");
  list.error = WalkSorted(table, "ID", [&] {
    const int number = FieldInt(lib);
    list.entries.push_back(
        {FieldText(id), number != 0 ? LookUp(stringText, number) : FieldText(lib)});
  });
  if (!list.error.empty()) list.entries.clear();
  return list;
}
