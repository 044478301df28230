#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

#include "reference/ui/ref_core.h"

class CRefCoffTable;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

// The choice and rating panel of a reference line: for choice kinds 0..9 the options of
// a component family (and the fixing spacing), for kinds 20..26 the catalogue positions
// of a rating table with their units. It stores into the line (or the family choices)
// only on OK, and ends accepted only when something changed.
class CRefRatingPanel : public QDialog {
  Q_OBJECT

 public:
  using Teller = std::function<void(const QString&)>;

  // table: REF_COFF.DBF, needed by kinds 20..26 (without it they end at once).
  CRefRatingPanel(CRefLineEditContext& context, int kind, const CRefCoffTable* table, Teller tell,
                  QWidget* parent = nullptr);

  // False when the panel has nothing to show (kinds 20..26 without their table).
  bool Ready() const { return m_ready; }
  // The component or code OK stored.
  int Member() const { return m_member; }

  void accept() override;

 private:
  void BuildOptions();
  void BuildRatings();
  void ShowGroup(int group);
  void ShowType(const QString& type);
  bool ReadRowValues(std::vector<int>& values);
  void OnSwitch(int row, bool checked);
  void OnPoleChange(int pole);

  CRefLineEditContext& m_context;
  int m_kind;
  const CRefCoffTable* m_table;
  Teller m_tell;
  bool m_ready = true;
  int m_member = -1;
  CRefChoicePanelView m_view;
  QButtonGroup* m_boxes = nullptr;
  QLineEdit* m_pitch = nullptr;
  QSpinBox* m_pitchSpin = nullptr;
  QComboBox* m_pole = nullptr;
  // Rating tables.
  CRatingSetup m_setup;
  std::vector<CRatingEntry> m_entries;
  std::vector<std::size_t> m_shown;
  int m_group = 0;
  QLabel* m_caption = nullptr;  // the table's name, where a table with groups lists them
  QComboBox* m_groups = nullptr;
  QComboBox* m_types = nullptr;
  QGridLayout* m_rowGrid = nullptr;
  std::array<QLabel*, 10> m_ratingLabels{};
  std::array<QCheckBox*, 10> m_switches{};
  std::array<QLabel*, 10> m_typeLabels{};
  std::array<QLineEdit*, 10> m_values{};
  std::array<QLabel*, 10> m_extraLabels{};  // the short-circuit column of family 10
  std::array<QLabel*, 4> m_headings{};      // rating, protection, type, short circuit
  QLabel* m_note = nullptr;
  void BuildRowGrid();
  void ShowHeadings();
  void ShowRow(int row, CRatingEntry& entry, bool ip54, bool noted);
};
