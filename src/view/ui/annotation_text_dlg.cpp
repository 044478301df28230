#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_settings_lock.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/message_dlg.h"
#include "app/dorne_app.h"
#include "model/annotation/annotation_label.h"
#include "model/document/dorne_doc.h"
#include "model/run/run_environment.h"
#include "platform/text_conversions.h"
#include "view/annotation_dialog_rules.h"
#include "view/ui/annotation_dialog_parts.h"
#include "view/ui/annotation_dialogs.h"

namespace {

constexpr int kTextDialog = 30739;
constexpr int kMsgCaption = 5037;
constexpr std::array<int, 3> kEditIds{1486, 1487, 1488};
constexpr std::array<int, 3> kAlignMessages{31497, 31498, 31499};
// The language files give messages 31104, 31105 and 31464 to other windows: these labels
// have numbers of their own.
constexpr int kMsgSaveDefault = 5046;
constexpr int kMsgAskSaveDefault = 5047;
constexpr int kMsgAskDelete = 5048;
constexpr int kPointsPerInch = 72;

using annotation_dialog_parts::Caption;
using annotation_dialog_parts::NamedButton;
using annotation_dialog_parts::Text;

QCheckBox* NamedCheck(QWidget* parent, int id, const QString& text) {
  auto* check = new QCheckBox(text, parent);
  check->setObjectName(QString::number(id));
  return check;
}

std::uint32_t ColorRefOf(const QColor& colour) {
  return CColor{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                static_cast<std::uint8_t>(colour.blue())}
      .ToColorRef();
}

}  // namespace

bool ConfirmAnnotationDelete(QWidget* parent) {
  CMessageDlg ask(QString::fromStdString(StringText(kMsgAskDelete)), QString(), 0x21, parent);
  return ask.exec() == kIdOk;
}

CTextLabelDlg::CTextLabelDlg(CAnnotationLabel& label, const CDorneDoc* document, QWidget* parent)
    : QDialog(parent), m_label(label), m_document(document) {
  setObjectName(QString::number(kTextDialog));
  setWindowTitle(Caption(kMsgCaption));
  m_font = label.GetFont();
  if (m_font.faceName.empty() || m_font.height <= 0) m_font = TextToLogFont("Arial,10,0");
  m_fontColor = label.GetFontColor();
  m_background = label.GetBackground();
  BuildControls();
}

void CTextLabelDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  const QString text = QString::fromStdString(m_label.GetText());
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    auto* edit = new QPlainTextEdit(text, this);
    edit->setObjectName(QString::number(kEditIds[i]));
    layout->addWidget(edit);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit] { SyncTexts(edit); });
    m_edits[i] = edit;
  }
  auto* row = new QHBoxLayout();
  auto* alignLabel = new QLabel(Text(2553), this);
  alignLabel->setObjectName(QStringLiteral("1070"));
  m_align = new QComboBox(this);
  m_align->setObjectName(QStringLiteral("1016"));
  for (int message : kAlignMessages) m_align->addItem(Text(message));
  row->addWidget(alignLabel);
  row->addWidget(m_align);
  layout->addLayout(row);
  m_opaque = NamedCheck(this, 1035, Text(2592));
  m_opaque->setChecked((m_label.GetOpaque() & 0xFFu) != 0);
  m_withRun = NamedCheck(this, 1647, Text(2734));
  m_withRun->setChecked((m_label.GetFlags() & CAnnotation::kFlagWithRun) != 0);
  m_attached = NamedCheck(this, 1648, QStringLiteral("Dev"));
  m_attached->setChecked((m_label.GetFlags() & CAnnotation::kFlagUserAttached) != 0);
  m_attached->setVisible(false);
  m_attached->setEnabled(annotation_dialog::AttachChoiceEnabled(m_label, SelectedElement()));
  for (QWidget* check : {static_cast<QWidget*>(m_opaque), static_cast<QWidget*>(m_withRun)})
    layout->addWidget(check);
  auto* buttons = new QHBoxLayout();
  QPushButton* font = NamedButton(this, 1032, Text(2590));
  QPushButton* background = NamedButton(this, 1045, Text(2591));
  QPushButton* saveDefault = NamedButton(this, 1307, Text(kMsgSaveDefault));
  QPushButton* remove = NamedButton(this, 1046, Text(364));
  m_ok = NamedButton(this, 1, Text(2623));
  m_ok->setDefault(true);
  QPushButton* cancel = NamedButton(this, 2, Text(2624));
  for (QPushButton* b : {font, background, saveDefault, remove, m_ok, cancel})
    buttons->addWidget(b);
  layout->addLayout(buttons);
  connect(m_align, &QComboBox::currentIndexChanged, this, &CTextLabelDlg::OnAlignChange);
  connect(m_opaque, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
  connect(font, &QPushButton::clicked, this, &CTextLabelDlg::OnFont);
  connect(background, &QPushButton::clicked, this, &CTextLabelDlg::OnBackground);
  connect(saveDefault, &QPushButton::clicked, this, &CTextLabelDlg::OnSaveDefault);
  connect(remove, &QPushButton::clicked, this, [this] {
    if (ConfirmAnnotationDelete(this)) done(3);
  });
  connect(m_ok, &QPushButton::clicked, this, &CTextLabelDlg::OnOk);
  connect(cancel, &QPushButton::clicked, this, [this] { done(2); });
  m_align->setCurrentIndex(annotation_dialog::AlignmentEntry(m_label.GetFlags()));
  OnAlignChange(m_align->currentIndex());
  m_ok->setEnabled(!text.isEmpty());
  UpdatePreview();
}

