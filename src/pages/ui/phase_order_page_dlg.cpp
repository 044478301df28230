#include "pages/ui/phase_order_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgUserOrder = 2537;
constexpr int kMsgOrderLabel = 2538;
constexpr int kMsgDisplayFlag = 2539;

}  // namespace

CPhaseOrderPageDlg::CPhaseOrderPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  BuildControls();
}

void CPhaseOrderPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_userOrder = MakeCheck(1638, kMsgUserOrder);
  m_orders = new QComboBox(this);
  m_orders->setObjectName(QStringLiteral("1637"));
  m_display = MakeCheck(1639, kMsgDisplayFlag);
  grid->addWidget(m_userOrder, 0, 0, 1, 2);
  grid->addWidget(MakeLabel(1070, kMsgOrderLabel), 1, 0);
  grid->addWidget(m_orders, 1, 1);
  grid->addWidget(m_display, 2, 0, 1, 2);
  grid->setRowStretch(3, 1);
  connect(m_userOrder, &QCheckBox::clicked, this, [this](bool checked) {
    m_rules.OnUserOrderCheck(checked);
    ShowValues();
  });
  connect(m_orders, &QComboBox::activated, this, [this](int index) {
    m_rules.OnOrderChange(index);
    ShowValues();
  });
  connect(m_display, &QCheckBox::clicked, this, [this](bool checked) {
    m_rules.OnDisplayFlagCheck(checked);
    ShowValues();
  });
}

void CPhaseOrderPageDlg::ShowValues() {
  const QSignalBlocker blockOrders(m_orders);
  m_orders->clear();
  for (const std::string& label : m_rules.GetLabels())
    m_orders->addItem(QString::fromStdString(label));
  SetComboDropHeight(m_orders, m_orders->count());
  m_orders->setCurrentIndex(m_rules.GetSelection());
  m_orders->setEnabled(m_rules.IsOrderEnabled());
  m_userOrder->setChecked(m_rules.IsUserOrder());
  m_userOrder->setEnabled(m_rules.IsUserOrderEnabled());
  m_display->setChecked(m_rules.IsDisplayFlag());
}
