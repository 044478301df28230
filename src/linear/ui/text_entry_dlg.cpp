#include "linear/ui/text_entry_dlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 31083;
constexpr int kMsgOk = 31045;
constexpr int kMsgCancel = 31016;

}  // namespace

QString WithoutLeadingBlanks(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text[start] == QLatin1Char(' ')) ++start;
  return text.mid(start);
}

QString OneLineText(const QString& text) {
  QString line = text;
  for (QChar& c : line)
    if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
        c == QChar::ParagraphSeparator)
      c = QLatin1Char(' ');
  return line;
}

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
  return text.left(end);
}

bool IsBlankText(const QString& text) { return text.trimmed().isEmpty(); }

CTextEntryDlg::CTextEntryDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("text_entry_dlg"));
  SetMessageText(this, kMsgCaption);
  m_edit = new QLineEdit;
  m_edit->setObjectName(QStringLiteral("text_entry_edit"));
  m_ok = new QPushButton;
  SetMessageText(m_ok, kMsgOk);
  auto* cancel = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgCancel));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cancel);
  buttons->addStretch();
  buttons->addWidget(m_ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_edit);
  layout->addLayout(buttons);
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &CTextEntryDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CTextEntryDlg::reject);
  connect(m_edit, &QLineEdit::textEdited, this, &CTextEntryDlg::OnTextEdited);
  m_ok->setEnabled(false);
}

void CTextEntryDlg::SetText(const QString& text) {
  m_edit->setText(text);
  m_edit->selectAll();
  m_edit->setFocus();
  m_ok->setEnabled(!IsBlankText(text));
}

void CTextEntryDlg::OnTextEdited() {
  QString text = m_edit->text();
  QString trimmed = WithoutLeadingBlanks(OneLineText(text));
  if (trimmed != text) m_edit->setText(trimmed);
  m_ok->setEnabled(!IsBlankText(trimmed));
}

void CTextEntryDlg::accept() {
  if (IsBlankText(m_edit->text())) return;
  m_text = WithoutTrailingBlanks(OneLineText(m_edit->text()));
  QDialog::accept();
}
