#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "linear/chooser_texts.h"
#include "linear/linear_line_list.h"
#include "linear/ui/component_chooser_dlg.h"
#include "linear/ui/linear_dlg.h"

// The tap-off boxes of the component chooser: one row per box type of the shown group,
// with its rating, its protection degree (a toggle when the type has two), its type and
// the quantity.

namespace {

constexpr int kMaxQuantity = 1000;
constexpr int kMaxRows = 10;
constexpr int kMaxRowsKind10 = 4;
constexpr int kGroupKindPlain = 2;
constexpr int kGroupKindLighting = 7;
constexpr int kGroupKindSwitch = 10;
constexpr int kMsgSwitchIcc = 32428;
// The switch-disconnector boxes show their short-circuit rating in a second band, this
// many rows below the row of the box.
constexpr int kSwitchBandOffset = 5;
constexpr int kAlternativesRows = 4;

using SBoxEntry = CComponentChooser::SBoxEntry;

QString EntryText(const std::string& text) {
  return text.empty() ? QStringLiteral(" ") : QString::fromStdString(text);
}

QString RatingText(const SBoxEntry& entry, int groupKind) {
  const std::size_t v = static_cast<std::size_t>(entry.variant);
  if (groupKind == kGroupKindSwitch)
    return QString::fromStdString(ChooserSwitchTypeText(entry.type[0]));
  if (groupKind == kGroupKindLighting)
    return QString::fromStdString(ChooserPhaseText(entry.type[1]));
  return EntryText(entry.rating[v]) + (groupKind != 0 ? QStringLiteral(" A") : QString());
}

QString TypeText(const SBoxEntry& entry, int groupKind) {
  if (groupKind == kGroupKindSwitch)
    return QString::fromStdString(ChooserSwitchConnectionText(entry.type[0]));
  return EntryText(ChooserTypeText(entry.type[static_cast<std::size_t>(entry.variant)]));
}

QLabel* HeaderLabel(int message) {
  return new QLabel(QString::fromStdString(ChooserHeaderText(StringText(message))));
}

}  // namespace

bool CComponentChooserDlg::PrepareBoxes() {
  const bool apod = m_parent.Config().Apod();
  int code = 0;
  const int caption = ComponentGroupMessage(m_range, m_kind - 19, code, apod);
  m_groupKind = code;
  // A button the product lacks has a heading but no caption of its own: nothing to offer.
  if ((caption & 0xFFFF) == 0 || !m_table.Load(m_parent.Environment().folders.catalogue, apod))
    return false;
  m_chooser = std::make_unique<CComponentChooser>(m_range, m_kind, m_groupKind);
  if (!m_chooser->LoadBoxEntries(&m_table, Line().Slots)) return false;
  const int first = caption & 0xFFFF;
  const int second = (caption >> 16) & 0xFFFF;
  QString title = StringQText(first);
  if (second != 0)
    title = IsQyProduct(m_range) || m_range == kProductQFP
                ? StringQText(second)
                : StringQText(second) + QStringLiteral(": ") + title;
  setWindowTitle(title);
  m_groups = new QComboBox;
  m_groups->setObjectName(QStringLiteral("chooser_groups"));
  m_layout->addWidget(m_groups);
  m_rowHost = new QWidget;
  m_rowGrid = new QGridLayout(m_rowHost);
  m_layout->addWidget(m_rowHost);
  bool groupZero = false;
  for (const CComponentChooser::SBoxEntry& entry : m_chooser->Entries()) {
    if (entry.group == 0) {
      if (m_groups->count() == 0) groupZero = true;
      if (groupZero) break;
      continue;
    }
    if (m_groups->findData(entry.group) >= 0) continue;
    int group = entry.group;
    int label = ComponentGroupMessage(m_range, m_kind - 19, group, apod);
    if (m_groupKind != kGroupKindPlain && label != 0)
      m_groups->addItem(StringQText(label), entry.group);
  }
  m_groups->setVisible(m_groups->count() > 0);
  connect(m_groups, &QComboBox::activated, this,
          [this] { ShowGroupRows(m_groups->currentData().toInt()); });
  ShowGroupRows(groupZero || m_groups->count() == 0 ? 0 : m_groups->itemData(0).toInt());
  if (m_groups->count() == 0 && groupZero) m_groups->hide();
  return true;
}

void CComponentChooserDlg::KeepShownQuantities() {
  if (!m_chooser) return;
  auto& entries = m_chooser->Entries();
  for (std::size_t row = 0; row < m_shownEntries.size(); ++row)
    entries[static_cast<std::size_t>(m_shownEntries[row])].quantity = m_quantities[row]->value();
}

