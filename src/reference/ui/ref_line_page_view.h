#pragma once

#include <QWidget>

#include <map>

#include "reference/ui/ref_core.h"

struct CRefLineControls;

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The header of the line page: the title, the rating, conductor and connection combos,
// the length and count edits and the box kind of the lighting lines. It shows what the
// rules of the line page fill and hands the user's choices back; the typed numbers are
// checked against their limits.
class CRefLinePageView : public QWidget {
  Q_OBJECT

 public:
  enum FillMode { kFillEdit = 0, kFillDisplay = 1 };

  explicit CRefLinePageView(char decimal, QWidget* parent = nullptr);

  // Fills the page from the line being edited; false when a combo found no valid choice.
  bool FillLinePage(CRefLineEditContext& context, int mode);
  // Shows (mode 5) or hides the controls of the line.
  void ShowLineControls(int mode, const CRefLine& line);
  // Only the title, over the totals of a selection.
  void ShowTitleOnly(const QString& title);
  // Header choices may change while the header is open, not once it was validated.
  void SetHeaderEnabled(bool enabled);
  // Shows the option buttons and the tap-off count the line has; the buttons stay usable
  // while the line is edited (optionsEnabled).
  void ShowOptionControls(const CRefLineControls& controls, bool optionsEnabled);
  // Fills the connection combo again, keeping the connection chosen when it is offered.
  void RefillConnections(CRefLineEditContext& context);
  // The connection chosen now (-1 for none).
  int ConnectionChosen() const;

  // The choices and typed numbers; false with the message that refuses a number.
  bool ReadInput(const CRefLine& line, CRefLinePageInput& input, std::string& problem) const;
  int LengthTyped() const;
  // The caption of the count field as it reads now (it names luminaires or tap-offs).
  std::string CountCaption() const;
  int CountTyped() const;

  QComboBox* RatingCombo() const { return m_rating; }
  QComboBox* ConductorCombo() const { return m_conductors; }
  QComboBox* ConnectionCombo() const { return m_connection; }
  QLineEdit* LengthEdit() const { return m_length; }
  QLineEdit* CountEdit() const { return m_count; }
  QLabel* Title() const { return m_title; }
  QLineEdit* ConnectionCountEdit() const { return m_connectionCount; }
  // An option button of the page by its control number (1201, 1205, 1206, 1371).
  QPushButton* OptionButton(int control) const;

 signals:
  void NumbersEdited();
  void ChoiceChanged();
  void OptionRequested(int control);

 private:
  void FillCombo(QComboBox* combo, const CRefComboFill& fill);
  void FilterLength();
  QWidget* Row(int labelMessage, QWidget* field, QLabel** label = nullptr);
  QWidget* WithButton(QWidget* field, int control, const QString& text);

  char m_decimal;
  bool m_qyx = false;
  bool m_filtering = false;
  QLabel* m_title = nullptr;
  QWidget* m_fields = nullptr;
  QComboBox* m_rating = nullptr;
  QComboBox* m_conductors = nullptr;
  QLabel* m_connectionLabel = nullptr;
  QComboBox* m_connection = nullptr;
  QLineEdit* m_length = nullptr;
  QLabel* m_countLabel = nullptr;
  QLineEdit* m_count = nullptr;
  QWidget* m_countRow = nullptr;
  QWidget* m_boxRow = nullptr;
  QComboBox* m_boxes = nullptr;
  bool m_boxKindOffered = false;  // the catalogue has tap-off boxes for lighting lines
  QWidget* m_connectionCountRow = nullptr;
  QLineEdit* m_connectionCount = nullptr;
  std::map<int, QPushButton*> m_options;
};
