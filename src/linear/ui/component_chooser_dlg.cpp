#include "linear/ui/component_chooser_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"
#include "linear/linear_line_list.h"
#include "linear/linear_slots.h"
#include "linear/ui/linear_dlg.h"

namespace {

constexpr int kMsgOptions = 31046;
constexpr int kMsgBarriers = 31108;
constexpr int kMsgLengthCode = 31113;
constexpr int kMsgFeed = 2704;
constexpr int kMsgHeight = 32202;
constexpr int kMaxQuantity = 1000;
constexpr int kMaxRows = 10;
constexpr int kMaxRowsKind10 = 4;

struct RadioChoice {
  int code;
  int message;
  const char* height;  // the parameter of message 32202, "" for none
};

std::vector<RadioChoice> RadiosOf(int kind) {
  switch (kind) {
    case 4: return {{10, 31111, ""}, {5, 31112, ""}};
    case 5: return {{15, 31126, ""}, {10, 31111, ""}};
    case 6:
      return {{12, kMsgHeight, "1.20"}, {13, kMsgHeight, "1.35"}, {15, kMsgHeight, "1.50"},
              {24, kMsgHeight, "2.40"}, {27, kMsgHeight, "2.70"}, {30, kMsgHeight, "3"}};
    case 7: return {{1, 31138, ""}, {0, 31139, ""}};
    default: return {};
  }
}

}  // namespace

CComponentChooserDlg::CComponentChooserDlg(CLinearDlg& parent, int kind)
    : QDialog(&parent), m_parent(parent), m_kind(kind) {
  setObjectName(QStringLiteral("component_chooser_dlg"));
  m_layout = new QVBoxLayout(this);
}

CComponentChooserDlg::~CComponentChooserDlg() = default;

CLinearLine& CComponentChooserDlg::Line() const { return m_parent.Project().lines.Working(); }

bool CComponentChooserDlg::Prepare() {
  const CLinearLine& line = Line();
  m_range = line.Group == 3 && line.Slots[125] > 0 ? kProductQYL : line.Product;
  bool ready = m_kind >= 20 ? PrepareBoxes() : PrepareOptions();
  if (!ready) return false;
  // accept() is this dialog's own: the buttons reach it through QDialog's virtual.
  m_layout->addWidget(MakeOkCancelButtons(this));
  TranslateWindow(this);
  return true;
}

void CComponentChooserDlg::AddCheck(int slot, int message, int value) {
  auto* box = new QCheckBox(StringQText(message));
  box->setChecked(value >= 1);
  box->setObjectName(QStringLiteral("chooser_slot_%1").arg(slot));
  m_layout->addWidget(box);
  m_options.push_back({slot, message, box});
  if (slot == 20 || slot == 19 || slot == 26 || (m_kind == 2 && (slot == 23 || slot == 22)))
    connect(box, &QCheckBox::clicked, this, [this, box](bool on) {
      if (on) OnExclusiveCheck(box);
    });
}

void CComponentChooserDlg::OnExclusiveCheck(QAbstractButton* checked) {
  for (OptionRow& row : m_options)
    if (row.button != checked && row.slot != 18 && row.slot != 21) row.button->setChecked(false);
}

void CComponentChooserDlg::AddRadio(int code, const QString& text, bool checked) {
  auto* radio = new QRadioButton(text);
  radio->setChecked(checked);
  m_layout->addWidget(radio);
  m_options.push_back({code, 0, radio});
}

bool CComponentChooserDlg::PrepareOptions() {
  CLinearLine& line = Line();
  if (m_kind == 0 && line.Product == kProductQJF)
    m_parent.Config().OptionTableFor(line.Product, line.Group)[18] =
        0;  // stays cleared for this product
  const std::vector<int> choice = m_parent.Config().GetChoiceTable(1, line);
  auto has = [&choice](int item) {
    return item < static_cast<int>(choice.size()) && choice[item] != 0;
  };
  auto slot = [&line](int s) { return line.Slots[static_cast<std::size_t>(s)]; };
  int caption = kMsgOptions;
  if (m_kind <= 1) {
    if (has(20)) AddCheck(20, 31049, slot(20));
    if (has(19)) AddCheck(19, 31048, slot(19));
    if (has(26) && line.Product == kProductQJF) AddCheck(26, 31122, slot(26));
    if (has(18)) AddCheck(18, 31047, slot(18));
  } else if (m_kind == 2) {
    if (has(23)) AddCheck(23, 31049, slot(23));
    if (has(22)) AddCheck(22, 31048, slot(22));
    if (has(21)) AddCheck(21, 31047, slot(21));
  } else if (m_kind == 3) {
    caption = kMsgBarriers;
    if (has(13)) {
      m_layout->addWidget(new QLabel(StringQText(kMsgBarriers)));
      m_barriers = new QSpinBox;
      m_barriers->setRange(0, kMaxQuantity);
      m_barriers->setValue(std::max(slot(13), 0));
      m_layout->addWidget(m_barriers);
    }
  } else if (m_kind <= 7) {
    caption = m_kind == 7 ? kMsgFeed : kMsgLengthCode;
    const int code = m_kind == 7 ? (slot(4) > 0 ? 1 : 0) : Slot24Code(slot(24));
    for (const RadioChoice& radio : RadiosOf(m_kind)) {
      QString text = StringQText(radio.message);
      if (*radio.height)
        text.replace(QStringLiteral("%1"),
                     QString::fromLatin1(radio.height)
                         .replace(QLatin1Char('.'), QLatin1Char(m_parent.DecimalChar())));
      AddRadio(radio.code, text, radio.code == code);
    }
  } else {
    return false;  // kinds 8 to 19 have no caption
  }
  setWindowTitle(StringQText(caption));
  return true;
}

QAbstractButton* CComponentChooserDlg::OptionButton(int slot) const {
  for (const OptionRow& row : m_options)
    if (row.slot == slot) return row.button;
  return nullptr;
}

void CComponentChooserDlg::accept() {
  CLinearLine& line = Line();
  const std::vector<int> choice = m_parent.Config().GetChoiceTable(1, line);
  if (m_kind >= 20) {
    KeepShownQuantities();
    m_chooser->StoreBoxEntries(line.Slots);
  } else if (m_kind <= 2) {
    for (const OptionRow& row : m_options)
      line.Slots[static_cast<std::size_t>(row.slot)] = row.button->isChecked() ? 1 : 0;
    if (m_kind <= 1 && choice.size() > 26 && choice[26] != 0 && !OptionButton(26))
      line.Slots[26] = 0;
  } else if (m_kind == 3) {
    if (m_barriers) line.Slots[13] = m_barriers->value();
  } else {
    int code = -1;
    for (const OptionRow& row : m_options)
      if (row.button->isChecked()) code = row.slot;
    if (code < 0 && !RadiosOf(m_kind).empty()) code = RadiosOf(m_kind).front().code;
    if (m_kind == 7) line.Slots[4] = code == 1 ? 1 : 0;
    else if (code >= 0) line.Slots[24] = WithSlot24Code(std::max(line.Slots[24], 0), code);
  }
  QDialog::accept();
}
