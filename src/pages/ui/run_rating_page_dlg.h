#pragma once

#include "pages/run_rating_page.h"
#include "pages/ui/prop_page_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The rating page's window: catalogue 1020, rating 1021, current 1006, temperature 1023,
// neutral 1022 and, for catalogue "QMA", colour 1024. Each list writes at once.
class CRunRatingPageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CRunRatingPageDlg(QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CRunRatingPage& RatingRules() { return m_rules; }

 protected:
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;

 private:
  void BuildControls();
  void ConnectControls();
  void ShowList(QComboBox* combo, const std::vector<std::string>& texts, int choice);
  // A list's choice handed to the rules, then the page shown again (unless the run went).
  void Choose(CApplyOutcome (CRunRatingPage::*handler)(int), int index);
  // The fold button 1333: the lower part (1603, 1099) shown and the colour enabled
  // exactly while it is down.
  void ShowLowerPart(bool shown);

  CRunRatingPage m_rules;
  QComboBox* m_catalogues = nullptr;
  QComboBox* m_ratings = nullptr;
  QLabel* m_currentLabel = nullptr;
  QLineEdit* m_current = nullptr;
  QLabel* m_temperatureLabel = nullptr;
  QComboBox* m_temperatures = nullptr;
  QLabel* m_temperatureNote = nullptr;
  QLabel* m_neutralLabel = nullptr;
  QComboBox* m_neutrals = nullptr;
  QLabel* m_colourLabel = nullptr;
  QComboBox* m_colours = nullptr;
  QPushButton* m_fold = nullptr;
  QCheckBox* m_lowerOption = nullptr;
  QLabel* m_lowerNote = nullptr;
};
