#include "app/ui/page_user.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/options_values.h"

namespace {

constexpr int kMsgCaption = 2613;
constexpr int kMsgDefaults = 2615;
constexpr int kMsgName = 2614;
constexpr int kMsgPhone = 2688;
constexpr int kMsgDepartment = 2616;
constexpr int kMsgFax = 2689;
constexpr int kMsgEmail = 2617;

struct UserField {
  int edit;
  int label;
  int message;
  std::string COptionsUser::*member;
};

constexpr UserField kFields[] = {
    {CPageUser::kName, 1070, kMsgName, &COptionsUser::name},
    {CPageUser::kPhone, 1071, kMsgPhone, &COptionsUser::phone},
    {CPageUser::kDepartment, 1069, kMsgDepartment, &COptionsUser::department},
    {CPageUser::kFax, 1095, kMsgFax, &COptionsUser::fax},
    {CPageUser::kEmail, 1096, kMsgEmail, &COptionsUser::email},
};

}  // namespace

CPageUser::CPageUser(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  int row = 0;
  for (const UserField& field : kFields) {
    layout->addWidget(AddLabel(field.label, field.message), row, 0);
    layout->addWidget(AddEdit(field.edit), row++, 1);
  }
  layout->setRowStretch(row, 1);
  // The page has no factory values; its defaults button changes nothing.
  layout->addWidget(AddDefaultsButton(kMsgDefaults), row + 1, 1, Qt::AlignRight);
}

void CPageUser::Load(const COptionsValues& values) {
  for (const UserField& field : kFields)
    Control<QLineEdit>(field.edit)->setText(QString::fromStdString(values.user.*field.member));
}

bool CPageUser::Save(COptionsValues& values) {
  for (const UserField& field : kFields)
    values.user.*field.member = Control<QLineEdit>(field.edit)->text().toStdString();
  return true;
}
