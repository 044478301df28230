#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "reference/ref_luminaire_rows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The choice of a luminaire by its description, then by lamp, power and ballast: one row
// per luminaire of the description, two that differ in the ballast only sharing a row
// whose button switches between them.
class CLumRowsDlg : public QDialog {
  Q_OBJECT

 public:
  CLumRowsDlg(std::string catalogueFolder, std::uint32_t chosen, QWidget* parent = nullptr,
              std::string filter = {});

  std::uint32_t Chosen() const { return m_chosen; }
  // Shows the rows of the description at that position of the list.
  void QueryLuminaires();
  void SelectRow(int row);
  void OnRowOptionChanged(int row);

 private:
  struct RowControls {
    QLabel *tube = nullptr, *power = nullptr, *ballast = nullptr;
    QPushButton* option = nullptr;
    QCheckBox* check = nullptr;
  };

  void BuildRows();
  void UpdateOk();

  std::string m_folder;
  std::string m_filter;
  std::uint32_t m_chosen = 0;
  QComboBox* m_descriptions = nullptr;
  std::vector<CLuminaireRow> m_rows;
  std::array<RowControls, kLumMaxRows> m_controls{};
  QPushButton* m_ok = nullptr;
};
