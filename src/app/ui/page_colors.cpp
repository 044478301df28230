#include "app/ui/page_colors.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/message_text.h"
#include "app/options_values.h"
#include "app/ui/message_box.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2567;
constexpr int kMsgTapOff = 32023;
constexpr int kMsgList = 2568;
constexpr int kMsgSample1 = 2569;
constexpr int kMsgSample2 = 2570;
constexpr int kMsgDefaults = 2571;
constexpr int kMsgChoose = 2572;

QColor ToQColor(CColor color) { return QColor(color.red, color.green, color.blue); }

CColor ToColor(const QColor& color) { return MakeColor(color.red(), color.green(), color.blue()); }

}  // namespace

CPageColors::CPageColors(const std::vector<CDeviceEntry>& devices, QWidget* parent)
    : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(AddLabel(1070, kMsgList), 0, 0);
  m_list = new QListWidget(this);
  m_list->setObjectName(QString::number(kList));
  for (const std::string& text : ColorListTexts(devices, StringText(kMsgTapOff)))
    m_list->addItem(QString::fromStdString(text));
  layout->addWidget(m_list, 1, 0, 5, 1);
  const int sampleIds[2] = {kSample1, kSample2};
  const int labelIds[2][2] = {{1069, kMsgSample1}, {1071, kMsgSample2}};
  for (int i = 0; i < 2; ++i) {
    layout->addWidget(AddLabel(labelIds[i][0], labelIds[i][1]), 2 * i, 1);
    m_samples[i] = new QLabel(this);
    m_samples[i]->setObjectName(QString::number(sampleIds[i]));
    m_samples[i]->setAutoFillBackground(true);
    m_samples[i]->setMinimumSize(60, 30);
    layout->addWidget(m_samples[i], 2 * i + 1, 1);
  }
  QPushButton* choose = AddButton(kChooseButton, kMsgChoose);
  connect(choose, &QPushButton::clicked, this, &CPageColors::OnChooseButton);
  layout->addWidget(choose, 4, 1);
  layout->addWidget(AddDefaultsButton(kMsgDefaults), 5, 1, Qt::AlignBottom);
  connect(m_list, &QListWidget::currentRowChanged, this, [this] { ShowCurrentColor(); });
}

void CPageColors::Load(const COptionsValues& values) {
  m_colors = values.colors;
  m_list->setCurrentRow(0);
  ShowCurrentColor();
}

bool CPageColors::Save(COptionsValues& values) {
  values.colors = m_colors;
  return true;
}

CColor CPageColors::ShownColor() const {
  std::optional<ColorIndex> index = ColorOfListItem(m_list->currentRow());
  return index ? m_colors[*index] : CColor{};
}

void CPageColors::ShowCurrentColor() {
  for (QLabel* sample : m_samples) {
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Window, ToQColor(ShownColor()));
    sample->setPalette(palette);
  }
}

bool CPageColors::ChooseColor(CColor color) {
  std::optional<ColorIndex> index = ColorOfListItem(m_list->currentRow());
  if (!index) return false;
  if (IsColorTooNearHighlight(color, ToColor(palette().color(QPalette::Highlight)))) {
    WindowMessageBox(this, StringQText(kMsgColorTooNearHighlight),
                     StringQText(kMsgColorTooNearHighlightCaption), kMbOk | kMbIconExclamation);
    return false;
  }
  m_colors[*index] = color;
  ShowCurrentColor();
  return true;
}

void CPageColors::OnChooseButton() {
  QColor chosen = QColorDialog::getColor(ToQColor(ShownColor()), this);
  if (chosen.isValid()) ChooseColor(ToColor(chosen));
}

void CPageColors::ResetDefaults() {
  SetDefaultColors(m_colors);
  ShowCurrentColor();
}
