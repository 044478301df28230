#include "reference/ref_catalogue.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/message_text.h"
#include "linear/linear_messages.h"
#include "platform/dbf_table.h"
#include "reference/ref_line.h"
#include "reference/ref_messages.h"

using tvr::platform::CDbfTable;

namespace {

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string TrimmedCopy(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

int DesignColumn(const std::string& langDesign) {
  const std::string value = TrimmedCopy(langDesign);
  if (value == "UK" || value == "2") return 2;
  if (value == "OPTION" || value == "3") return 3;
  return 1;
}

// REF_FORM's selection for a product: its own code, and (but for QYX) the range-wide
// code of its first two letters and a blank.
bool FormRowBelongsTo(const std::string& prod, int kind) {
  const std::string_view code = RefProductCode(kind);
  if (BeginsWith(prod, code)) return true;
  return kind != kRefProductQYX && BeginsWith(prod, std::string{'Q', RefRangeLetter(kind), ' '});
}

}  // namespace

CRefPriceSettings::CRefPriceSettings() {
  for (auto& coefs : productCoefs) coefs.fill(1.0);
}

bool IsUsableRefCoefficient(double value) {
  return std::isfinite(value) && value >= 0.0 && value <= kRefLargestCoefficient;
}

std::int32_t TruncatedProduct(double value) {
  if (!std::isfinite(value)) return 0;
  const double nudged = std::trunc(value * (1.0 + 1e-9));
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(nudged, -kMax, kMax));
}

bool CRefCatalogue::Fail(const std::string& table, const std::string& why) {
  Report(FormatMessageTextSS(kMsgLinearTableMissing, table, why));
  CloseRefCatalogue();
  return false;
}

bool CRefCatalogue::OpenRefCatalogue(const CRefCatalogueSetup& setup, CRefPriceSettings& settings) {
  CloseRefCatalogue();
  settings.designColumn = DesignColumn(setup.langDesign);
  const int list = std::clamp(settings.priceList, 0, 14);
  if (!m_articles.Load(setup.articleFolder, list, settings.designColumn))
    return Fail("ARTICLE.DBU", m_articles.Error());
  if (!LoadForms(setup.catalogueFolder)) return false;
  if (!m_refCoff.Load(setup.catalogueFolder, false)) return Fail("REF_COFF.DBF", m_refCoff.Error());
  if (!LoadNames(setup.catalogueFolder)) return false;
  settings.listName = m_articles.ListName(list + 1);
  settings.currency = m_articles.ListCurrency(list + 1);
  settings.userArticles = setup.useTc == 0 ? 0 : (m_articles.HasTcField() ? 1 : -1);
  m_settings = &settings;
  return true;
}

bool CRefCatalogue::CloseRefCatalogue() {
  m_articles = CRefArticles();
  m_refCoff = CRefCoffTable();
  m_forms.clear();
  for (auto& rows : m_formsByProduct) rows.clear();
  m_namesByNom.clear();
  m_settings = nullptr;
  return true;
}

bool CRefCatalogue::LoadForms(const std::string& folder) {
  CDbfTable table;
  if (!table.Open(folder + "REF_FORM.DBF")) return Fail("REF_FORM.DBF", table.Error());
  const int prod = table.FieldIndex("PROD"), fct = table.FieldIndex("FCT");
  const int param = table.FieldIndex("PARAM"), formula = table.FieldIndex("FORMULE");
  if (prod < 0 || fct < 0 || formula < 0)
    return Fail("REF_FORM.DBF", "PROD, FCT or FORMULE is missing");
  m_forms.reserve(table.RecordCount());
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    m_forms.push_back({table.FieldRawText(prod), table.FieldText(fct), table.FieldText(param),
                       table.FieldText(formula)});
  }
  for (const FormRow& row : m_forms)
    for (int kind = 0; kind < kRefProductCount; ++kind)
      if (FormRowBelongsTo(row.prod, kind)) m_formsByProduct[kind].push_back(&row);
  return true;
}

