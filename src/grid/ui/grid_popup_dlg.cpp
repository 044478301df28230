#include "grid/ui/grid_popup_dlg.h"

#include <QPalette>
#include <QTextDocument>
#include <QTextOption>

#include "grid/ui/grid_edit.h"

CGridPopupDlg::CGridPopupDlg(QWidget* parent, const QRect& screenRect, const QFont& font,
                             const QColor& textColor, unsigned alignment, const QString& text)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_text(text) {
  setModal(true);
  // Exactly the cell's size, however small: no layout and no minimum sizes.
  setMinimumSize(1, 1);
  m_edit = new CGridEdit(this);
  m_edit->setObjectName(QString::number(kEditId));
  m_edit->setMinimumSize(1, 1);
  m_edit->setFont(font);
  QPalette colours = m_edit->palette();
  colours.setColor(QPalette::Text, textColor);
  colours.setColor(QPalette::Base, Qt::white);
  m_edit->setPalette(colours);
  m_edit->document()->setDocumentMargin(1);
  const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignHCenter
                                   : alignment == 2 ? Qt::AlignRight
                                                    : Qt::AlignLeft;
  m_edit->document()->setDefaultTextOption(QTextOption(horizontal));
  m_edit->setPlainText(text);
  m_edit->selectAll();
  setGeometry(screenRect);
}

void CGridPopupDlg::accept() {
  m_text = m_edit->toPlainText();
  QDialog::accept();
}

void CGridPopupDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  m_edit->setGeometry(rect());
}

void CGridPopupDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_edit->setFocus();
  m_edit->ensureCursorVisible();
}
