#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "linear/linear_articles.h"
#include "linear/linear_formula.h"
#include "linear/linear_notifier.h"
#include "linear/linear_products.h"
#include "linear/ref_coff_table.h"

class CLinearLine;
struct CLinearPriceSettings;

// Where the costing tables lie: the catalogue folder (LIN_FORM, LIN_REF, REF_COFF,
// LIN_COEF) and the article folder (ARTICLE.DBU), both ending with '/'.
struct CLinearFolders {
  std::string catalogue;
  std::string article;
};

// The names of the formula dialect of LIN_FORM.DBF.
enum LinearFormulaName : int {
  kNameLength,
  kNameFloor,
  kNameHeight,
  kNameSupV,
  kNameBar,
  kNameBraid,
  kNameStep,
  kNamePdsML,
  kNameDbl,
};

// The linear costing tables, opened once for a computation and held in memory with an
// index per look-up: articles by reference, LIN_FORM and REF_COFF rows by product,
// LIN_REF rows by name, LIN_COEF rows by rating and product. Nothing is read from disk
// per line. Problems met while costing are reported once each through the notifier.
class CLinearTables {
 public:
  struct FormRow {
    std::string prod;  // blank-padded as stored
    std::string fct;
    std::string param;
    CLinearFormula formule, temps, poids;
  };
  struct RefRow {
    std::string prod;  // blank-padded as stored
    std::string cal, pol, ref;
  };
  struct CoefRow {
    std::array<double, 3> tl{1, 1, 1};
    std::array<double, 6> de{1, 1, 1, 1, 1, 1};
    std::array<double, 6> dp{1, 1, 1, 1, 1, 1};
  };
  // The nine length and height factors c1..c9 (index 0..8).
  using Coefficients = std::array<double, 9>;

  explicit CLinearTables(CLinearNotifier* notifier = nullptr) : m_report(notifier) {}

  // Opens ARTICLE.DBU, LIN_FORM.DBF and LIN_REF.DBF (required: false, with one message,
  // when one of them cannot be read) and REF_COFF.DBF and LIN_COEF.DBF (optional: a
  // message, and the lines are priced without them). Fills the price list's titles and
  // the UseTC state of the settings (useTcSetting is [Database] UseTC).
  bool OpenLinearTables(const CLinearFolders& folders, CLinearPriceSettings& settings,
                        int useTcSetting);
  void CloseLinearTables();
  bool IsOpen() const { return m_open; }

  // The nine factors of the line's rating, product and group (all 1 without a row).
  Coefficients LoadLinearCoefficients(const CLinearLine& line) const;

  // The catalogue reference that a reference name gives for the line, or nothing.
  std::optional<std::string> LookupLinearReference(const CLinearLine& line,
                                                   std::string_view name) const;

  // The LIN_FORM rows that apply to a product, in table order.
  const std::vector<const FormRow*>& FormRowsFor(int product) const;

  const CLinearArticles& Articles() const { return m_articles; }
  const CRefCoffTable& RefCoff() const { return m_refCoff; }
  bool Apod() const { return m_apod; }
  int UseTc() const { return m_useTc; }
  int PriceList() const { return m_priceList; }

  // Reports a problem once per opening.
  void Report(const std::string& text) const { m_report.Report(text); }
  const std::vector<std::string>& Messages() const { return m_report.Messages(); }

 private:
  bool LoadForms(const std::string& folder);
  bool LoadRefs(const std::string& folder);
  void LoadCoefs(const std::string& folder);

  CLinearArticles m_articles;
  CRefCoffTable m_refCoff;
  std::vector<FormRow> m_forms;
  std::array<std::vector<const FormRow*>, kLinearProductCount> m_formsByProduct;
  std::unordered_map<std::string, std::vector<RefRow>> m_refsByName;
  std::unordered_map<std::string, CoefRow> m_coefs;  // "rating|product code"
  mutable CLinearReport m_report;
  bool m_open = false;
  bool m_apod = false;
  int m_useTc = 0;
  int m_priceList = 0;
};

// The configuration word of a conductor code (12..16) for the LIN_REF POL test; empty
// for other codes.
std::string ConductorWord(int conductors, int product);

// Fills the "?" of a LIN_REF template for a line (product, rating, conductors).
std::string FillReferenceTemplate(std::string reference, int product, int rating, int conductors,
                                  bool apod);
