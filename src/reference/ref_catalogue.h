#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "linear/linear_notifier.h"
#include "linear/ref_coff_table.h"
#include "reference/ref_articles.h"
#include "reference/ref_products.h"

class CRefLine;

// The price settings that costing by reference hands to its catalogue.
struct CRefPriceSettings {
  int priceList = 0;  // 0..14: PRIX_n and PRICE_LIST_n with n = priceList + 1
  std::string listName;
  std::string currency;
  // Per product kind, 15 coefficients; the first is the price coefficient.
  std::array<std::array<double, 15>, kRefProductCount> productCoefs;
  int displayFlags = 0;  // bit 0: the second reference REF2 is shown beside each one
  int designColumn = 1;  // 1..3
  int userArticles = 0;  // 0 off, 1 on, -1 asked for but the article table has no TC
  std::array<int, 6> outletFactors{};

  CRefPriceSettings();
};

// The one rule for a product's price coefficient, held by the price panel that takes it
// and by the file that keeps it, so that what is priced and saved reads back the same:
// finite, from 0 (no coefficient) up to kRefLargestCoefficient. A tiny one, as a discount
// of 99.99 % gives, is kept: the totals that divide by it hold their quotients.
inline constexpr double kRefLargestCoefficient = 1000.0;
bool IsUsableRefCoefficient(double value);

// Where the tables lie (both folders end with '/') and the settings they are read with:
// [Database] "LANG_DESIGN" and "UseTC".
struct CRefCatalogueSetup {
  std::string catalogueFolder;
  std::string articleFolder;
  std::string langDesign = "1";
  int useTc = 0;
};

// The reference-side catalogue, open for one computation: ARTICLE.DBU, REF_FORM.DBF,
// REF_COFF.DBF and LIN_REF.DBF read whole, with an index per look-up. It turns a
// reference line into priced items. Problems are told once per opening.
class CRefCatalogue {
 public:
  struct FormRow {
    std::string prod;  // blank-padded as stored
    std::string fct;
    std::string param;
    std::string formula;
  };
  struct NameRow {
    std::string prod;  // blank-padded as stored
    std::string cal;
    std::string pol;
    std::string ref;
  };

  explicit CRefCatalogue(CLinearNotifier* notifier = nullptr) : m_report(notifier) {}

  // Opens every table; false (and nothing open) when one cannot be read. Fills the
  // designation column, the price list's name and currency and the user-article state
  // of the settings, which must outlive the opening.
  bool OpenRefCatalogue(const CRefCatalogueSetup& setup, CRefPriceSettings& settings);
  bool CloseRefCatalogue();
  bool IsOpen() const { return m_settings != nullptr; }

  // Frees the line's items, then adds those of its formulas and of its tap-off slots.
  void RebuildLineItems(CRefLine& line) const;
  void ExpandLineFormula(CRefLine& line) const;
  void ExpandTapOffReferences(CRefLine& line) const;

  // Replaces a symbolic name (trimmed) by the reference LIN_REF.DBF gives for the line;
  // false with the name unchanged when no row gives one.
  bool ResolveComponentReference(const CRefLine& line, std::string& name) const;
  // Price, designation and labour of a reference; false (price 0, labour 0, designation
  // " ? ? ?") when the article table lacks it. Appends REF2 to the reference when the
  // display flags ask for it.
  bool ReadReferenceData(const CRefLine& line, std::string& reference, std::int32_t& price,
                         std::string& designation, std::int32_t& labour) const;
  bool ReadReferenceMass(std::string_view reference, std::int32_t& mass) const;
  // Prices a reference through ReadReferenceData and adds it to the line with the given
  // quantity (saturated at 32 bits) and item kind.
  void AddPricedItem(CRefLine& line, std::string reference, std::int64_t quantity, int kind) const;

  const CRefArticles& Articles() const { return m_articles; }
  const std::vector<std::string>& Messages() const { return m_report.Messages(); }
  void Report(const std::string& text) const { m_report.Report(text); }
  const CRefPriceSettings& Settings() const { return *m_settings; }

  // The rows of REF_FORM.DBF for a product kind, REF_COFF.DBF rows of a line, in table
  // order (the selections the catalogue's queries make).
  const std::vector<const FormRow*>& FormRowsFor(int productKind) const;
  std::vector<const CRefCoffTable::Row*> TapOffRowsFor(const CRefLine& line) const;

 private:
  bool LoadForms(const std::string& folder);
  bool LoadNames(const std::string& folder);
  bool Fail(const std::string& table, const std::string& why);

  CRefArticles m_articles;
  CRefCoffTable m_refCoff;
  std::vector<FormRow> m_forms;
  std::array<std::vector<const FormRow*>, kRefProductCount> m_formsByProduct;
  std::unordered_map<std::string, std::vector<NameRow>> m_namesByNom;
  CRefPriceSettings* m_settings = nullptr;
  mutable CLinearReport m_report;
};

// Raises each item's quantity to a multiple of its article's pack quantity (QTE_INDIV
// above 1), the reference read up to its first "\n\r". The table is read here; false
// when it cannot be.
bool ApplyIndividualQuantities(CRefLine& line, const std::string& articleFolder);
void ApplyIndividualQuantities(CRefLine& line, const CRefArticles& articles);

// The whole part of a product of prices and coefficients, nudged by a relative 1e-9 so
// that a product such as 100 x 0.29 (28.999...) keeps its unit; saturated at 32 bits.
std::int32_t TruncatedProduct(double value);
