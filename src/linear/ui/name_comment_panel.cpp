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
#include "linear/ui/text_entry_dlg.h"

namespace {

constexpr int kMsgNameTitle = 31081;
constexpr int kMsgCommentTitle = 31082;
constexpr int kMsgDelete = 31084;
constexpr int kMsgApply = 31045;
constexpr int kMsgDeleteApply = 31085;
constexpr int kMsgCancel = 31016;

}  // namespace

CNameCommentPanel::CNameCommentPanel(QObject& context, CEditPanelOwner& owner, std::string& name,
                                     std::string& comment, bool editable)
    : m_context(context), m_owner(owner), m_name(name), m_comment(comment), m_editable(editable) {
  setObjectName(QStringLiteral("name_comment_panel"));
  auto* layout = new QVBoxLayout(this);
  auto* nameTitle = new QLabel(QStringLiteral("       ") + StringQText(kMsgNameTitle));
  m_nameEdit = new QLineEdit(QString::fromStdString(name));
  m_nameEdit->setObjectName(QStringLiteral("name_comment_name"));
  auto* commentTitle = new QLabel(QStringLiteral("       ") + StringQText(kMsgCommentTitle));
  m_commentEdit = new QPlainTextEdit(QString::fromStdString(comment));
  m_commentEdit->setObjectName(QStringLiteral("name_comment_comment"));
  m_delete = new QCheckBox;
  m_delete->setObjectName(QStringLiteral("name_comment_delete"));
  SetMessageText(m_delete, kMsgDelete);
  auto* cancel = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgCancel));
  m_apply = new QPushButton;
  m_apply->setObjectName(QStringLiteral("name_comment_apply"));
  SetMessageText(m_apply, kMsgApply);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cancel);
  buttons->addStretch();
  buttons->addWidget(m_apply);
  for (QWidget* widget : std::initializer_list<QWidget*>{nameTitle, m_nameEdit, commentTitle,
                                                         m_commentEdit, m_delete})
    layout->addWidget(widget);
  layout->addLayout(buttons);
  m_nameEdit->setEnabled(m_editable);
  m_commentEdit->setEnabled(m_editable);
  connect(m_nameEdit, &QLineEdit::textEdited, this, &CNameCommentPanel::OnNameChange);
  connect(m_delete, &QCheckBox::clicked, this, &CNameCommentPanel::OnDeleteCheck);
  connect(m_apply, &QPushButton::clicked, this, &CNameCommentPanel::OnApply);
  connect(cancel, &QPushButton::clicked, this, &CNameCommentPanel::OnCancel);
  OnNameChange();
}

void CNameCommentPanel::OnNameChange() {
  QString text = m_nameEdit->text();
  QString trimmed = WithoutLeadingBlanks(OneLineText(text));
  if (trimmed != text) m_nameEdit->setText(trimmed);
  if (!m_delete->isChecked()) m_apply->setEnabled(m_editable && !IsBlankText(trimmed));
}

void CNameCommentPanel::OnDeleteCheck() {
  const bool deleting = m_delete->isChecked();
  SetMessageText(m_apply, deleting ? kMsgDeleteApply : kMsgApply);
  m_nameEdit->setEnabled(!deleting && m_editable);
  m_commentEdit->setEnabled(!deleting && m_editable);
  if (deleting) m_apply->setEnabled(true);
  else OnNameChange();
}

void CNameCommentPanel::OnApply() {
  int code = m_delete->isChecked() ? CEditPanelOwner::kPanelDelete : CEditPanelOwner::kPanelNothing;
  std::string name = WithoutTrailingBlanks(OneLineText(m_nameEdit->text())).toStdString();
  std::string comment = WithoutTrailingBlanks(m_commentEdit->toPlainText()).toStdString();
  if (!name.empty() && name != m_name && code != CEditPanelOwner::kPanelDelete) {
    m_name = LimitLinearText(name);
    code = CEditPanelOwner::kPanelRenamed;
  }
  // A changed comment is work to save as much as a new name.
  if (LimitLinearText(comment) != m_comment && code == CEditPanelOwner::kPanelNothing)
    m_owner.MarkModified();
  m_comment = LimitLinearText(comment);
  Close(code);
}

void CNameCommentPanel::OnCancel() { Close(CEditPanelOwner::kPanelNothing); }

void CNameCommentPanel::Close(int code) {
  // The owner deletes the panel: it must not happen inside this panel's own handler.
  CEditPanelOwner* owner = &m_owner;
  hide();
  QTimer::singleShot(0, &m_context, [owner, code] { owner->ShowEditPanel(false, code); });
}
