#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "pages/dimension_params.h"

class CDimension;
class QLabel;
class QLineEdit;

// The dialog in which the dimensions of a made-to-measure part are typed: the special
// shape's parameters (e, f, g, h, l, j, k) or a CLINQ piece's (a, b, c, d, e, f and on
// range QM y). It shows the element's parameter text in its fields and, on OK, hands
// back a new one once every field lies within its limits.
class CDimensionEntryDlg : public QDialog {
  Q_OBJECT

 public:
  // The units lengths are shown and read in.
  CDimensionEntryDlg(const CDimension& units, EParamMode mode, bool rangeQM, std::string parameters,
                     QWidget* parent = nullptr);

  // CLINQ mode on range QM: the width shown beside the fields.
  void SetWidth(int width);
  // After OK: the new parameter text.
  const std::string& Parameters() const { return m_parameters; }
  QLineEdit* Field(std::size_t index) const { return m_edits[index]; }

 public slots:
  void accept() override;
  // Empties the fields the mode uses.
  void OnClear();

 private:
  void BuildFields();
  void ShowValues();
  std::int64_t ReadField(std::size_t index) const;
  std::string FormatField(std::size_t index, std::int64_t value) const;
  void Refuse(std::size_t index);

  const CDimension& m_units;
  EParamMode m_mode;
  bool m_rangeQM;
  std::string m_parameters;
  std::array<QLineEdit*, kParamFieldCount> m_edits{};
  std::array<QLabel*, kParamFieldCount> m_labels{};
  QLineEdit* m_width = nullptr;
  QLabel* m_widthLabel = nullptr;
  QLabel* m_picture = nullptr;
};
