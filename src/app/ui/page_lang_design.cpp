#include "app/ui/page_lang_design.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/options_values.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2630;
constexpr int kMsgDefaults = 2637;
constexpr int kMsgText = 2648;
constexpr int kMsgPackaging = 2649;
constexpr int kMsgGroup = 2694;
constexpr int kMsgLocal = 2695;
constexpr int kMsgUk = 2696;
constexpr int kMsgOption = 2697;

}  // namespace

CPageLangDesign::CPageLangDesign(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AddLabel(1069, kMsgText));
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("1070"));
  SetMessageText(group, kMsgGroup);
  auto* groupLayout = new QVBoxLayout(group);
  m_choices = new QButtonGroup(this);
  const int ids[] = {kLocal, kUk, kOption};
  const int messages[] = {kMsgLocal, kMsgUk, kMsgOption};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(group);
    radio->setObjectName(QString::number(ids[i]));
    SetMessageText(radio, messages[i]);
    m_choices->addButton(radio, i);
    groupLayout->addWidget(radio);
  }
  layout->addWidget(group);
  auto* packaging = new QCheckBox(this);
  packaging->setObjectName(QString::number(kPackaging));
  SetMessageText(packaging, kMsgPackaging);
  layout->addWidget(packaging);
  layout->addStretch(1);
  layout->addWidget(AddDefaultsButton(kMsgDefaults), 0, Qt::AlignRight);
}

void CPageLangDesign::Load(const COptionsValues& values) {
  Show(values.designLanguage, values.packaging);
}

bool CPageLangDesign::Save(COptionsValues& values) {
  values.designLanguage = std::max(0, m_choices->checkedId());
  values.packaging = Control<QCheckBox>(kPackaging)->isChecked();
  return true;
}

void CPageLangDesign::Show(int designLanguage, bool packaging) {
  if (QAbstractButton* button = m_choices->button(designLanguage)) button->setChecked(true);
  Control<QCheckBox>(kPackaging)->setChecked(packaging);
}

void CPageLangDesign::ResetDefaults() { Show(0, false); }
