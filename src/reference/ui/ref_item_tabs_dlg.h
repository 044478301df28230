#pragma once

#include <QDialog>

#include <array>
#include <vector>

#include "reference/ui/ref_core.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabBar;

// The sections of a luminaire line, one tab each: the luminaires on each side, the
// section's count and its choices. Works on a copy of the line; OK writes it back.
class CRefItemTabsDlg : public QDialog {
  Q_OBJECT

 public:
  struct Setup {
    int lineMode = 10;
    int count = 1;  // the line's count: the sections add up to it
    std::vector<int> states;
    std::array<int, 9> positions{};
    int connectionChoice = 0;
    char decimal = '.';
  };

  CRefItemTabsDlg(CRefLine& line, const Setup& setup, QWidget* parent = nullptr);

  const CRefLine& Copy() const { return m_copy; }
  void accept() override;

 private:
  CRefLineSection* Current();
  void OnTabChange();
  void OnPositionChange();
  void OnKindChange();
  void OnSideEdited(int field, QLineEdit* edit, QComboBox* spacing);
  void OnCountChanged(int value);
  void StoreCombo(QComboBox* combo, int field);
  void SyncTabs();
  static void Select(QComboBox* combo, int data);

  CRefLine& m_line;
  Setup m_setup;
  CRefLine m_copy;
  bool m_busy = false;
  QTabBar* m_tabs = nullptr;
  QLineEdit* m_a = nullptr;
  QLineEdit* m_b = nullptr;
  QSpinBox* m_count = nullptr;
  QComboBox* m_position = nullptr;
  QComboBox* m_kind = nullptr;
  QComboBox* m_side = nullptr;
  QComboBox* m_size = nullptr;
  QComboBox* m_spacing = nullptr;
  QComboBox* m_size2 = nullptr;
  QComboBox* m_spacing2 = nullptr;
  std::vector<QWidget*> m_secondSide;
};
