#include "linear/linear_tables.h"

#include "app/message_text.h"
#include "platform/text_conversions.h"
#include "linear/linear_line.h"
#include "linear/linear_messages.h"
#include "linear/linear_price_settings.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

int ClassifyFormulaName(std::string_view name) {
  static constexpr std::string_view kNames[] = {"[Length]", "[Floor]", "[Height]",
                                                "[SupV]",   "[Bar]",   "[Braid]",
                                                "[Step]",   "[PdsML]", "[Dbl]"};
  for (int i = 0; i < static_cast<int>(std::size(kNames)); ++i)
    if (name == kNames[i]) return i;
  return -1;
}

std::string CoefKey(std::string_view rating, std::string_view product) {
  return std::string(rating) + "|" + std::string(product);
}

// Opens a catalogue table; reports and gives false when it cannot be read.
bool OpenTable(CDbfTable& table, const std::string& folder, const char* name, int message,
               const CLinearTables& tables) {
  if (table.Open(folder + name)) return true;
  tables.Report(FormatMessageText(message, "ss", name, table.Error()));
  return false;
}

}  // namespace

bool CLinearTables::OpenLinearTables(const CLinearFolders& folders, CLinearPriceSettings& settings,
                                     int useTcSetting) {
  CloseLinearTables();
  m_apod = settings.apod;
  m_priceList = settings.priceList;
  if (!m_articles.Load(folders.article)) {
    Report(FormatMessageText(kMsgLinearTableMissing, "ss", "ARTICLE.DBU", m_articles.Error()));
    return false;
  }
  if (!m_articles.BadPrice().empty())
    Report(FormatMessageText(kMsgLinearPriceNotNumber, "s", m_articles.BadPrice()));
  if (!LoadForms(folders.catalogue) || !LoadRefs(folders.catalogue)) {
    CloseLinearTables();
    return false;
  }
  if (!m_refCoff.Load(folders.catalogue, m_apod))
    Report(FormatMessageText(kMsgLinearTableSkipped, "ss", "REF_COFF.DBF", m_refCoff.Error()));
  LoadCoefs(folders.catalogue);
  settings.listTitle = m_articles.ListTitle(settings.priceList + 1);
  settings.listCurrency = m_articles.ListCurrency(settings.priceList + 1);
  m_useTc = useTcSetting == 0 ? 0 : (m_articles.HasTcField() ? 1 : -1);
  settings.useTc = m_useTc;
  m_open = true;
  return true;
}

void CLinearTables::CloseLinearTables() {
  m_articles = CLinearArticles();
  m_refCoff = CRefCoffTable();
  m_forms.clear();
  for (auto& rows : m_formsByProduct) rows.clear();
  m_refsByName.clear();
  m_coefs.clear();
  m_open = false;
}

bool CLinearTables::LoadForms(const std::string& folder) {
  CDbfTable table;
  if (!OpenTable(table, folder, "LIN_FORM.DBF", kMsgLinearTableMissing, *this)) return false;
  const int prod = table.FieldIndex("PROD"), fct = table.FieldIndex("FCT");
  const int param = table.FieldIndex("PARAM"), formule = table.FieldIndex("FORMULE");
  const int temps = table.FieldIndex("TEMPS"), poids = table.FieldIndex("POIDS");
  if (prod < 0 || fct < 0 || formule < 0) {
    Report(FormatMessageText(kMsgLinearTableMissing, "ss", "LIN_FORM.DBF", "PROD, FCT, FORMULE"));
    return false;
  }
  m_forms.reserve(table.RecordCount());
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    FormRow row;
    row.prod = table.FieldRawText(prod);
    row.fct = table.FieldText(fct);
    row.param = table.FieldText(param);
    row.formule = CLinearFormula::Parse(table.FieldText(formule), ClassifyFormulaName);
    row.temps = CLinearFormula::Parse(table.FieldText(temps), ClassifyFormulaName);
    row.poids = CLinearFormula::Parse(table.FieldText(poids), ClassifyFormulaName);
    m_forms.push_back(std::move(row));
  }
  for (int product = 0; product < kLinearProductCount; ++product) {
    const std::string code = LinearProductCode(product, m_apod);
    const std::string range = std::string("Q") + LinearRangeLetter(product, m_apod) + " ";
    for (const FormRow& row : m_forms)
      if (BeginsWith(row.prod, code) || (product <= kProductQPC && BeginsWith(row.prod, range)))
        m_formsByProduct[product].push_back(&row);
  }
  return true;
}

bool CLinearTables::LoadRefs(const std::string& folder) {
  CDbfTable table;
  if (!OpenTable(table, folder, "LIN_REF.DBF", kMsgLinearTableMissing, *this)) return false;
  const int nom = table.FieldIndex("NOM"), prod = table.FieldIndex("PROD");
  const int cal = table.FieldIndex("CAL"), pol = table.FieldIndex("POL"),
            ref = table.FieldIndex("REF");
  if (nom < 0 || prod < 0 || ref < 0) {
    Report(FormatMessageText(kMsgLinearTableMissing, "ss", "LIN_REF.DBF", "NOM, PROD, REF"));
    return false;
  }
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    RefRow row{table.FieldRawText(prod), table.FieldText(cal), table.FieldText(pol),
               table.FieldText(ref)};
    m_refsByName[table.FieldText(nom)].push_back(std::move(row));
  }
  return true;
}

void CLinearTables::LoadCoefs(const std::string& folder) {
  CDbfTable table;
  if (!OpenTable(table, folder, "LIN_COEF.DBF", kMsgLinearTableSkipped, *this)) return;
  const int cal = table.FieldIndex("CAL"), prod = table.FieldIndex("PROD");
  auto read = [&](const std::string& name) {
    const int field = table.FieldIndex(name);
    return field < 0 ? 1.0 : TextToDouble(table.FieldText(field));
  };
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    CoefRow row;
    for (int i = 0; i < 3; ++i) row.tl[i] = read("TL" + std::to_string(i + 1));
    for (int i = 0; i < 6; ++i) row.de[i] = read("DE" + std::to_string(i + 1));
    for (int i = 0; i < 6; ++i) row.dp[i] = read("DP" + std::to_string(i + 1));
    // The first row of a rating and product is the one that counts.
    m_coefs.emplace(CoefKey(table.FieldText(cal), table.FieldText(prod)), row);
  }
}

CLinearTables::Coefficients CLinearTables::LoadLinearCoefficients(const CLinearLine& line) const {
  Coefficients c;
  c.fill(1.0);
  const auto found =
      m_coefs.find(CoefKey(std::to_string(line.Rating), LinearProductCode(line.Product, m_apod)));
  if (found == m_coefs.end()) return c;
  const CoefRow& row = found->second;
  switch (line.Group) {
    case 0: c[0] = row.tl[0], c[1] = row.tl[1], c[2] = row.tl[2]; break;
    case 1:
      for (int i = 0; i < 6; ++i) c[i] = row.de[i];
      break;
    case 2:
      for (int i = 0; i < 3; ++i) c[i] = row.dp[i], c[6 + i] = row.dp[3 + i];
      break;
    default: break;
  }
  return c;
}

const std::vector<const CLinearTables::FormRow*>& CLinearTables::FormRowsFor(int product) const {
  static const std::vector<const FormRow*> kNone;
  if (product < 0 || product >= kLinearProductCount) return kNone;
  return m_formsByProduct[static_cast<std::size_t>(product)];
}
