#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

class CGridEdit;

// The pop-up editor of a text cell: a frameless modal window exactly over the cell
// holding one multi-line edit (object name "1000") in the cell's font, colour and
// alignment, on white. Enter ends it with OK, Escape with Cancel.
class CGridPopupDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kEditId = 1000;

  // screenRect: where the editor lies, in screen coordinates. alignment: 0 left,
  // 1 centred, 2 right (anything else left).
  CGridPopupDlg(QWidget* parent, const QRect& screenRect, const QFont& font,
                const QColor& textColor, unsigned alignment, const QString& text);

  // The text when the editor ended with OK (lines separated by line feeds).
  const QString& GetText() const { return m_text; }
  CGridEdit* GetEdit() const { return m_edit; }

  void accept() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  CGridEdit* m_edit = nullptr;
  QString m_text;
};
