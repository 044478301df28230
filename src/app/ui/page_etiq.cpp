#include "app/ui/page_etiq.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "app/options_values.h"
#include "app/ui/label_font.h"
#include "app/ui/label_font_dlg.h"
#include "app/ui/translator.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2580;
constexpr int kMsgDefaults = 2589;
constexpr int kMsgFont = 2590;
constexpr int kMsgBackground = 2591;
constexpr int kMsgOpaque = 2592;
constexpr int kMsgVisible = 2593;
constexpr int kMsgBranch = 7539;
constexpr int kMsgDimension = 7540;
constexpr int kMsgPosition = 7541;
constexpr int kMsgBom = 7542;
constexpr int kMsgRun = 7543;
constexpr int kMsgBusbar = 7544;
constexpr int kMsgCartouche = 7545;

constexpr int kKindTexts[kLabelKindCount] = {kMsgBranch, kMsgDimension, kMsgPosition, kMsgBom,
                                             kMsgRun,    kMsgBusbar,    kMsgCartouche};

QColor ToQColor(CColor color) { return QColor(color.red, color.green, color.blue); }

CColor ToColor(const QColor& color) { return MakeColor(color.red(), color.green(), color.blue()); }

}  // namespace

CPageEtiq::CPageEtiq(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  m_list = new QListWidget(this);
  m_list->setObjectName(QString::number(kKindList));
  for (int message : kKindTexts) m_list->addItem(StringQText(message));
  layout->addWidget(m_list, 0, 0, 5, 1);
  m_visible = new QCheckBox(this);
  m_visible->setObjectName(QString::number(kVisible));
  SetMessageText(m_visible, kMsgVisible);
  m_opaque = new QCheckBox(this);
  m_opaque->setObjectName(QString::number(kOpaque));
  SetMessageText(m_opaque, kMsgOpaque);
  QPushButton* font = AddButton(kFontButton, kMsgFont);
  QPushButton* background = AddButton(kBackgroundButton, kMsgBackground);
  font->setEnabled(!CTranslator::Instance().IsActive());
  layout->addWidget(m_visible, 0, 1);
  layout->addWidget(m_opaque, 1, 1);
  layout->addWidget(font, 2, 1);
  layout->addWidget(background, 3, 1);
  layout->addWidget(AddDefaultsButton(kMsgDefaults), 4, 1, Qt::AlignBottom);
  connect(font, &QPushButton::clicked, this, &CPageEtiq::OnFontButton);
  connect(background, &QPushButton::clicked, this, &CPageEtiq::OnBackgroundButton);
  connect(m_list, &QListWidget::currentRowChanged, this, &CPageEtiq::OnKindChanged);
  m_kinds = DefaultLabelKinds();
}

void CPageEtiq::Load(const COptionsValues& values) {
  m_kinds = values.labels;
  m_list->blockSignals(true);
  m_list->setCurrentRow(0);
  m_list->blockSignals(false);
  ShowKind(0);
}

bool CPageEtiq::Save(COptionsValues& values) {
  values.labels = Kinds();
  return true;
}

std::array<CLabelStyle, kLabelKindCount> CPageEtiq::Kinds() {
  StoreControls();
  return m_kinds;
}

void CPageEtiq::ShowKind(int kind) {
  if (kind < 0 || kind >= kLabelKindCount) return;
  m_working = m_kinds[static_cast<std::size_t>(kind)];
  m_visible->setChecked(m_working.visible);
  m_opaque->setChecked(m_working.opaque);
  m_held = kind;
}

void CPageEtiq::StoreControls() {
  CLabelStyle& style = m_kinds[static_cast<std::size_t>(m_held)];
  style.visible = m_visible->isChecked();
  style.opaque = m_opaque->isChecked();
  style.font = m_working.font;
  style.fontColor = m_working.fontColor;
  style.background = m_working.background;
}

void CPageEtiq::OnKindChanged(int kind) {
  StoreControls();
  ShowKind(kind);
}

void CPageEtiq::SetWorkingFont(const CLogFont& font, CColor fontColor) {
  m_working.font = font;
  m_working.fontColor = fontColor;
}

void CPageEtiq::SetWorkingBackground(CColor background) { m_working.background = background; }

void CPageEtiq::OnFontButton() {
  CLabelFontDlg dialog(LabelQFont(m_working.font), ToQColor(m_working.fontColor), this);
  if (dialog.exec() != QDialog::Accepted) return;
  SetWorkingFont(LabelLogFont(dialog.SelectedFont(), m_working.font),
                 ToColor(dialog.SelectedColor()));
}

void CPageEtiq::OnBackgroundButton() {
  QColor color = QColorDialog::getColor(ToQColor(m_working.background), this);
  if (color.isValid()) SetWorkingBackground(ToColor(color));
}

void CPageEtiq::ResetDefaults() {
  m_kinds = DefaultLabelKinds();
  ShowKind(m_held);
}
