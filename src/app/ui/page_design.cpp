#include "app/ui/page_design.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/options_values.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2573;
constexpr int kMsgDefaults = 2574;
constexpr int kMsgJointOverhang = 2575;
constexpr int kMsgBoxOverhang = 2576;
constexpr int kMsgPrintBlackWhite = 2577;
constexpr int kMsgShowBlackWhite = 2578;
constexpr int kMsgPrintFrame = 2579;
constexpr int kMsgBackBuffer = 2594;
constexpr int kMsgRealJoint = 2738;
constexpr int kOverhangDigits = 3;  // up to 500

struct Switch {
  int check;
  int message;
  bool COptionsDesign::*member;
};

constexpr Switch kSwitches[] = {
    {CPageDesign::kRealJoint, kMsgRealJoint, &COptionsDesign::realJoint},
    {CPageDesign::kPrintBlackWhite, kMsgPrintBlackWhite, &COptionsDesign::printBlackWhite},
    {CPageDesign::kShowBlackWhite, kMsgShowBlackWhite, &COptionsDesign::showBlackWhite},
    {CPageDesign::kPrintFrame, kMsgPrintFrame, &COptionsDesign::printFrame},
    {CPageDesign::kBackBuffer, kMsgBackBuffer, &COptionsDesign::backBuffer},
};

}  // namespace

CPageDesign::CPageDesign(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(AddLabel(1069, kMsgBoxOverhang), 0, 0);
  layout->addWidget(AddNumberEdit(kBoxOverhang, kOverhangDigits), 0, 1, Qt::AlignLeft);
  layout->addWidget(AddLabel(1070, kMsgJointOverhang), 1, 0);
  layout->addWidget(AddNumberEdit(kJointOverhang, kOverhangDigits), 1, 1, Qt::AlignLeft);
  int row = 2;
  for (const Switch& item : kSwitches) {
    auto* check = new QCheckBox(this);
    check->setObjectName(QString::number(item.check));
    SetMessageText(check, item.message);
    layout->addWidget(check, row++, 0, 1, 2);
  }
  layout->setRowStretch(row, 1);
  layout->addWidget(AddDefaultsButton(kMsgDefaults), row + 1, 1, Qt::AlignRight);
}

void CPageDesign::Load(const COptionsValues& values) { ShowDesign(values.design); }

bool CPageDesign::Save(COptionsValues& values) {
  if (!ReadNumber(Control<QLineEdit>(kBoxOverhang), kOverhangRange, values.design.boxOverhang) ||
      !ReadNumber(Control<QLineEdit>(kJointOverhang), kOverhangRange, values.design.jointOverhang))
    return false;
  for (const Switch& item : kSwitches)
    values.design.*item.member = Control<QCheckBox>(item.check)->isChecked();
  return true;
}

void CPageDesign::ShowDesign(const COptionsDesign& design) {
  Control<QLineEdit>(kBoxOverhang)->setText(QString::number(design.boxOverhang));
  Control<QLineEdit>(kJointOverhang)->setText(QString::number(design.jointOverhang));
  for (const Switch& item : kSwitches)
    Control<QCheckBox>(item.check)->setChecked(design.*item.member);
}

void CPageDesign::ResetDefaults() { ShowDesign(COptionsDesign{}); }
