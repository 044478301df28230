#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "reference/ui/ref_core.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class CRefEquipPicture;

// The equipment quantities of a line, page by page: up to nine rows of a text and a
// count. Counts typed on one page stay when the page changes; OK writes them into the
// line, Cancel leaves the line as it was.
class CRefEquipDlg : public QDialog {
  Q_OBJECT

 public:
  using Teller = std::function<void(const QString&)>;

  CRefEquipDlg(const CRefEquipSetup& setup, CRefLine& line, Teller tell, QWidget* parent = nullptr);

  // Shows the page at a position of the page combo; false (the old page kept) when a
  // count of the page shown is not a whole number of 0..9999.
  bool ShowPage(int position);
  // Whether OK changed any count of the line.
  bool Changed() const { return m_changed; }

  void accept() override;

 private:
  bool ReadPage();
  void OnFirstRowEdited();
  void SyncCheckRows(int which);

  CRefEquipSetup m_setup;
  CRefLine& m_line;
  Teller m_tell;
  CRefEquipPages m_pages;
  CRefEquipCounts m_counts;
  CRefEquipPageView m_view;
  int m_position = -1;
  int m_pageKind = -1;
  bool m_filling = false;
  bool m_changed = false;
  QComboBox* m_combo = nullptr;
  CRefEquipPicture* m_picture = nullptr;
  QLabel* m_note = nullptr;
  std::array<QLabel*, 9> m_texts{};
  std::array<QCheckBox*, 3> m_checks{};
  std::array<QLineEdit*, 9> m_edits{};
  std::array<QSpinBox*, 9> m_spins{};
};