void CTextLabelDlg::SyncTexts(QPlainTextEdit* changed) {
  if (m_syncing) return;
  m_syncing = true;
  const QString text = changed->toPlainText();
  for (QPlainTextEdit* edit : m_edits)
    if (edit != changed) edit->setPlainText(text);
  m_syncing = false;
  m_ok->setEnabled(!text.isEmpty());
}

void CTextLabelDlg::OnAlignChange(int entry) {
  const std::array<Qt::Alignment, 3> aligns{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    QPlainTextEdit* edit = m_edits[i];
    const bool shown = static_cast<int>(i) == entry;
    edit->setVisible(shown);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(aligns[i]);
    edit->document()->setDefaultTextOption(option);
    if (shown) edit->setFocus();
  }
}

void CTextLabelDlg::UpdatePreview() {
  QFont font(QString::fromStdString(m_font.faceName));
  font.setPointSize(std::max(1, m_font.height));
  font.setBold(m_font.weight >= 600);
  font.setItalic(m_font.italic != 0);
  const CColor ink = CColor::FromColorRef(m_fontColor);
  const CColor paper = CColor::FromColorRef(m_background);
  const QString sheet =
      QStringLiteral("QPlainTextEdit { color: rgb(%1,%2,%3); background: %4; }")
          .arg(ink.red)
          .arg(ink.green)
          .arg(ink.blue)
          .arg(m_opaque->isChecked()
                   ? QStringLiteral("rgb(%1,%2,%3)").arg(paper.red).arg(paper.green).arg(paper.blue)
                   : QStringLiteral("white"));
  for (QPlainTextEdit* edit : m_edits) {
    edit->setFont(font);
    edit->setStyleSheet(sheet);
  }
}

void CTextLabelDlg::OnFont() {
  QFont current(QString::fromStdString(m_font.faceName), std::max(1, m_font.height));
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, current, this);
  if (!ok) return;
  m_font.faceName = chosen.family().toStdString();
  m_font.height = std::max(
      1, chosen.pointSize() > 0 ? chosen.pointSize() : chosen.pixelSize() * kPointsPerInch / 96);
  m_font.weight = chosen.bold() ? 700 : 0;
  m_font.italic = chosen.italic() ? 1 : 0;
  // The font dialog has no colour of its own: the font's colour is chosen next, the
  // current one preselected; cancelling it keeps the colour and the font chosen.
  const CColor ink = CColor::FromColorRef(m_fontColor);
  const QColor colour = QColorDialog::getColor(QColor(ink.red, ink.green, ink.blue), this);
  if (colour.isValid()) m_fontColor = ColorRefOf(colour);
  UpdatePreview();
}

void CTextLabelDlg::OnBackground() {
  const CColor old = CColor::FromColorRef(m_background);
  const QColor chosen = QColorDialog::getColor(QColor(old.red, old.green, old.blue), this);
  if (!chosen.isValid()) return;
  m_background = ColorRefOf(chosen);
  UpdatePreview();
}

void CTextLabelDlg::OnSaveDefault() {
  CMessageDlg ask(QString::fromStdString(StringText(kMsgAskSaveDefault)), QString(), 0x21, this);
  if (ask.exec() != kIdOk) return;
  CDorneApp* app = const_cast<CDorneApp*>(CRunEnvironment::Instance().App());  // NOLINT
  if (app == nullptr) return;
  CLabelStyle style = app->Settings().labels[kLabelText];
  style.opaque = m_opaque->isChecked();
  style.font = m_font;
  style.fontColor = CColor::FromColorRef(m_fontColor);
  style.background = CColor::FromColorRef(m_background);
  style.flags = static_cast<int>(
      annotation_dialog::WithAlignment(m_label.GetFlags(), m_align->currentIndex()));
  {
    const std::unique_lock lock(AppSettingsMutex());
    app->Settings().labels[kLabelText] = style;
  }
  // A settings file that cannot keep it still leaves the style for this run of the program.
  static_cast<void>(WriteLabelStyle(app->Profile(), kLabelText, style));
}

void CTextLabelDlg::OnOk() {
  m_label.SetText(m_edits[0]->toPlainText().toStdString());
  m_label.SetFont(m_font);
  m_label.SetFontColor(m_fontColor);
  m_label.SetFlags(annotation_dialog::WithAlignment(m_label.GetFlags(), m_align->currentIndex()));
  m_label.SetOpaque(
      annotation_dialog::WithOpaqueSwitch(m_label.GetOpaque(), m_opaque->isChecked()));
  m_label.SetBackground(m_background);
  annotation_dialog::ApplyRunChoice(m_label, m_withRun->isChecked(), m_document);
  if (m_attached->isEnabled())
    annotation_dialog::ApplyAttachChoice(m_label, m_attached->isChecked(), SelectedElement());
  done(1);
}

CDev* CTextLabelDlg::SelectedElement() const {
  return m_document != nullptr ? m_document->Selection().Element() : nullptr;
}

int CTextLabelDlg::Run() {
  const int result = exec();
  return result == 1 || result == 3 ? result : 2;
}
