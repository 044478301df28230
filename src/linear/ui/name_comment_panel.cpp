#include "linear/ui/name_comment_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"
#include "linear/linear_line.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/text_entry_dlg.h"

namespace {

constexpr int kMsgNameTitle = 31081;
constexpr int kMsgCommentTitle = 31082;
constexpr int kMsgDelete = 31084;
constexpr int kMsgApply = 31045;
constexpr int kMsgDeleteApply = 31085;
constexpr int kMsgCancel = 31016;

}  // namespace

CNameCommentPanel::CNameCommentPanel(CLinearDlg& owner, CLinearLine& line, bool editable)
    : m_owner(owner), m_line(line), m_editable(editable) {
  setObjectName(QStringLiteral("name_comment_panel"));
  auto* layout = new QVBoxLayout(this);
  auto* nameTitle = new QLabel(QStringLiteral("       ") + StringQText(kMsgNameTitle));
  m_name = new QLineEdit(QString::fromStdString(line.Name));
  auto* commentTitle = new QLabel(QStringLiteral("       ") + StringQText(kMsgCommentTitle));
  m_comment = new QPlainTextEdit(QString::fromStdString(line.Comment));
  m_delete = new QCheckBox;
  SetMessageText(m_delete, kMsgDelete);
  auto* cancel = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgCancel));
  m_apply = new QPushButton;
  SetMessageText(m_apply, kMsgApply);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cancel);
  buttons->addStretch();
  buttons->addWidget(m_apply);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{nameTitle, m_name, commentTitle, m_comment, m_delete})
    layout->addWidget(widget);
  layout->addLayout(buttons);
  m_name->setEnabled(m_editable);
  m_comment->setEnabled(m_editable);
  connect(m_name, &QLineEdit::textEdited, this, &CNameCommentPanel::OnNameChange);
  connect(m_delete, &QCheckBox::clicked, this, &CNameCommentPanel::OnDeleteCheck);
  connect(m_apply, &QPushButton::clicked, this, &CNameCommentPanel::OnApply);
  connect(cancel, &QPushButton::clicked, this, &CNameCommentPanel::OnCancel);
  OnNameChange();
}

void CNameCommentPanel::OnNameChange() {
  QString text = m_name->text();
  QString trimmed = WithoutLeadingBlanks(text);
  if (trimmed != text) m_name->setText(trimmed);
  if (!m_delete->isChecked()) m_apply->setEnabled(m_editable && !IsBlankText(trimmed));
}

void CNameCommentPanel::OnDeleteCheck() {
  const bool deleting = m_delete->isChecked();
  SetMessageText(m_apply, deleting ? kMsgDeleteApply : kMsgApply);
  m_name->setEnabled(!deleting && m_editable);
  m_comment->setEnabled(!deleting && m_editable);
  if (deleting) m_apply->setEnabled(true);
  else OnNameChange();
}

void CNameCommentPanel::OnApply() {
  int code = m_delete->isChecked() ? CLinearDlg::kPanelDelete : CLinearDlg::kPanelNothing;
  std::string name = WithoutTrailingBlanks(m_name->text()).toStdString();
  std::string comment = WithoutTrailingBlanks(m_comment->toPlainText()).toStdString();
  if (!name.empty() && name != m_line.Name && code != CLinearDlg::kPanelDelete) {
    m_line.Name = LimitLinearText(name);
    code = CLinearDlg::kPanelRenamed;
  }
  // A changed comment is work to save as much as a new name.
  if (LimitLinearText(comment) != m_line.Comment && code == CLinearDlg::kPanelNothing)
    m_owner.MarkModified();
  m_line.Comment = LimitLinearText(comment);
  Close(code);
}

void CNameCommentPanel::OnCancel() { Close(CLinearDlg::kPanelNothing); }

void CNameCommentPanel::Close(int code) {
  // The owner deletes the panel: it must not happen inside this panel's own handler.
  CLinearDlg* owner = &m_owner;
  hide();
  QTimer::singleShot(0, owner, [owner, code] { owner->ShowEditPanel(false, code); });
}
