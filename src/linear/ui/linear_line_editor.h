#pragma once

#include <QWidget>

#include <map>
#include <vector>

#include "linear/linear_config.h"
#include "linear/linear_line.h"

class CLinearLineList;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The line editor of the linear main dialog: the header page (conductors, variant, the
// current in amperes and the product it gives) and the body page, whose rows follow the
// options the line's product offers. It works on the working record only.
class CLinearLineEditor : public QWidget {
  Q_OBJECT

 public:
  // What the body page shows of one slot.
  enum class RowKind { Check, Length, Count, Step };
  // The second check of slot 28 (bits 10-19) has no slot of its own.
  static constexpr int kSlot28High = 1028;
  struct BodyRow {
    int option = 0;
    int slot = 0;
    RowKind kind = RowKind::Count;
    int message = 0;
    int chooserKind = -1;  // the "..." button beside it; -1 none
    int group = 0;         // 1 upstream, 2 downstream exclusive group, 0 none
    QWidget* field = nullptr;
    QPushButton* chooser = nullptr;
  };

  CLinearLineEditor(const CLinearConfig& config, CLinearLineList& lines, char decimal,
                    QWidget* parent = nullptr);

  // Fills the header for the working record; false when the group offers nothing.
  bool FillLineCombos(const QString& title);
  // Refills the product combo from the conductors, the variant and the typed current.
  void RefillProducts();
  void StepRating(int direction);
  // Reads the header into the working record and lays out the body page.
  bool ApplyLineHeader();
  void ShowBodyControls();
  // Checks the body; the message number of the first fault (0 when valid), with its
  // text in problem.
  int ValidateBody(QString& problem);
  void StoreBody();
  // What the body page shows, by slot: an edit's text, or "1" / "0" for a check.
  using Entries = std::map<int, QString>;
  Entries BodyEntries() const;
  // Shows the entries again in the rows whose slot value is still the one of before (a
  // chooser may have changed some slots; their rows show the new values).
  void RestoreEntries(const Entries& entries, const CLinearLine::SlotArray& before);
  bool OnHeaderPage() const;
  void ShowHeaderPage();
  void ClearBody();

  // Controls by their role (tests and the dialog).
  QComboBox* ConductorCombo() const { return m_conductors; }
  QComboBox* VariantCombo() const { return m_variants; }
  QComboBox* ProductCombo() const { return m_products; }
  QLineEdit* AmpereEdit() const { return m_ampere; }
  QComboBox* QyChoiceCombo() const { return m_qyChoice; }
  QLabel* ProductNote() const { return m_note; }
  const std::vector<BodyRow>& Rows() const { return m_rows; }
  QWidget* FieldOfSlot(int slot) const;
  void OnCheckChanged(int slot, bool checked);

 signals:
  void AbandonAsked();
  void HeaderAccepted();
  void BodyAccepted();
  void ChooserAsked(int kind);

 private:
  void BuildHeader();
  void BuildBodyPage();
  void AddRow(BodyRow row);
  void ResetGroupSlots(int group, int slot);
  void OnVariantChanged();
  // The note beside the product combo, or the lighting choice in its place.
  void ShowProductNote();
  void ApplyQyChoice(CLinearLine& line);
  std::vector<int> CandidateProducts() const;
  double FieldNumber(int slot, bool& ok) const;
  CLinearLine& Line() const;

  const CLinearConfig& m_config;
  CLinearLineList& m_lines;
  char m_decimal;
  bool m_slot24Step = false;
  QStackedWidget* m_pages = nullptr;
  QLabel* m_title = nullptr;
  QComboBox* m_conductors = nullptr;
  QComboBox* m_variants = nullptr;
  QComboBox* m_products = nullptr;
  QComboBox* m_qyChoice = nullptr;
  QLabel* m_note = nullptr;
  QLineEdit* m_ampere = nullptr;
  QPushButton* m_headerNext = nullptr;
  QWidget* m_body = nullptr;
  QGridLayout* m_bodyGrid = nullptr;
  std::vector<BodyRow> m_rows;
};