bool CRefCatalogue::LoadNames(const std::string& folder) {
  CDbfTable table;
  if (!table.Open(folder + "LIN_REF.DBF")) return Fail("LIN_REF.DBF", table.Error());
  const int nom = table.FieldIndex("NOM"), prod = table.FieldIndex("PROD");
  const int cal = table.FieldIndex("CAL"), pol = table.FieldIndex("POL");
  const int ref = table.FieldIndex("REF");
  if (nom < 0 || prod < 0 || ref < 0) return Fail("LIN_REF.DBF", "NOM, PROD or REF is missing");
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    m_namesByNom[table.FieldText(nom)].push_back({table.FieldRawText(prod), table.FieldText(cal),
                                                  table.FieldText(pol), table.FieldText(ref)});
  }
  return true;
}

const std::vector<const CRefCatalogue::FormRow*>& CRefCatalogue::FormRowsFor(
    int productKind) const {
  static const std::vector<const FormRow*> kNone;
  if (productKind < 0 || productKind >= kRefProductCount) return kNone;
  return m_formsByProduct[static_cast<std::size_t>(productKind)];
}

bool CRefCatalogue::ReadReferenceData(const CRefLine& line, std::string& reference,
                                      std::int32_t& price, std::string& designation,
                                      std::int32_t& labour) const {
  const CRefArticles::Article* article = m_articles.Find(reference);
  if (!article) {
    price = 0;
    labour = 0;
    designation = " ? ? ?";
    return false;
  }
  if (!article->priceIsNumber)
    Report(FormatMessageTextS(kMsgRefPriceNotANumber, TrimmedCopy(reference)));
  price = article->price;
  designation = article->designation;
  labour = article->labour;
  if (m_settings->displayFlags & 1)
    reference += "\n\r / " + (article->ref2.empty() ? std::string("? REF2 ?") : article->ref2);
  if (m_settings->userArticles == 0) {
    const int kind = std::clamp(line.productKind, 0, kRefProductCount - 1);
    price = TruncatedProduct(price * m_settings->productCoefs[kind][0]);
  } else if (m_settings->userArticles == 1) {
    const CRefArticles::Article* base =
        article->tc.empty() ? nullptr : m_articles.Find(article->tc);
    if (base && (base->local == '3' || base->local == '8'))
      price = TruncatedProduct(double(price) * base->price1 * 0.0001);
  }
  return true;
}

void CRefCatalogue::AddPricedItem(CRefLine& line, std::string reference, std::int64_t quantity,
                                  int kind) const {
  std::int32_t price = 0, labour = 0;
  std::string designation;
  if (!ReadReferenceData(line, reference, price, designation, labour))
    Report(FormatMessageTextS(kMsgLinearUnknownArticle, reference));
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  const auto count = static_cast<std::int32_t>(std::clamp<std::int64_t>(quantity, -kMax, kMax));
  line.AddItemNode({std::move(reference), std::move(designation), price, count, labour, kind});
}

bool CRefCatalogue::ReadReferenceMass(std::string_view reference, std::int32_t& mass) const {
  const CRefArticles::Article* article = m_articles.Find(reference);
  mass = article ? article->mass : 0;
  return article != nullptr;
}

void ApplyIndividualQuantities(CRefLine& line, const CRefArticles& articles) {
  for (std::size_t i = 0; i < line.Items().size(); ++i) {
    const CRefItemNode& item = line.Items()[i];
    const std::string_view reference =
        std::string_view(item.reference).substr(0, item.reference.find("\n\r"));
    const CRefArticles::Article* article = articles.Find(reference);
    if (!article || article->packQuantity <= 1 || item.quantity % article->packQuantity == 0)
      continue;
    const std::int64_t pack = article->packQuantity;
    const std::int64_t raised = (std::int64_t{item.quantity} / pack + 1) * pack;
    line.SetItemQuantity(i, static_cast<std::int32_t>(std::min<std::int64_t>(
                                raised, std::numeric_limits<std::int32_t>::max())));
  }
}

bool ApplyIndividualQuantities(CRefLine& line, const std::string& articleFolder) {
  CRefArticles articles;
  if (!articles.Load(articleFolder, 0, 1)) return false;
  ApplyIndividualQuantities(line, articles);
  return true;
}
