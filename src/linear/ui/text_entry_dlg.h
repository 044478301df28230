#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for one text, such as the name of a new line: leading blanks go at once, OK is
// enabled only for a text that is not blank, and the text comes back without trailing
// blanks.
class CTextEntryDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CTextEntryDlg(QWidget* parent = nullptr);

  void SetText(const QString& text);
  QString Text() const { return m_text; }
  QLineEdit* Edit() const { return m_edit; }
  QPushButton* OkButton() const { return m_ok; }

  void accept() override;

 private:
  void OnTextEdited();

  QLineEdit* m_edit = nullptr;
  QPushButton* m_ok = nullptr;
  QString m_text;
};

// The name rules of the text entry and the name panel: the text without its leading
// blanks, and whether a text is more than blanks.
QString WithoutLeadingBlanks(const QString& text);
// A name is one line: a pasted line end, TAB or other control character becomes a blank.
QString OneLineText(const QString& text);
QString WithoutTrailingBlanks(const QString& text);
bool IsBlankText(const QString& text);
