#include "view/ui/pick_list_dlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "grid/ui/grid_qt_convert.h"

CPickListDlg::CPickListDlg(const QRect& cell, const CLogFont& font, CColor color,
                           const QStringList& codes, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_edit = new QLineEdit(text, this);
  m_edit->setFont(tvr::grid::ToQFont(font));
  QPalette colours = m_edit->palette();
  colours.setColor(QPalette::Text, tvr::grid::ToQColor(color));
  colours.setColor(QPalette::Base, Qt::white);
  m_edit->setPalette(colours);
  m_edit->selectAll();
  m_list = new QListWidget(this);
  m_list->setFont(m_edit->font());
  m_list->addItems(codes);
  m_list->setCurrentRow(-1);
  layout->addWidget(m_edit);
  layout->addWidget(m_list);
  const int itemHeight = m_list->fontMetrics().height() + 2;
  const int listHeight =
      itemHeight * std::min<int>(kMaxVisibleItems, static_cast<int>(codes.size()) + 1);
  m_list->setFixedHeight(listHeight);
  m_edit->setFixedHeight(cell.height());
  setGeometry(cell.left(), cell.top(), cell.width(), cell.height() + listHeight + 6);
  connect(m_list, &QListWidget::currentTextChanged, m_edit, &QLineEdit::setText);
  connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
  connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);
}

QString CPickListDlg::GetText() const { return m_edit->text(); }
