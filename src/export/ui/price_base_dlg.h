#pragma once

#include <QDialog>

#include "export/price_base_rules.h"

class CDorneDoc;
class QLabel;
class QLineEdit;
class QPushButton;

// The price-list dialog (208), modeless: the price list's name and currency, the
// document's sale total, weight and installation time, and the conversion rate as a
// coefficient (1079) or a percentage (1080), each following the other as it is typed.
// Apply (1078, Enter) applies the rate, or a typed sale total (1007). It closes when
// another window is activated, unless it is busy with the cost comparison (1081).
class CPriceBaseDlg : public QDialog {
  Q_OBJECT

 public:
  // priceList: the name of the price list the prices come from, shown in the title.
  CPriceBaseDlg(CDorneDoc& document, const QString& priceList, QWidget* parent = nullptr);

  void Apply();
  bool IsBusy() const { return m_busy; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  void Show(const CPriceBaseTexts& texts);
  CPriceBaseTexts Read() const;
  void OnRateEdited();
  void OnPercentEdited();
  void OnCompareCosts();

  CDorneDoc& m_document;
  CPriceBaseRules m_rules;
  QLabel* m_date = nullptr;
  QLabel* m_money = nullptr;
  QLineEdit* m_rate = nullptr;
  QLineEdit* m_percent = nullptr;
  QLineEdit* m_sale = nullptr;
  QLineEdit* m_weight = nullptr;
  QLineEdit* m_time = nullptr;
  QPushButton* m_compare = nullptr;
  bool m_guard = false;
  bool m_busy = false;
};
