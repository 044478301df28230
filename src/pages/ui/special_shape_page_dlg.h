#pragma once

#include "pages/special_shape_page.h"
#include "pages/ui/prop_page_dialog.h"

#include <array>

class QListWidget;
class QListWidgetItem;

// The special-shape page's window, for the end piece or the cover: the pictures 1003
// with the caption 1326, the spacing radios 1465-1467, six label and edit pairs, the
// limits 1498 and 1501, the turn button 1470, the option 1603 and the dimensions button
// 1690, and the phase arrangement 1626 of a range QM variant-6 end piece.
class CSpecialShapePageDlg : public CPropPageDialog {
  Q_OBJECT

 public:
  explicit CSpecialShapePageDlg(bool endPiece, QWidget* parent = nullptr);
  CPropPage& Rules() override { return m_rules; }
  CSpecialShapePage& ShapeRules() { return m_rules; }

 protected:
  // What the end piece decides may have changed while another page showed.
  void showEvent(QShowEvent* event) override;
  void ShowValues() override;
  void StoreValues() override;
  void FocusField(int field) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillPictures();
  void OnPictureChosen(QListWidgetItem* item);
  void OnDimensions();
  void ShowLimitText(const CLimitText& limits);
  int FieldOf(QObject* watched) const;

  CSpecialShapePage m_rules;
  QListWidget* m_pictures = nullptr;
  QLabel* m_caption = nullptr;
  std::array<QRadioButton*, 3> m_spacing{};
  std::array<QLabel*, kShapeFieldCount> m_labels{};
  std::array<QLineEdit*, kShapeFieldCount> m_edits{};
  QLabel* m_limits = nullptr;
  QLabel* m_range = nullptr;
  QCheckBox* m_turn = nullptr;
  QCheckBox* m_option = nullptr;
  QPushButton* m_dimensions = nullptr;
  QComboBox* m_arrangement = nullptr;
};
