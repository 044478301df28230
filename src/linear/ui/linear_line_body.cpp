#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "linear/component_chooser.h"
#include "linear/linear_line_list.h"
#include "linear/linear_slots.h"
#include "linear/ui/linear_line_editor.h"

// The body page of the line editor: the rows the product offers, the exclusive end
// checks, and the checks and storing of what the user entered.

namespace {

constexpr int kMsgBack = 31016;
constexpr int kMsgNext = 31017;

using Kind = CLinearLineEditor::RowKind;

// The rows of the body page, top-down: option, slot, kind, label, chooser kind, group.
struct RowPlan {
  int option;
  Kind kind;
  int message;
  int chooser;
  int group;
};

constexpr RowPlan kUpstream[] = {{0, Kind::Check, 2704, 7, 1},   {1, Kind::Check, 31021, 0, 1},
                                 {26, Kind::Check, 31022, 0, 1}, {2, Kind::Check, 31023, 1, 1},
                                 {3, Kind::Check, 31031, -1, 1}, {4, Kind::Check, 31103, -1, 1}};
constexpr RowPlan kRun[] = {{5, Kind::Length, 31025, -1, 0}, {6, Kind::Length, 31041, -1, 0},
                            {7, Kind::Count, 31029, -1, 0},  {8, Kind::Count, 31030, -1, 0},
                            {9, Kind::Count, 31033, -1, 0},  {10, Kind::Step, 31034, -1, 0},
                            {14, Kind::Length, 31043, -1, 0}};
constexpr RowPlan kDownstream[] = {{15, Kind::Check, 2705, -1, 2},
                                   {16, Kind::Check, 31028, 2, 2},
                                   {17, Kind::Check, 31031, -1, 2}};

QString MetreText(int centimetres, char decimal) {
  if (centimetres < 0) centimetres = 0;
  return QStringLiteral("%1%2%3")
      .arg(centimetres / 100)
      .arg(QLatin1Char(decimal))
      .arg(centimetres % 100, 2, 10, QLatin1Char('0'));
}

int FireBarrierChooser(int product) {
  if (IsQmProduct(product) || IsQwProduct(product)) return 3;
  if (product == kProductQDA) return 4;
  if (product == kProductQYA) return 5;
  if (product == kProductQFP) return 6;
  return -1;
}

}  // namespace

void CLinearLineEditor::BuildBodyPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  m_body = new QWidget;
  m_bodyGrid = new QGridLayout(m_body);
  scroll->setWidget(m_body);
  layout->addWidget(scroll);
  auto* buttons = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgBack));
  auto* next = new QPushButton(StringQText(kMsgNext) + QStringLiteral(" >> "));
  back->setObjectName(QStringLiteral("linear_body_back"));
  next->setObjectName(QStringLiteral("linear_body_next"));
  buttons->addWidget(back);
  buttons->addStretch();
  buttons->addWidget(next);
  layout->addLayout(buttons);
  m_pages->addWidget(page);
  connect(back, &QPushButton::clicked, this, &CLinearLineEditor::ShowHeaderPage);
  connect(next, &QPushButton::clicked, this, &CLinearLineEditor::BodyAccepted);
}

