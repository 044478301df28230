#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "linear/local_articles.h"

#include "linear/linear_price_settings.h"

class CLinearDlg;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The price settings panel over the line list: the price list, its coefficient, a
// coefficient per busbar range with the matching discount, the "Taux" and "Services"
// percentages and the groups in use. Apply hands the values to the project, Save writes
// them as defaults, Cancel drops them.
class CLinearPriceDlg : public QWidget {
  Q_OBJECT

 public:
  // The rows of coefficient and discount: the price list, then the ranges.
  enum Row {
    kRowList,
    kRowQM,
    kRowQJ,
    kRowQW,
    kRowQP,
    kRowQD,
    kRowQY,
    kRowQFP,
    kRowQYX,
    kRowCount
  };
  // The largest coefficient a price list or a range takes.
  static constexpr double kMaxCoef = 5.0;
  // The rows that list the local articles in the article view.
  static constexpr int kFirstArticleRow = kRowQJ, kArticleRows = 6;

  explicit CLinearPriceDlg(CLinearDlg& parent);

  void FillPriceListCombo();
  void SyncDiscountAndCoef(int row, bool fromDiscount);
  void ShowRangeRows(bool showTaux);
  void OnPriceListChange();
  bool OnApply();
  void OnCancel();
  bool SavePriceSettings();
  // Brings the article table up to date from a file the user chooses; true when it
  // changed (linear_price_articles.cpp).
  bool OnImportArticles();

  QComboBox* PriceListCombo() const { return m_lists; }
  // Shown after a change of price list whose own discount differs from the last one's.
  QLabel* ListNote() const { return m_listNote; }
  QLineEdit* CoefEdit(int row) const { return m_coef[static_cast<std::size_t>(row)]; }
  QLineEdit* DiscountEdit(int row) const { return m_discount[static_cast<std::size_t>(row)]; }
  QLineEdit* TauxEdit() const { return m_taux; }
  QLineEdit* ServicesEdit() const { return m_services; }
  QCheckBox* GroupBox(int group) const { return m_groups[static_cast<std::size_t>(group)]; }
  double ListCoef(int list) const { return m_listCoefs[static_cast<std::size_t>(list)]; }
  bool IsArticleView() const { return m_articleView; }
  QScrollBar* ArticleScroll() const { return m_articleScroll; }
  QLabel* RowLabel(int row) const { return m_labels[static_cast<std::size_t>(row)]; }
  QLabel* ArticleDescription(int index) const {
    return m_descriptions[static_cast<std::size_t>(index)];
  }

  // A number as the edits show it ("%.15g" with the decimal character), and back; the
  // reading takes the decimal character or ',' as '.'.
  static QString NumberText(double value, char decimal);
  static bool ReadNumber(const QString& text, char decimal, double& value);

 private:
  void BuildRows();
  void LoadValues();
  bool ReadValues(std::array<double, kRowCount>& coefs, double& taux, double& services);
  void Close(bool recompute);
  void ShowOwnDiscountNote(int old);
  // With "UseTC" on, the panel lists the local articles read-only in place of the range
  // coefficients; false (normal panel) when it is off or the table cannot be read.
  bool LoadArticleView();
  void FillArticleRows();
  int RangeProduct(int row) const;

  CLinearDlg& m_parent;
  char m_decimal;
  int m_priceList = 0;
  int m_productP = 4;
  std::array<double, 15> m_listCoefs{};
  bool m_syncing = false;
  bool m_changed = false;
  QComboBox* m_lists = nullptr;
  QLabel* m_currency = nullptr;
  QLabel* m_listNote = nullptr;
  std::array<QLabel*, kRowCount> m_labels{};
  std::array<QLineEdit*, kRowCount> m_coef{};
  std::array<QLineEdit*, kRowCount> m_discount{};
  std::array<QLabel*, kRowCount> m_percent{};
  QLabel* m_rangeHeader = nullptr;
  QLabel* m_tauxLabel = nullptr;
  QLineEdit* m_taux = nullptr;
  QLineEdit* m_services = nullptr;
  std::array<QCheckBox*, 4> m_groups{};
  bool m_articleView = false;
  std::vector<CLocalArticle> m_articles;
  int m_firstArticle = 0;
  std::array<QLabel*, kArticleRows> m_descriptions{};
  QScrollBar* m_articleScroll = nullptr;
};
