#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <string>

#include "pages/feed_dimensions.h"

class CDev;
class QComboBox;
class QLineEdit;
class QGroupBox;

// The feed dimensions dialog: the connection box's width 1490, height 1492 and depth
// 1494, its offsets 1496, 1376 and 1499, and for switchboard connections the catalogue's
// dimension sets 1679, which fill the six fields and lock them. OK writes the values,
// clamped, as one undo step; Cancel leaves the element as it was.
class CFeedDimensionsDlg : public QDialog {
  Q_OBJECT

 public:
  CFeedDimensionsDlg(CDev& element, const std::string& connectionKey, QWidget* parent = nullptr);

  CFeedDimensions& Rules() { return m_rules; }
  // OK: the values read, clamped and stored.
  void accept() override;

 private:
  void ShowValues(const CConnectionValues& values);
  void OnSetChange(int index);

  CDev& m_element;
  CFeedDimensions m_rules;
  QComboBox* m_sets = nullptr;
  std::array<QLineEdit*, 6> m_edits{};
};
