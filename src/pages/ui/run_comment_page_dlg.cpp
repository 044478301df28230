#include "pages/ui/run_comment_page_dlg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr int kMsgName = 2558;
constexpr int kMsgComment = 2559;

}  // namespace

CRunCommentPageDlg::CRunCommentPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  auto* grid = new QGridLayout(this);
  m_name = MakeEdit(1006);
  m_comment = new QPlainTextEdit(this);
  m_comment->setObjectName(QStringLiteral("1017"));
  m_comment->setTabChangesFocus(true);
  grid->addWidget(MakeLabel(1070, kMsgName), 0, 0);
  grid->addWidget(m_name, 0, 1);
  grid->addWidget(MakeLabel(1069, kMsgComment), 1, 0, Qt::AlignTop);
  grid->addWidget(m_comment, 1, 1);
  grid->setRowStretch(1, 1);
}

void CRunCommentPageDlg::ShowValues() {
  m_name->setText(QString::fromStdString(m_rules.GetName()));
  m_comment->setPlainText(QString::fromStdString(m_rules.GetComment()));
}

void CRunCommentPageDlg::StoreValues() {
  m_rules.SetName(m_name->text().toStdString());
  m_rules.SetComment(m_comment->toPlainText().toStdString());
}
