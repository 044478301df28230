#include "view/ui/tap_off_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "view/ui/dialog_buttons.h"

namespace {

constexpr int kMsgMeteringNote = 32437;
constexpr int kMsgTitle = 32023;
constexpr int kMsgDistribute = 62100;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CTapOffDlg::CTapOffDlg(const CRefCoffTable& table, const std::string& productCode, QWidget* parent)
    : QDialog(parent) {
  setObjectName("328");
  m_deviceRows.fill(-1);
  m_rules.Load(table, productCode);
  BuildWidgets();
  const std::vector<int> functions = m_rules.Functions();
  for (int function : functions)
    m_functions[static_cast<std::size_t>(function - 1)]->setVisible(true);
  const int preselected = m_rules.PreselectedRow();
  if (preselected >= 0) {
    SelectFunction(m_rules.Rows()[static_cast<std::size_t>(preselected)].function);
  } else if (!functions.empty()) {
    SelectFunction(functions.front());
  }
  TranslateWindow(this);
}

void CTapOffDlg::BuildWidgets() {
  setWindowTitle(Q(StringText(kMsgTitle)));
  auto* layout = new QVBoxLayout(this);
  auto* functionGrid = new QGridLayout;
  m_functionGroup = new QButtonGroup(this);
  m_deviceGroup = new QButtonGroup(this);
  for (std::size_t i = 0; i < m_functions.size(); ++i) {
    auto* button = new QRadioButton(Q(m_rules.FunctionButtonText(static_cast<int>(i) + 1)), this);
    button->setObjectName(QString::number(kFunctionIds[i]));
    button->setVisible(false);
    m_functionGroup->addButton(button);
    connect(button, &QRadioButton::clicked, this,
            [this, i] { SelectFunction(static_cast<int>(i) + 1); });
    functionGrid->addWidget(button, static_cast<int>(i / 4), static_cast<int>(i % 4));
    m_functions[i] = button;
  }
  layout->addLayout(functionGrid);
  m_subFunctions = new QComboBox(this);
  m_subFunctions->setObjectName("1630");
  m_rows = new QComboBox(this);
  m_rows->setObjectName("1500");
  m_note = new QLabel(this);
  m_note->setObjectName("1159");
  layout->addWidget(m_subFunctions);
  layout->addWidget(m_rows);
  layout->addWidget(m_note);
  auto* deviceGrid = new QGridLayout;
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    m_devices[i] = new QRadioButton(this);
    m_devices[i]->setObjectName(QString::number(kDeviceIds[i]));
    m_deviceGroup->addButton(m_devices[i]);
    connect(m_devices[i], &QRadioButton::toggled, this, [this] {
      m_ok->setEnabled(true);
      m_distribute->setEnabled(true);
    });
    deviceGrid->addWidget(m_devices[i], static_cast<int>(i % 5), static_cast<int>(i / 5));
  }
  layout->addLayout(deviceGrid);
  m_distribute = new QCheckBox(Q(StringText(kMsgDistribute)), this);
  m_distribute->setObjectName("1677");
  m_distribute->setEnabled(false);
  layout->addWidget(m_distribute);
  QDialogButtonBox* buttons = MakeDialogButtons(this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_ok->setObjectName("1");
  m_ok->setEnabled(false);
  disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr);
  connect(buttons, &QDialogButtonBox::accepted, this, &CTapOffDlg::AcceptChoice);
  layout->addWidget(buttons);
  connect(m_subFunctions, &QComboBox::currentIndexChanged, this, &CTapOffDlg::FillRows);
  connect(m_rows, &QComboBox::currentIndexChanged, this, &CTapOffDlg::FillDevices);
}

void CTapOffDlg::SelectFunction(int function) {
  if (function < 1 || function > 8) return;
  m_function = function;
  m_functions[static_cast<std::size_t>(function - 1)]->setChecked(true);
  const bool metering = function == 7 && m_rules.Family() == 0;
  m_note->setText(metering ? Q(StringText(kMsgMeteringNote)) : QString());
  FillSubFunctions();
}

void CTapOffDlg::FillSubFunctions() {
  const QSignalBlocker blocker(m_subFunctions);
  m_subFunctions->clear();
  for (int sub : m_rules.SubFunctions(m_function))
    m_subFunctions->addItem(Q(m_rules.SubFunctionName(sub, m_function)), sub);
  const int preselected = m_rules.PreselectedRow();
  if (preselected >= 0) {
    const int sub = m_rules.Rows()[static_cast<std::size_t>(preselected)].subFunction;
    const int index = m_subFunctions->findData(sub);
    if (index >= 0) m_subFunctions->setCurrentIndex(index);
  }
  FillRows();
}

void CTapOffDlg::FillRows() {
  const QSignalBlocker blocker(m_rows);
  m_rows->clear();
  const int sub = m_subFunctions->currentData().toInt();
  const int preselected = m_rules.PreselectedRow();
  for (int row : m_rules.RowsOf(m_function, sub)) {
    m_rows->addItem(Q(m_rules.RowLabel(row)), row);
    if (row == preselected) m_rows->setCurrentIndex(m_rows->count() - 1);
  }
  FillDevices();
}

void CTapOffDlg::FillDevices() {
  const std::vector<int> rows =
      m_rows->count() > 0 ? m_rules.DeviceRows(m_rows->currentData().toInt()) : std::vector<int>{};
  const int preselected = m_rules.PreselectedRow();
  m_deviceGroup->setExclusive(false);
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    QRadioButton* button = m_devices[i];
    const bool used = i < rows.size();
    m_deviceRows[i] = used ? rows[i] : -1;
    button->setVisible(used);
    button->setChecked(used && rows[i] == preselected);
    button->setText(used ? Q(m_rules.DeviceButtonText(rows[i])) : QString());
    const bool tip = m_rules.Family() <= 1 && used &&
                     (m_function == 2 || (m_function == 7 && m_rules.Family() == 0));
    const auto& texts = used ? m_rules.Rows()[static_cast<std::size_t>(rows[i])].texts
                             : std::array<std::string, 5>{};
    button->setToolTip(tip ? Q(texts[0] + "\n" + texts[1] + "\n" + texts[3]) : QString());
  }
  m_deviceGroup->setExclusive(true);
}

void CTapOffDlg::AcceptChoice() {
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    if (!m_devices[i]->isChecked() || m_deviceRows[i] < 0) continue;
    done(m_rules.Accept(m_deviceRows[i], m_distribute->isChecked()));
    return;
  }
}