void CComponentChooserDlg::ShowGroupRows(int group) {
  KeepShownQuantities();
  while (QLayoutItem* item = m_rowGrid->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  m_shownEntries.clear();
  m_quantities.clear();
  m_ipButtons.clear();
  m_group = group;
  auto& entries = m_chooser->Entries();
  const int limit = m_groupKind == kGroupKindSwitch ? kMaxRowsKind10 : kMaxRows;
  const bool ip54Line = Line().IpDegree == 54;
  // The column headers stand above the rows and shift every row one down.
  const int first = 1;
  const CChooserHeaders headers = ChooserColumnHeaders(m_groupKind);
  if (headers.rating != 0) m_rowGrid->addWidget(HeaderLabel(headers.rating), 0, 0);
  if (headers.ip) m_rowGrid->addWidget(new QLabel(QStringLiteral("IP")), 0, 1);
  m_rowGrid->addWidget(HeaderLabel(headers.type), 0, 2);
  QString alternatives;
  for (std::size_t index = 0;
       index < entries.size() && static_cast<int>(m_shownEntries.size()) < limit; ++index) {
    SBoxEntry& entry = entries[index];
    if (group > 0 && entry.group != group) continue;
    const bool both = !entry.ip[0].empty() && !entry.ip[1].empty();
    if (!both) entry.variant = 0;
    else if (entry.quantity == 0 && ip54Line && entry.ip[1].size() > 2 &&
             entry.ip[1].substr(2) == "54")
      entry.variant = 1;
    const int row = static_cast<int>(m_shownEntries.size());
    const int gridRow = first + row;
    // The lighting boxes list their alternatives once, beside the rows, when the first
    // one names several.
    if (row == 0 && m_groupKind == kGroupKindLighting)
      alternatives = QString::fromStdString(ChooserAlternatives(entry.type[1]));
    auto* ratingLabel = new QLabel(RatingText(entry, m_groupKind));
    auto* typeLabel = new QLabel(TypeText(entry, m_groupKind));
    m_rowGrid->addWidget(ratingLabel, gridRow, 0);
    if (!alternatives.isEmpty()) ratingLabel->hide();
    QAbstractButton* ipButton = nullptr;
    if (both) {
      auto* toggle = new QPushButton(EntryText(entry.ip[static_cast<std::size_t>(entry.variant)]));
      toggle->setCheckable(true);
      toggle->setChecked(entry.variant == 1);
      ipButton = toggle;
      m_rowGrid->addWidget(toggle, gridRow, 1);
      connect(toggle, &QPushButton::toggled, this,
              [&entry, toggle, ratingLabel, typeLabel, this](bool on) {
                entry.variant = on ? 1 : 0;
                toggle->setText(EntryText(entry.ip[static_cast<std::size_t>(entry.variant)]));
                ratingLabel->setText(RatingText(entry, m_groupKind));
                typeLabel->setText(TypeText(entry, m_groupKind));
              });
    } else {
      auto* ip = new QLabel(EntryText(entry.ip[0]));
      ip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      m_rowGrid->addWidget(ip, gridRow, 1);
    }
    m_rowGrid->addWidget(typeLabel, gridRow, 2);
    if (m_groupKind == kGroupKindSwitch)
      m_rowGrid->addWidget(new QLabel(QString::fromStdString(ChooserSwitchIccText(entry.type[0]))),
                           gridRow + kSwitchBandOffset, 2);
    auto* quantity = new QSpinBox;
    quantity->setRange(0, kMaxQuantity);
    quantity->setValue(entry.quantity);
    m_rowGrid->addWidget(quantity, gridRow, 3);
    m_shownEntries.push_back(static_cast<int>(index));
    m_quantities.push_back(quantity);
    m_ipButtons.push_back(ipButton);
  }
  if (!alternatives.isEmpty()) {
    auto* list = new QLabel(alternatives);
    list->setObjectName(QStringLiteral("chooser_alternatives"));
    list->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_rowGrid->addWidget(list, first, 0, kAlternativesRows, 1);
  }
  if (m_groupKind == kGroupKindSwitch) {
    // Two bands: the boxes above, their short-circuit ratings below the band label.
    auto* band = HeaderLabel(kMsgSwitchIcc);
    band->setObjectName(QStringLiteral("chooser_switch_band"));
    m_rowGrid->addWidget(band, first + kMaxRowsKind10, 0, 1, 3);
  }
  // Rows keep their height; the space left goes below them.
  m_rowGrid->setRowStretch(m_rowGrid->rowCount(), 1);
}

QLabel* CComponentChooserDlg::ShownText(int row, int column) const {
  const int first = 1;  // the header row
  QLayoutItem* item = m_rowGrid ? m_rowGrid->itemAtPosition(first + row, column) : nullptr;
  return item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
}

QSpinBox* CComponentChooserDlg::QuantityBox(int row) const {
  return row >= 0 && row < static_cast<int>(m_quantities.size())
             ? m_quantities[static_cast<std::size_t>(row)]
             : nullptr;
}

QAbstractButton* CComponentChooserDlg::IpButton(int row) const {
  return row >= 0 && row < static_cast<int>(m_ipButtons.size())
             ? m_ipButtons[static_cast<std::size_t>(row)]
             : nullptr;
}
