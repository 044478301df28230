#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The program's own message box (dialog 277), so that every message shows its buttons
// in the program's language and font. exec() returns the answer: kIdOk, kIdCancel,
// kIdYes or kIdNo (app/message_box_codes.h).
//
// The type's low four bits choose the buttons: 0 OK; 1 OK and Cancel; 3 Yes, No and
// Cancel; 4 Yes and No (any other value shows OK, so the box can always be left). With
// kMbDefButton2 the default button is Cancel for type 1 and No for types 3 and 4. Bits
// 4..7 choose the icon: 0x10 error, 0x20 question, 0x40 information, anything else
// the exclamation mark. Enter presses the default button, so Enter in a Yes/No box
// answers Yes. Escape or closing the window answers Cancel when there is a Cancel
// button and OK in an OK box; a Yes/No box must be answered with Yes or No.
class CMessageDlg : public QDialog {
  Q_OBJECT

 public:
  enum class IconKind { Error, Question, Information, Exclamation };

  // Control numbers, kept as object names.
  static constexpr int kDialogId = 277;
  static constexpr int kTextId = 1326;
  static constexpr int kIconId = 1459;
  static constexpr int kEditId = 1485;

  CMessageDlg(const QString& text, const QString& caption, unsigned type,
              QWidget* parent = nullptr);

  // Shows the edit below the message, holding the text (text entry).
  void SetInputText(const QString& text);
  // The edit's text as OK stored it; the text given before when OK was not pressed.
  const QString& InputText() const { return m_inputText; }

  IconKind Icon() const { return m_icon; }
  // The button of an answer (kIdOk, kIdYes, kIdNo, kIdCancel).
  QPushButton* Button(int answer) const;

  void reject() override;

 private:
  void BuildControls(const QString& text);
  QPushButton* AddButton(int answer, int messageNumber);
  void ShowButtons();
  void ShowIcon();
  void OnOk();

  unsigned m_type = 0;
  IconKind m_icon = IconKind::Exclamation;
  QString m_inputText;
  QLabel* m_iconLabel = nullptr;
  QLabel* m_textLabel = nullptr;
  QLineEdit* m_edit = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_yes = nullptr;
  QPushButton* m_no = nullptr;
  QPushButton* m_cancel = nullptr;
};
