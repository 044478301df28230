#include "linear/ref_coff_table.h"

#include "linear/linear_products.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool RowBelongsTo(const std::string& prod, int product, bool apod) {
  if (product == kProductQYL) return BeginsWith(prod, "QYL");
  if (BeginsWith(prod, std::string("Q") + LinearRangeLetter(product, apod) + " ")) return true;
  return (product == kProductQYA || product == kProductQYB || product == kProductQFP) &&
         BeginsWith(prod, "QYQF");
}

}  // namespace

bool CRefCoffTable::Load(const std::string& catalogueFolder, bool apod) {
  m_rows.clear();
  for (auto& rows : m_byProduct) rows.clear();
  m_loaded = false;
  CDbfTable table;
  if (!table.Open(catalogueFolder + "REF_COFF.DBF")) {
    m_error = table.Error();
    return false;
  }
  auto field = [&](const char* name) { return table.FieldIndex(name); };
  const int prod = field("PROD"), param = field("PARAM"), pos = field("POS"), fct = field("FCT");
  const int cal = field("CAL"), ip1 = field("IP1"), ref1 = field("REF1"), typ1 = field("TYP1");
  const int ip2 = field("IP2"), ref2 = field("REF2"), typ2 = field("TYP2"), pol = field("POL");
  if (prod < 0 || fct < 0) {
    m_error = table.Path() + ": the fields PROD and FCT are missing";
    return false;
  }
  std::array<int, 6> ratings{};
  for (std::size_t i = 0; i < ratings.size(); ++i)
    ratings[i] = field(("RAT" + std::to_string(i + 1)).c_str());
  m_rows.reserve(table.RecordCount());
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    Row row;
    row.prod = table.FieldRawText(prod);
    row.param = table.FieldText(param);
    row.pos = table.FieldText(pos);
    row.fct = table.FieldInt(fct);
    row.cal = table.FieldText(cal);
    if (pol >= 0) row.pol = table.FieldText(pol);
    row.ip1 = table.FieldText(ip1);
    row.ref1 = table.FieldText(ref1);
    row.typ1 = table.FieldText(typ1);
    row.ip2 = table.FieldText(ip2);
    row.ref2 = table.FieldText(ref2);
    row.typ2 = table.FieldText(typ2);
    for (std::size_t i = 0; i < ratings.size(); ++i)
      if (ratings[i] >= 0) row.ratings[i] = table.FieldInt(ratings[i]);
    m_rows.push_back(std::move(row));
  }
  for (const Row& row : m_rows)
    for (int product = 0; product <= kProductQYL; ++product)
      if (RowBelongsTo(row.prod, product, apod)) m_byProduct[product].push_back(&row);
  m_error.clear();
  m_loaded = true;
  return true;
}

const std::vector<const CRefCoffTable::Row*>& CRefCoffTable::RowsFor(int product) const {
  static const std::vector<const Row*> kNone;
  if (product < 0 || product > kProductQYL) return kNone;
  return m_byProduct[static_cast<std::size_t>(product)];
}

bool CRefCoffTable::IsLinearRow(const Row& row) {
  return row.param.empty() || row.param.find('L') != std::string::npos;
}