void CLinearLineEditor::ClearBody() {
  for (BodyRow& row : m_rows) {
    delete row.field;
    delete row.chooser;
  }
  m_rows.clear();
  while (QLayoutItem* item = m_bodyGrid->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  // A grid keeps its row count and stretches once rows were used: a new one starts the
  // page at the top again.
  delete m_bodyGrid;
  m_bodyGrid = new QGridLayout(m_body);
}

CLinearLineEditor::Entries CLinearLineEditor::BodyEntries() const {
  Entries entries;
  for (const BodyRow& row : m_rows) {
    if (auto* check = qobject_cast<QCheckBox*>(row.field))
      entries[row.slot] = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    else if (auto* edit = qobject_cast<QLineEdit*>(row.field)) entries[row.slot] = edit->text();
  }
  return entries;
}

void CLinearLineEditor::RestoreEntries(const Entries& entries,
                                       const CLinearLine::SlotArray& before) {
  const CLinearLine& line = Line();
  for (const BodyRow& row : m_rows) {
    const auto found = entries.find(row.slot);
    const int slot = row.slot == kSlot28High ? 28 : row.slot;
    if (found == entries.end() || line.Slots[slot] != before[slot]) continue;
    if (auto* check = qobject_cast<QCheckBox*>(row.field)) {
      check->setChecked(found->second == QLatin1String("1"));
      if (row.chooser) row.chooser->setEnabled(check->isChecked());
    } else if (auto* edit = qobject_cast<QLineEdit*>(row.field)) {
      edit->setText(found->second);
    }
  }
}

void CLinearLineEditor::AddRow(BodyRow row) {
  const int y = m_bodyGrid->rowCount();
  const CLinearLine& line = Line();
  std::int32_t value = row.slot == kSlot28High ? Slot28High(line.Slots[28])
                       : row.slot == 28        ? Slot28Low(line.Slots[28])
                                               : line.Slots[static_cast<std::size_t>(row.slot)];
  if (row.kind == Kind::Check) {
    auto* check = new QCheckBox(StringQText(row.message));
    check->setChecked(value > 0);
    m_bodyGrid->addWidget(check, y, 0, 1, 2);
    row.field = check;
    const int slot = row.slot;
    connect(check, &QCheckBox::clicked, this, [this, slot](bool on) { OnCheckChanged(slot, on); });
  } else {
    m_bodyGrid->addWidget(new QLabel(StringQText(row.message)), y, 0);
    auto* edit = new QLineEdit;
    if (row.kind == Kind::Count) edit->setText(QString::number(std::max(value, 0)));
    else if (row.kind == Kind::Step && m_slot24Step)
      edit->setText(MetreText(Slot24Step(value) * 10, m_decimal));
    else edit->setText(MetreText(value, m_decimal));
    m_bodyGrid->addWidget(edit, y, 1);
    row.field = edit;
  }
  row.field->setObjectName(QStringLiteral("linear_slot_%1").arg(row.slot));
  if (row.chooserKind >= 0) {
    row.chooser = new QPushButton(QStringLiteral("..."));
    row.chooser->setObjectName(QStringLiteral("linear_chooser_%1").arg(row.chooserKind));
    row.chooser->setEnabled(row.kind != Kind::Check || value > 0);
    m_bodyGrid->addWidget(row.chooser, y, 2);
    const int kind = row.chooserKind;
    connect(row.chooser, &QPushButton::clicked, this, [this, kind] { emit ChooserAsked(kind); });
  }
  m_rows.push_back(row);
}

void CLinearLineEditor::ShowBodyControls() {
  ClearBody();
  const CLinearLine& line = Line();
  const std::vector<int> options = m_config.GetChoiceTable(1, line);
  auto offered = [&options](int option) {
    return option < static_cast<int>(options.size()) && options[option] != 0;
  };
  const bool qm = IsQmProduct(line.Product);
  const bool upstreamChoosers = offered(18) || offered(19) || offered(20);
  for (const RowPlan& plan : kUpstream) {
    if (!offered(plan.option) || (plan.option == 26 && !qm) ||
        (plan.option == 0 && line.Product == kProductQJF))
      continue;
    int chooser = upstreamChoosers || (plan.option == 2 && offered(26)) ? plan.chooser : -1;
    AddRow({plan.option, plan.option, plan.kind, plan.message, chooser, plan.group});
  }
  m_slot24Step = Slot24Step(options.size() > 24 ? options[24] : 0) != 0 && !offered(10);
  for (const RowPlan& plan : kRun) {
    bool show = offered(plan.option) || (plan.option == 10 && m_slot24Step);
    if (!show) continue;
    int chooser = plan.option == 5 && offered(13) ? FireBarrierChooser(line.Product) : -1;
    if (plan.option == 6 && Slot24Code(options.size() > 24 ? options[24] : 0) != 0 &&
        line.Product != kProductQYB)
      chooser = FireBarrierChooser(line.Product) > 3 ? FireBarrierChooser(line.Product) : chooser;
    AddRow({plan.option, plan.option, plan.kind, plan.message, chooser, plan.group});
  }
  if (qm && offered(28)) {
    if (options[28] & 1) AddRow({28, 28, Kind::Check, 30056, -1, 0});
    if (options[28] & 2) AddRow({28, kSlot28High, Kind::Check, 30057, -1, 0});
  }
  for (const RowPlan& plan : kDownstream)
    if (offered(plan.option)) {
      int chooser =
          plan.option == 16 && (offered(21) || offered(22) || offered(23)) ? plan.chooser : -1;
      AddRow({plan.option, plan.option, plan.kind, plan.message, chooser, plan.group});
    }
  for (int button = 0; button < 5; ++button) {
    if (!offered(30 + button)) continue;
    int code = 0;
    int message = ComponentGroupMessage(line.Product, button + 1, code, m_config.Apod());
    auto* chooser = new QPushButton(StringQText(message & 0xFFFF) + QStringLiteral(" ..."));
    chooser->setObjectName(QStringLiteral("linear_chooser_%1").arg(20 + button));
    const int y = m_bodyGrid->rowCount();
    m_bodyGrid->addWidget(chooser, y, 0, 1, 3);
    const int kind = 20 + button;
    connect(chooser, &QPushButton::clicked, this, [this, kind] { emit ChooserAsked(kind); });
  }
  m_bodyGrid->setRowStretch(m_bodyGrid->rowCount(), 1);
  m_pages->setCurrentIndex(1);
}

QWidget* CLinearLineEditor::FieldOfSlot(int slot) const {
  for (const BodyRow& row : m_rows)
    if (row.slot == slot) return row.field;
  return nullptr;
}

void CLinearLineEditor::OnCheckChanged(int slot, bool checked) {
  int group = 0;
  for (BodyRow& row : m_rows)
    if (row.slot == slot) group = row.group;
  for (BodyRow& row : m_rows) {
    auto* check = qobject_cast<QCheckBox*>(row.field);
    if (group != 0 && row.group == group && row.slot != slot && check && checked)
      check->setChecked(false);
    if (row.chooser && check) row.chooser->setEnabled(check->isChecked());
  }
  if (group != 0) ResetGroupSlots(group, slot);
}

void CLinearLineEditor::ResetGroupSlots(int group, int slot) {
  CLinearLine& line = Line();
  const CLinearConfig::OptionTable table = m_config.LineOptionTable(line);
  auto reset = [&](int s) {
    line.Slots[static_cast<std::size_t>(s)] = table[static_cast<std::size_t>(s)] - 1;
  };
  if (group == 1) {
    for (int s : {18, 19, 20}) reset(s);
    if (line.Product == kProductQJF && slot == 1) line.Slots[18] = -1;
    if (!IsQmProduct(line.Product)) reset(26);
    else {
      auto* check = qobject_cast<QCheckBox*>(FieldOfSlot(0));
      line.Slots[4] = check && check->isChecked() ? 1 : -1;
    }
  } else {
    for (int s : {21, 22, 23}) reset(s);
  }
}

double CLinearLineEditor::FieldNumber(int slot, bool& ok) const {
  auto* edit = qobject_cast<QLineEdit*>(FieldOfSlot(slot));
  ok = edit != nullptr;
  if (!edit) return 0.0;
  QString text = edit->text().trimmed();
  text.replace(QLatin1Char(m_decimal), QLatin1Char('.'))
      .replace(QLatin1Char(','), QLatin1Char('.'));
  return text.toDouble(&ok);
}
