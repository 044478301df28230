#pragma once

#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "linear/local_articles.h"

#include "reference/ref_price_rows.h"

class CRefConfigDlg;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// The price settings of costing by reference, laid over the configurator's line area:
// the price list, a sales coefficient with its discount per product the option lists
// offer, the labour rate MO and the grouping choices. Apply hands them to the project and
// reprices its lines, Save writes them as the defaults, Close drops them; Import brings
// the article table up to date from a user's file.
class CRefPricePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr double kMaxCoef = 2.0;

  explicit CRefPricePanel(CRefConfigDlg& owner);

  void FillPriceListCombo();
  void SyncDiscountAndCoef(int row, bool fromDiscount);
  bool OnApply();
  void OnClose();
  bool SaveAsDefaults();
  bool OnImport();

  QLineEdit* CoefEdit(int row) const { return m_coef[static_cast<std::size_t>(row)]; }
  QLineEdit* DiscountEdit(int row) const { return m_discount[static_cast<std::size_t>(row)]; }
  QComboBox* PriceListCombo() const { return m_lists; }
  QLineEdit* MoEdit() const { return m_mo; }
  bool RowShown(int row) const { return m_rowShown[static_cast<std::size_t>(row)]; }
  bool IsUserArticleMode() const { return m_userArticles; }
  QScrollBar* ArticleScroll() const { return m_scroll; }
  QLabel* RowLabel(int row) const { return m_labels[static_cast<std::size_t>(row)]; }
  QLabel* RowDescription(int row) const { return m_descriptions[static_cast<std::size_t>(row)]; }
  QLabel* CurrencyLabel() const { return m_currency; }
  // The lighting rows' captions in the configurator's special mode 2 (hidden otherwise).
  QLabel* LightingCaption(int row) const {
    return m_lightingCaptions[static_cast<std::size_t>(row)];
  }

 private:
  void BuildControls();
  void LoadValues();
  // The currency of each price list, read again after an import.
  void ReadCurrencies();
  void ShowCurrency();
  // In special mode 2 the lighting rows are captioned as lighting busbars.
  void ShowSpecialCaptions();
  // The seven coefficients and MO as typed; false (after telling why) when one is not a
  // number in its range.
  bool ReadValues(std::array<double, kRefPriceRowCount>& coefs, int& mo);
  // Tells why a typed value is refused and puts the caret back into its field.
  void Refuse(QLineEdit* edit, const std::string& message);
  int RefsChoice() const;
  // With [Database] "UseTC" on, the rows list the local articles of the article table,
  // read-only, in place of the product coefficients; false when it is off or the table
  // cannot be read.
  bool LoadUserArticles();
  void FillArticleRows(int first);
  std::array<QWidget*, 5> RowWidgets(int row) const;
  void Close(int code);

  CRefConfigDlg& m_owner;
  char m_decimal;
  bool m_apod = false;
  int m_priceList = 0;
  bool m_syncing = false;
  bool m_imported = false;
  std::array<bool, kRefPriceRowCount> m_rowShown{};
  bool m_userArticles = false;
  std::vector<CLocalArticle> m_articles;
  std::array<QLabel*, kRefPriceRowCount> m_labels{};
  std::array<QLabel*, kRefPriceRowCount> m_lightingCaptions{};
  std::array<std::string, 15> m_currencies;
  std::array<QLabel*, kRefPriceRowCount> m_descriptions{};
  std::array<QLabel*, kRefPriceRowCount> m_ors{};
  std::array<QLabel*, kRefPriceRowCount> m_percents{};
  QScrollBar* m_scroll = nullptr;
  QComboBox* m_lists = nullptr;
  QLabel* m_currency = nullptr;
  std::array<QLineEdit*, kRefPriceRowCount> m_coef{};
  std::array<QLineEdit*, kRefPriceRowCount> m_discount{};
  QLineEdit* m_mo = nullptr;
  QCheckBox* m_refGroup = nullptr;
  QComboBox* m_refs = nullptr;
};
